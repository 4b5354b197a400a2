// XErrorTrap: while alive, protocol errors of one display connection are counted instead of
// reaching the process-wide handler (whose default ends the process). Errors of other
// connections go on to the handler that was installed before. Traps nest.
#pragma once

struct _XDisplay;

class XErrorTrap {
public:
    explicit XErrorTrap(_XDisplay* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits until the server has handled every request sent so far; answers whether any of
    // them failed while this trap was alive.
    bool SyncFailed();
    int Errors() const { return errors; }

private:
    friend struct XErrorTrapChain;

    _XDisplay* display;
    void (*previous)();  // the handler installed before, stored type-erased
    XErrorTrap* outer;
    int errors = 0;
};
