// Dynamic libraries: load by file name, look up entry points, unload.
//
// Failures return nullptr and leave a text for LibraryError(), kept per calling thread, so the
// media loader can say which file or entry point is missing. Safe from any thread.
#pragma once

#include <string>

namespace sys {

using TLibHandle = void*;

// Resolves every symbol at load and keeps them local to the library. nullptr on failure.
TLibHandle LoadLibrary(const std::string& path);
// nullptr when the library has no such entry point.
void* GetProcAddress(TLibHandle library, const std::string& name);
// Does nothing for nullptr.
void FreeLibrary(TLibHandle library);
// The text of the calling thread's last failure of LoadLibrary or GetProcAddress; it names the
// file or the entry point.
std::string LibraryError();

}  // namespace sys
