#include "host/interface/ModuleLibrary.h"

#include "host/world/LibrarySymbol.h"

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

std::filesystem::path defaultModulePath() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto installed = exe.parent_path() / AEROQUIN_INSTALLED_MODULE;
        if (std::filesystem::exists(installed, error)) {
            return installed.lexically_normal();
        }
    }
#ifdef AEROQUIN_BUILD_MODULE
    const std::filesystem::path built = AEROQUIN_BUILD_MODULE;
    if (std::filesystem::exists(built, error)) {
        return built;
    }
#endif
    return {};
}

}  // namespace aeroquin::host
