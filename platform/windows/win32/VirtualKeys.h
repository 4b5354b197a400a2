// The editor's key codes for Windows virtual keys: space, the arrows, digits and letters; every
// other key has none.
#pragma once

namespace win32 {

// The editor key code of a virtual key, or -1 when the editor does not take that key.
int EditorKeyForVirtualKey(unsigned virtualKey);

}  // namespace win32
