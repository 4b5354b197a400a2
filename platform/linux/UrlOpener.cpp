#include "platform/linux/UrlOpener.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

UrlOpener::~UrlOpener() { ReapFinished(); }

void UrlOpener::ReapFinished()
{
    std::erase_if(running, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

bool UrlOpener::Open(const char* url)
{
    ReapFinished();
    if (!url || !url[0] || url[0] == '-')
        return false;
    char program[] = "xdg-open";
    char* argv[] = {program, const_cast<char*>(url), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0)
        return false;
    running.push_back(pid);
    return true;
}
