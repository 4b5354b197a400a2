// The handle of this library as its load-time entry recorded it (DllMain on Windows, the VST3
// module entry on Linux), kept for the plug-in's InitDll.
#pragma once

namespace platform {

void RecordLoadedModule(void* handle);
// Null until an entry has run.
void* LoadedModule();

}  // namespace platform
