// The plug-in library, loaded with dlopen (RTLD_NOW | RTLD_LOCAL) and unloaded with dlclose.
#pragma once

#include <filesystem>

#include "host/support/LibrarySymbol.h"

namespace aeroquin::host {

class ModuleLibrary {
  public:
    // Throws std::runtime_error with the loader's message when the library cannot be loaded.
    explicit ModuleLibrary(const std::filesystem::path& path);
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;
    ModuleLibrary(ModuleLibrary&&) = delete;
    ModuleLibrary& operator=(ModuleLibrary&&) = delete;
    ~ModuleLibrary();

    // The loader's handle: the module's instance handle.
    [[nodiscard]] void* handle() const { return handle_; }
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    // The library's own export of that name; null when none.
    void* symbol(const char* name) const;
    // Leaves the library loaded for the rest of the process: used when objects made by its code
    // may still be alive.
    void keepLoaded() { keep_ = true; }

  private:
    std::filesystem::path path_;
    void* handle_;
    bool keep_ = false;
};

}  // namespace aeroquin::host
