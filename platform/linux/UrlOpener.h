// UrlOpener: hands web addresses to the desktop's opener (xdg-open), started directly with the
// address as its one argument, never through a shell. Finished openers are reaped on the next
// call and when the object goes away; one still running then is left to the system.
#pragma once

#include <sys/types.h>

#include <vector>

class UrlOpener {
public:
    UrlOpener() = default;
    ~UrlOpener();
    UrlOpener(const UrlOpener&) = delete;
    UrlOpener& operator=(const UrlOpener&) = delete;

    // Answers whether the opener started. Empty addresses, and ones starting with '-' (which
    // the opener would read as an option), are refused.
    bool Open(const char* url);

private:
    void ReapFinished();

    std::vector<pid_t> running;
};
