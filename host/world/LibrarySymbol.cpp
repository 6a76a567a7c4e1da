#include "host/world/LibrarySymbol.h"

#include <dlfcn.h>

namespace aeroquin::host {

void* librarySymbol(void* library, const char* name) {
    if (library == nullptr || name == nullptr) {
        return nullptr;
    }
    // dlsym on a handle searches the library and its dependencies (the C library, ...); only
    // the library's own definition counts, as on the simulator's platform.
    void* address = ::dlsym(library, name);
    if (address == nullptr) {
        return nullptr;
    }
    Dl_info info{};
    void* self = nullptr;
    if (::dladdr(address, &info) != 0 && info.dli_fname != nullptr) {
        self = ::dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
        if (self != nullptr) {
            ::dlclose(self);
        }
    }
    return self == library ? address : nullptr;
}

}  // namespace aeroquin::host
