// The handle of the library this framework is linked into: recorded when the host loads the
// module, used to find the library's own resources.
#pragma once

void SetModuleInstance(void* handle);
void* ModuleInstance();
