#include "host/support/LibrarySymbol.h"

#include <dlfcn.h>
#include <elf.h>
#include <link.h>

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

bool isFunctionSymbol(void* address) {
    Dl_info info{};
    void* entry = nullptr;  // the loader hands out its ELF symbol entry
    if (::dladdr1(address, &info, &entry, RTLD_DL_SYMENT) == 0 || entry == nullptr) {
        return false;
    }
    const auto* symbol = static_cast<const ElfW(Sym)*>(entry);
    const unsigned type = ELF64_ST_TYPE(symbol->st_info);
    return type == STT_FUNC || type == STT_GNU_IFUNC;
}

}  // namespace aeroquin::host
