#include "host/interface/ModuleLibrary.h"

#include "host/support/LibrarySymbol.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>
#include <system_error>

namespace aeroquin::host {

ModuleLibrary::ModuleLibrary(const std::filesystem::path& path)
    : path_(path), handle_(::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ == nullptr) {
        const char* error = ::dlerror();
        throw std::runtime_error("cannot load the module " + path.string() + ": " +
                                 (error != nullptr ? error : "unknown error"));
    }
}

ModuleLibrary::~ModuleLibrary() {
    if (!keep_) {
        ::dlclose(handle_);
    }
}

void* ModuleLibrary::symbol(const char* name) const {
    return librarySymbol(handle_, name);
}

}  // namespace aeroquin::host
