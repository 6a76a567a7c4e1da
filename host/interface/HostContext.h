// Everything the host interface's free functions reach: the one global that an interface of
// free functions forces on the host. A run constructs one HostContext; while it exists,
// HostContext::active() returns it, also while its parts are being destroyed (the module's
// library may still call the host when it is unloaded).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "host/interface/Annotations.h"
#include "host/interface/Clock.h"
#include "host/interface/FileLayer.h"
#include "host/interface/HostLog.h"
#include "host/interface/ModuleLibrary.h"
#include "host/interface/ObjectTable.h"
#include "host/interface/Trace.h"
#include "host/world/World.h"
#include "module/simulator/HostApi.h"

namespace aeroquin::host {

// What the interface needs to know of a run; the process makes it from its command line.
struct HostSettings {
    std::filesystem::path root = ".";
    std::optional<std::filesystem::path> trace;    // none: no trace
    std::optional<UtcTime> utc;                    // pins GetSystemTime
    bool screen = true;                            // false: no graphics client, no annotations
    std::optional<std::uint64_t> failWritesAfter;  // testing: the file layer's fault switch
};

class HostContext {
  public:
    // Opens the log (<root>/host.log) and the trace; throws std::runtime_error when either
    // cannot be created.
    explicit HostContext(const HostSettings& settings);
    HostContext(const HostContext&) = delete;
    HostContext& operator=(const HostContext&) = delete;
    HostContext(HostContext&&) = delete;
    HostContext& operator=(HostContext&&) = delete;
    ~HostContext();

    // The context of the run under way; null outside a run.
    static HostContext* active() { return active_; }

    HostLog& log() { return log_; }
    Trace& trace() { return trace_; }
    [[nodiscard]] const Clock& clock() const { return clock_; }
    FileLayer& files() { return files_; }
    Annotations& annotations() { return annotations_; }
    ObjectTable& objects() { return objects_; }

    // The simulated world; the object table follows it.
    void setWorld(World world);
    World* world() { return world_ ? &*world_ : nullptr; }

    // The plug-in library and the module objects it registered: loaded, registered and
    // unloaded by the process (process/ModuleLoading.h); at the latest the context's end
    // deletes the objects, then the library.
    std::optional<ModuleLibrary>& library() { return library_; }
    // Takes ownership of a module object registered by the library's InitModule.
    void registerModule(oapi::Module* module);
    std::vector<std::unique_ptr<oapi::Module>>& modules() { return modules_; }

    // The frame under way: 0 while the simulation starts or ends.
    [[nodiscard]] std::uint64_t frame() const { return frame_; }
    void setFrame(std::uint64_t frame);

  private:
    // Publishes the context from before the first part is built until after the last one is
    // gone: the first member.
    class Activation {
      public:
        explicit Activation(HostContext* context);
        Activation(const Activation&) = delete;
        Activation& operator=(const Activation&) = delete;
        Activation(Activation&&) = delete;
        Activation& operator=(Activation&&) = delete;
        ~Activation();
    };

    static inline HostContext* active_ = nullptr;

    Activation activation_;
    HostLog log_;
    Trace trace_;
    Clock clock_;
    FileLayer files_;
    Annotations annotations_;
    std::optional<World> world_;
    ObjectTable objects_;
    // Declared after everything the module may call while it is deleted or unloaded.
    std::optional<ModuleLibrary> library_;
    std::vector<std::unique_ptr<oapi::Module>> modules_;
    std::uint64_t frame_ = 0;
};

}  // namespace aeroquin::host
