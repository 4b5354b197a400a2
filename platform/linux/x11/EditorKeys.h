// The editor's key codes for X keysyms: space 0, arrows up/down/left/right 1-4, digits 6-15,
// letters 16-41 (either case); -1 for every other key.
#pragma once

int EditorKeyCode(unsigned long keysym);
