#include "host/process/ModuleLoading.h"

#include <filesystem>
#include <stdexcept>
#include <string>

#include "host/process/ExceptionText.h"
#include "host/process/RunReport.h"

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
        library = &host.loadModule(path);
    } catch (const std::runtime_error& e) {
        reportFailure(&host, e.what());
        return ExitCode::badInput;
    }
    const auto initModule = entryPoint<InitModuleEntry>(*library, "InitModule");
    const auto moduleDate = entryPoint<ModuleDateEntry>(*library, "ModuleDate");
    const auto moduleVersion = entryPoint<ModuleVersionEntry>(*library, "GetModuleVersion");
    if (initModule == nullptr) {
        reportFailure(&host, path.string() + " does not export InitModule");
        host.unloadModule();
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
        host.unloadModule();
        return ExitCode::moduleException;
    }
    if (host.modules().empty()) {
        host.log().host("InitModule registered no module object");
    }
    return std::nullopt;
}

}  // namespace aeroquin::host
