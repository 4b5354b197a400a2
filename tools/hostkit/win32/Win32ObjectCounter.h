// Win32ObjectCounter: counts the GDI objects and windows a loaded library has made and not yet
// destroyed. While an object of this class lives, the library's imports of the GDI creation
// functions and of CreateWindowEx point at recording functions; Live* answer how many of the
// recorded handles are still valid. Unlike the system's per-process counts (which Wine does not
// keep), this sees a leak of the library alone. One object at a time.
#pragma once

#include <vector>

namespace platform {

class Win32ObjectCounter {
public:
    // Redirects the creation imports of the module (a handle as LoadLibrary answers it).
    explicit Win32ObjectCounter(const void* module);
    // Puts the original imports back and forgets the records.
    ~Win32ObjectCounter();
    Win32ObjectCounter(const Win32ObjectCounter&) = delete;
    Win32ObjectCounter& operator=(const Win32ObjectCounter&) = delete;

    // How many import slots now record; 0 when the module imports none of the functions.
    int RedirectedImports() const { return static_cast<int>(slots.size()); }
    // Objects made since construction that still exist.
    long LiveGdiObjects() const;
    long LiveWindows() const;
    // Objects made since construction, destroyed or not.
    long MadeGdiObjects() const;
    long MadeWindows() const;

    // The system's own counts for this process (GetGuiResources); Wine answers 0.
    static long ProcessGdiObjects();
    static long ProcessUserObjects();

private:
    struct Slot {
        void** address;
        void* original;
    };
    std::vector<Slot> slots;
    bool owner = false;  // this object made the records (another one may be alive)
};

}  // namespace platform
