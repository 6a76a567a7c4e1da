// The simulated objects as the module sees them: opaque handles (addresses of the world's Body
// and Vessel objects, which never move) and one VESSEL interface per vessel, owned here. Every
// handle the module passes back is checked against the table before it is followed. The world is
// set once per run and its objects live to its end. A deleted vessel stays in the world: its
// handle is then no vessel of the table, and its VESSEL interface stays too, so that a module
// that kept it gets neutral answers; until, as in the simulator, a vessel created later is given
// the freed handle, which from then on names the newcomer.
// Attachment points and docking ports are the addresses of the table's own point records.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/interface/StateRecords.h"
#include "host/world/World.h"
#include "module/simulator/HostApi.h"

namespace aeroquin::host {

class ObjectTable {
  public:
    // Empty: no body, no vessel.
    ObjectTable() = default;
    // `world` must outlive the table.
    explicit ObjectTable(World& world);
    ObjectTable(ObjectTable&&) noexcept = default;
    ObjectTable& operator=(ObjectTable&&) noexcept = default;
    ObjectTable(const ObjectTable&) = delete;
    ObjectTable& operator=(const ObjectTable&) = delete;
    ~ObjectTable() = default;

    // Null when the handle is no vessel (no body) of the world, or a deleted vessel's.
    Vessel* vessel(OBJHANDLE handle) const;
    const Body* body(OBJHANDLE handle) const;
    VESSEL* interfaceOf(OBJHANDLE handle) const;
    [[nodiscard]] VESSEL* interfaceOf(const Vessel& vessel) const;
    // The class name in a buffer of the host's that the module may read.
    char* className(OBJHANDLE handle) const;
    // The state-record fields the world does not model, of the vessel behind `handle` (which
    // must be one).
    UnmodelledState& unmodelled(OBJHANDLE handle);
    // The body's atmosphere constants as the simulator reports them (p0, rho0, R, gamma, C,
    // altlimit, radlimit; the rest 0); null when the handle is no body with an atmosphere.
    // Stable while the table lives.
    const ATMCONST* atmConstants(OBJHANDLE handle) const;

    // The first vessel of that name, ASCII letter case ignored as in the simulator; null when
    // none.
    [[nodiscard]] OBJHANDLE findVessel(std::string_view name) const;
    static OBJHANDLE handleOf(const Body* body);

    // The vessel's attachment points by which it hangs on a parent (`toParent`) or holds a
    // child: how many, and the i-th (null beyond them).
    [[nodiscard]] DWORD attachmentCount(const Vessel& vessel, bool toParent) const;
    [[nodiscard]] ATTACHMENTHANDLE attachmentHandle(const Vessel& vessel, bool toParent,
                                                    DWORD i) const;
    // Whether the handle is an attachment point of a vessel of the simulation.
    [[nodiscard]] bool isAttachment(ATTACHMENTHANDLE handle) const;
    // The vessel attached at that point (which must be one); null when none.
    [[nodiscard]] OBJHANDLE attachedAt(ATTACHMENTHANDLE handle) const;
    // The vessel's docking ports: how many, the i-th (null beyond them), the vessel docked at one
    // (null when none, or when the handle is no port of a vessel of the simulation).
    [[nodiscard]] UINT dockCount(const Vessel& vessel) const;
    [[nodiscard]] DOCKHANDLE dockHandle(const Vessel& vessel, UINT i) const;
    [[nodiscard]] OBJHANDLE dockedAt(DOCKHANDLE handle) const;

    // The handle that names `vessel`; null when it is none of the table's.
    [[nodiscard]] OBJHANDLE handleOf(const Vessel* vessel) const;
    // The world deletes `vessel` now: its handle is freed for the next vessel created.
    void vesselDeleted(const Vessel& vessel);
    // The world has created `vessel`: it takes the handle freed last, if there is one.
    void vesselCreated(const Vessel& vessel);

  private:
    struct Entry {
        OBJHANDLE handle = nullptr;  // the vessel's address, or the one it was given
        Vessel* vessel = nullptr;
        std::unique_ptr<VESSEL> api;
        std::unique_ptr<std::string> className;  // stable address for GetClassNameA
        UnmodelledState unmodelled;
    };

    // One side of an attachment or of a docking (link->docked).
    struct Point {
        const Vessel* owner = nullptr;
        bool toParent = false;
        const World::Attachment* link = nullptr;
    };

    const Entry* entry(OBJHANDLE handle) const;
    Entry* entryOf(const Vessel& vessel);
    const Point* point(void* handle, bool docked) const;

    std::vector<Entry> vessels_;
    std::vector<Point> points_;  // never grows after construction: addresses are handles
    std::vector<OBJHANDLE> freedHandles_;
    const Body* body_ = nullptr;
    std::unique_ptr<ATMCONST> atmConstants_;  // stable address; null without atmosphere
};

}  // namespace aeroquin::host
