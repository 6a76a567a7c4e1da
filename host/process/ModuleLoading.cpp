#include "host/process/ModuleLoading.h"

#include <filesystem>
#include <stdexcept>
#include <string>

#include "host/process/RunReport.h"
#include "host/support/ExceptionText.h"

namespace aeroquin::host {

namespace {

using InitModuleEntry = void (*)(HINSTANCE);
using ModuleDateEntry = const char* (*)();
using ModuleVersionEntry = int (*)();

template <typename Entry>
Entry entryPoint(const ModuleLibrary& library, const char* name) {
    // The loader gives functions as object addresses.
    return reinterpret_cast<Entry>(library.symbol(name));  // NOLINT
}

}  // namespace

std::optional<ExitCode> loadModule(HostContext& host, const HostOptions& options) {
    const std::filesystem::path path = options.module.value_or(defaultModulePath());
    if (path.empty()) {
        reportFailure(&host,
                      "no Aeroquin module was found beside the host; name one with --module FILE");
        return ExitCode::badInput;
    }
    host.log().host("loading the module " + path.string());
    ModuleLibrary* library = nullptr;
    try {
        library = &host.library().emplace(path);
    } catch (const std::runtime_error& e) {
        reportFailure(&host, e.what());
        return ExitCode::badInput;
    }
    const auto initModule = entryPoint<InitModuleEntry>(*library, "InitModule");
    const auto moduleDate = entryPoint<ModuleDateEntry>(*library, "ModuleDate");
    const auto moduleVersion = entryPoint<ModuleVersionEntry>(*library, "GetModuleVersion");
    if (initModule == nullptr) {
        reportFailure(&host, path.string() + " does not export InitModule");
        unloadModule(host);
        return ExitCode::badInput;
    }
    try {
        if (moduleDate != nullptr) {
            const char* date = moduleDate();
            host.log().host(std::string("ModuleDate: ") + (date == nullptr ? "(null)" : date));
        } else {
            host.log().host("ModuleDate: not exported");
        }
        if (moduleVersion != nullptr) {
            host.log().host("GetModuleVersion: " + std::to_string(moduleVersion()));
        } else {
            host.log().host("GetModuleVersion: not exported");
        }
        initModule(library->handle());
    } catch (...) {
        reportFailure(&host, "the module's entry points threw " + describeCurrentException());
        // No simulation has started: the objects registered so far can go.
        unloadModule(host);
        return ExitCode::moduleException;
    }
    if (host.modules().empty()) {
        host.log().host("InitModule registered no module object");
    }
    return std::nullopt;
}

void unloadModule(HostContext& host) {
    using ExitEntry = void (*)(HINSTANCE);
    ExitEntry exit = nullptr;
    auto& library = host.library();
    if (library) {
        for (const char* name : {"ExitModule", "opcDLLExit"}) {
            if (exit == nullptr) {
                exit = entryPoint<ExitEntry>(*library, name);
            }
        }
    }
    auto& modules = host.modules();
    if (exit != nullptr) {
        // The simulator never deletes a registered object; a library with an exit entry point
        // may delete its own there, so the host must not.
        for (auto& module : modules) {
            static_cast<void>(module.release());
        }
        try {
            exit(library->handle());
        } catch (...) {
            host.log().host("the library's exit entry point threw " + describeCurrentException());
        }
    }
    // Each object goes before the code that defines it.
    modules.clear();
    library.reset();
}

void abandonModule(HostContext& host) {
    for (auto& module : host.modules()) {
        // Deliberately never deleted: its destructor would run the failing code again.
        static_cast<void>(module.release());
    }
    host.modules().clear();
    if (host.library()) {
        host.library()->keepLoaded();
    }
    host.library().reset();
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
    std::filesystem::path built = AEROQUIN_BUILD_MODULE;
    if (std::filesystem::exists(built, error)) {
        return built;
    }
#endif
    return {};
}

}  // namespace aeroquin::host
