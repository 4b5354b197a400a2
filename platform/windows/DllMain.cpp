// The library's entry point: Windows calls it when the plug-in DLL is loaded into a process.
#include "platform/LoadedModule.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        platform::RecordLoadedModule(instance);
    return TRUE;
}
