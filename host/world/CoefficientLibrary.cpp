#include "host/world/CoefficientLibrary.h"

#include <dlfcn.h>

#include "host/support/HostFileError.h"
#include "host/support/LibrarySymbol.h"

namespace aeroquin::host {

CoefficientLibrary::CoefficientLibrary(const std::filesystem::path& path, std::string name)
    : name_(std::move(name)), handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ == nullptr) {
        const char* error = dlerror();
        throw HostFileError(
            name_, 0,
            std::string("cannot be loaded: ") + (error != nullptr ? error : "unknown error"));
    }
}

CoefficientLibrary::~CoefficientLibrary() {
    dlclose(handle_);
}

AirfoilCallback CoefficientLibrary::function(const std::string& symbol) const {
    void* address = librarySymbol(handle_, symbol.c_str());
    if (address == nullptr || !isFunctionSymbol(address)) {
        return nullptr;
    }
    // The loader hands out functions as object addresses.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
    return reinterpret_cast<AirfoilCallback>(address);
}

bool CoefficientLibrary::defines(const std::string& symbol) const {
    return librarySymbol(handle_, symbol.c_str()) != nullptr;
}

}  // namespace aeroquin::host
