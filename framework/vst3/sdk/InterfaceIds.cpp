// Interface ids the SDK headers declare but none of its sources define, and the editor view's
// private snapshot face. Compiled into the SDK library, so the plug-in and the hosts of the tools
// share one definition.
#include "framework/vst3/IEditorSnapshot.h"
#include "pluginterfaces/gui/iplugview.h"

namespace Steinberg {
DEF_CLASS_IID(IPlugView)
DEF_CLASS_IID(IPlugFrame)
#if SMTG_OS_LINUX
namespace Linux {
DEF_CLASS_IID(IEventHandler)
DEF_CLASS_IID(ITimerHandler)
DEF_CLASS_IID(IRunLoop)
}  // namespace Linux
#endif
}  // namespace Steinberg

namespace Vibrascend {
DEF_CLASS_IID(IEditorSnapshot)
}  // namespace Vibrascend
