// Host automation arriving through process() on an audio thread while the editor's thread drags
// a knob and draws frames: the plug-in lock keeps values and dirty flags consistent.
#include "EditorFixture.h"

#include "ParameterChanges.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST_F(Editor, ThreadHostAutomationWhileTheEditorDraws)
{
    ASSERT_EQ(plug->initialize(nullptr), kResultOk);
    ProcessSetup setup{kRealtime, kSample32, 64, 44100.0};
    ASSERT_EQ(plug->setupProcessing(setup), kResultOk);
    ProbeControl* knob = Probe(0, {100, 100, 150, 200});

    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> in(64, 0.25f), out(64);
        vibrascend::host::ParameterChanges changes;
        for (int i = 0; !stop.load(); ++i) {
            changes.Clear();
            changes.Add(0, (i % 100) / 100.0);
            ProcessStereo(*plug, in.data(), out.data(), 64, &changes);
        }
    });
    for (int frame = 0; frame < 300; ++frame) {
        graphics->OnMouseDown(120, 150, Left());
        graphics->OnMouseDrag(120, 150 - frame % 7, Left());
        graphics->OnMouseUp(120, 150, Left());
        graphics->Tick();
    }
    stop = true;
    audio.join();

    const double v = knob->Value();
    EXPECT_GE(v, 0.0);
    EXPECT_LE(v, 1.0);
    const size_t begins = std::count_if(handler.Edits().begin(), handler.Edits().end(), [](const auto& e) {
        return e.kind == vibrascend::host::EditEvent::Kind::Begin;
    });
    const size_t ends = std::count_if(handler.Edits().begin(), handler.Edits().end(),
                                      [](const auto& e) { return e.kind == vibrascend::host::EditEvent::Kind::End; });
    EXPECT_EQ(begins, 300u);
    EXPECT_EQ(ends, 300u);
    plug->terminate();
}
