#include "host/interface/HostContext.h"

#include "host/process/ExceptionText.h"

namespace aeroquin::host {

namespace {

Trace openTrace(const HostOptions& options) {
    return options.trace ? Trace(*options.trace) : Trace();
}

}  // namespace

HostContext::Activation::Activation(HostContext* context) {
    active_ = context;
}

HostContext::Activation::~Activation() {
    active_ = nullptr;
}

HostContext::HostContext(const HostOptions& options)
    : activation_(this),
      log_(options.root / "host.log"),
      trace_(openTrace(options)),
      clock_(options.utc),
      files_(options.root, log_, options.failWritesAfter),
      annotations_(log_, options.display != DisplayMode::none) {}

HostContext::~HostContext() {
    unloadModule();
    trace_.flush();
}

void HostContext::setWorld(World world) {
    objects_ = ObjectTable();
    world_.emplace(std::move(world));
    objects_ = ObjectTable(*world_);
}

ModuleLibrary& HostContext::loadModule(const std::filesystem::path& path) {
    return library_.emplace(path);
}

void HostContext::registerModule(oapi::Module* module) {
    if (module == nullptr) {
        log_.host("oapiRegisterModule: null module ignored");
        return;
    }
    modules_.emplace_back(module);
}

void HostContext::unloadModule() {
    using ExitEntry = void (*)(HINSTANCE);
    ExitEntry exit = nullptr;
    if (library_) {
        for (const char* name : {"ExitModule", "opcDLLExit"}) {
            if (exit == nullptr) {
                // The loader gives functions as object addresses.
                exit = reinterpret_cast<ExitEntry>(library_->symbol(name));  // NOLINT
            }
        }
    }
    if (exit != nullptr) {
        // The simulator never deletes a registered object; a library with an exit entry point
        // may delete its own there, so the host must not.
        for (auto& module : modules_) {
            static_cast<void>(module.release());
        }
        try {
            exit(library_->handle());
        } catch (...) {
            log_.host("the library's exit entry point threw " + describeCurrentException());
        }
    }
    // Each object goes before the code that defines it.
    modules_.clear();
    library_.reset();
}

void HostContext::abandonModule() {
    for (auto& module : modules_) {
        // Deliberately never deleted: its destructor would run the failing code again.
        static_cast<void>(module.release());
    }
    modules_.clear();
    if (library_) {
        library_->keepLoaded();
    }
    library_.reset();
}

void HostContext::setFrame(std::uint64_t frame) {
    frame_ = frame;
    status_.setFrame(frame);
}

}  // namespace aeroquin::host
