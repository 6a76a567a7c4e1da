// A user's library of airfoil coefficient functions, loaded with dlopen (RTLD_NOW | RTLD_LOCAL)
// and unloaded when the last airfoil that uses it is gone.
#pragma once

#include <filesystem>
#include <string>

#include "host/world/Airfoil.h"

namespace aeroquin::host {

class CoefficientLibrary {
  public:
    // Throws HostFileError "<name>: cannot be loaded: <the loader's message>".
    CoefficientLibrary(const std::filesystem::path& path, std::string name);
    CoefficientLibrary(const CoefficientLibrary&) = delete;
    CoefficientLibrary& operator=(const CoefficientLibrary&) = delete;
    CoefficientLibrary(CoefficientLibrary&&) = delete;
    CoefficientLibrary& operator=(CoefficientLibrary&&) = delete;
    ~CoefficientLibrary();

    // The library's own C-linkage export `symbol`, taken to have the simulator's coefficient
    // callback signature; null when the library does not define it, or defines it as data.
    [[nodiscard]] AirfoilCallback function(const std::string& symbol) const;
    // Whether the library defines `symbol` at all, function or data.
    [[nodiscard]] bool defines(const std::string& symbol) const;
    [[nodiscard]] const std::string& name() const { return name_; }

  private:
    std::string name_;
    void* handle_;
};

}  // namespace aeroquin::host
