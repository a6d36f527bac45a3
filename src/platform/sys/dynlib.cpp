#include "platform/sys/dynlib.h"

#include <dlfcn.h>

namespace sys {

namespace {

thread_local std::string tLastError;

// The loader's text usually names the file already; make sure it always does.
void Fail(const std::string& subject, const char* text) {
    std::string message = text ? text : "unknown error";
    if (message.find(subject) == std::string::npos) message = subject + ": " + message;
    tLastError = message;
}

}  // namespace

TLibHandle LoadLibrary(const std::string& path) {
    if (path.empty()) {
        // dlopen would hand back the program itself for an empty name.
        tLastError = "LoadLibrary: empty library name";
        return nullptr;
    }
    dlerror();
    TLibHandle library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) Fail(path, dlerror());
    return library;
}

void* GetProcAddress(TLibHandle library, const std::string& name) {
    if (!library) {
        tLastError = name + ": no library loaded";
        return nullptr;
    }
    dlerror();
    void* address = dlsym(library, name.c_str());
    if (!address) Fail(name, dlerror());
    return address;
}

void FreeLibrary(TLibHandle library) {
    if (library) dlclose(library);
}

std::string LibraryError() {
    return tLastError;
}

}  // namespace sys
