// What a command-line program does when its user stops it: SIGINT, SIGTERM and SIGHUP on POSIX
// systems; Ctrl-C, Ctrl-Break and closing the console on Windows. The partial files it still
// holds (Files.h) are removed, one line says what was stopped, and the program ends with the
// status that stop gives a process (on POSIX the signal's own default action).
#pragma once

#include <string>

namespace platform {

// Takes over the stop signals for the rest of the process (a hang-up that the program was started
// to ignore, as by nohup, stays ignored). Also makes a write to a pipe whose reader has gone fail
// with an error the program reports, instead of ending it silently.
void CatchStopSignals();

// The line said on a stop: head + the signal's name + tail (no line while head is empty).
void SetStopNotice(const std::string& head, const std::string& tail);

// While an object of this class lives, a stop waits: it takes effect when the last one ends, so
// that a step and the notice that describes its outcome change together.
class StopSignalsHeld {
public:
    StopSignalsHeld();
    ~StopSignalsHeld();
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;
};

}  // namespace platform
