// The host interface's vessels and bodies. Handles are checked against the world before they
// are followed; a foreign handle gets a neutral answer and a host: log line.
#include <cstring>
#include <string>
#include <string_view>

#include "host/interface/HostContext.h"
#include "host/interface/SimulatorVectors.h"
#include "host/interface/StateRecords.h"
#include "host/world/AirData.h"
#include "module/simulator/HostApi.h"

using aeroquin::host::airAt;
using aeroquin::host::applyStatus;
using aeroquin::host::applyStatusEx;
using aeroquin::host::Body;
using aeroquin::host::fromSimulator;
using aeroquin::host::HostContext;
using aeroquin::host::ObjectTable;
using aeroquin::host::readStatus;
using aeroquin::host::readStatusEx;
using aeroquin::host::toSimulator;
using aeroquin::host::TraceResult;
using aeroquin::host::Vessel;

namespace {

// The simulated vessel behind a VESSEL's handle; null (after a host: line) when there is none.
Vessel* vesselOf(HostContext& host, OBJHANDLE handle, const char* operation) {
    Vessel* vessel = host.objects().vessel(handle);
    if (vessel == nullptr) {
        host.log().host(std::string(operation) + ": the VESSEL's handle is not a vessel of the " +
                        "simulation");
    }
    return vessel;
}

const Body* bodyOf(HostContext& host, OBJHANDLE handle, const char* operation) {
    const Body* body = host.objects().body(handle);
    if (body == nullptr) {
        host.log().host(std::string(operation) + ": the handle is not a body of the simulation");
    }
    return body;
}

// Every version of the extended state record begins with its version word; 0 for no record.
DWORD versionOf(const void* status) {
    return status == nullptr ? 0 : static_cast<const VESSELSTATUS2*>(status)->version;
}

// The extended state record is served in its version 2 only; anything else is logged and left.
bool isVersionTwo(HostContext& host, const void* status, DWORD version, const char* operation,
                  const char* done) {
    if (status != nullptr && version == 2) {
        return true;
    }
    host.log().host(std::string(operation) +
                    (status == nullptr ? ": null record; nothing "
                                       : ": record version " + std::to_string(version) +
                                             " is not supported (only 2); nothing ") +
                    done);
    return false;
}

}  // namespace

OBJHANDLE oapiGetVesselByName(char* name) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return nullptr;
    }
    OBJHANDLE vessel = name == nullptr ? nullptr : host->objects().findVessel(name);
    if (host->trace().on()) {
        host->trace().line("oapiGetVesselByName", name, TraceResult{}, vessel);
    }
    return vessel;
}

VESSEL* oapiGetVesselInterface(OBJHANDLE hVessel) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return nullptr;
    }
    VESSEL* vessel = host->objects().interfaceOf(hVessel);
    if (host->trace().on()) {
        host->trace().line("oapiGetVesselInterface", hVessel, TraceResult{},
                           static_cast<void*>(vessel));
    }
    if (vessel == nullptr && hVessel != nullptr) {
        host->log().host("oapiGetVesselInterface: the handle is not a vessel of the simulation");
    }
    return vessel;
}

bool oapiIsVessel(OBJHANDLE hVessel) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return false;
    }
    // Asking is the point: no host: line for a handle that is no vessel.
    const bool isVessel = host->objects().vessel(hVessel) != nullptr;
    if (host->trace().on()) {
        host->trace().line("oapiIsVessel", hVessel, TraceResult{}, isVessel);
    }
    return isVessel;
}

void oapiGetObjectName(OBJHANDLE hObj, char* name, int n) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    const std::string* objectName = nullptr;
    if (const Vessel* vessel = host->objects().vessel(hObj)) {
        objectName = &vessel->name();
    } else if (const Body* body = host->objects().body(hObj)) {
        objectName = &body->name();
    }
    std::string_view written;
    if (name == nullptr || n <= 0) {
        host->log().host(
            std::string("oapiGetObjectName: ") +
            (name == nullptr ? "null buffer" : "a buffer of " + std::to_string(n) + " characters") +
            "; nothing written");
    } else {
        if (objectName == nullptr) {
            host->log().host(
                "oapiGetObjectName: the handle is no object of the simulation; answered an empty "
                "name");
        }
        const std::string_view full =
            objectName == nullptr ? std::string_view{} : std::string_view(*objectName);
        const auto size = static_cast<std::size_t>(n);
        // The simulator's strncpy fills the rest of the buffer with NULs, and leaves a name that
        // does not fit without one: here it is cut to n - 1 characters and terminated.
        written = full.substr(0, size - 1);
        std::memcpy(name, written.data(), written.size());
        std::memset(name + written.size(), 0, size - written.size());
        if (full.size() >= size) {
            host->log().host("oapiGetObjectName: the name " + std::string(full) +
                             " does not fit in " + std::to_string(n) + " characters; cut to " +
                             std::string(written) +
                             " (the simulator would leave it without its terminating NUL)");
        }
    }
    if (host->trace().on()) {
        host->trace().line("oapiGetObjectName", hObj, n, TraceResult{}, written);
    }
}

double oapiGetSize(OBJHANDLE hObj) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return 0.0;
    }
    double size = 0.0;
    if (const Body* body = host->objects().body(hObj)) {
        size = body->meanRadius();
    } else if (host->objects().vessel(hObj) != nullptr) {
        host->log().host("oapiGetSize: vessels have no size in this host; answered 0");
    } else {
        host->log().host("oapiGetSize: the handle is no object of the simulation; answered 0");
    }
    if (host->trace().on()) {
        host->trace().line("oapiGetSize", hObj, TraceResult{}, size);
    }
    return size;
}

double oapiGetPlanetPeriod(OBJHANDLE hPlanet) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return 0.0;
    }
    const Body* body = bodyOf(*host, hPlanet, "oapiGetPlanetPeriod");
    const double period = body == nullptr ? 0.0 : body->rotationPeriod();
    if (host->trace().on()) {
        host->trace().line("oapiGetPlanetPeriod", hPlanet, TraceResult{}, period);
    }
    return period;
}

const ATMCONST* oapiGetPlanetAtmConstants(OBJHANDLE hPlanet) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return nullptr;
    }
    const Body* body = bodyOf(*host, hPlanet, "oapiGetPlanetAtmConstants");
    const ATMCONST* constants = body == nullptr ? nullptr : host->objects().atmConstants(hPlanet);
    if (host->trace().on()) {
        host->trace().line("oapiGetPlanetAtmConstants", hPlanet, TraceResult{}, constants);
    }
    return constants;
}

// VESSEL: the module's view of one simulated vessel.

VESSEL::VESSEL(OBJHANDLE hVessel, int fmodel) : hVessel_(hVessel), flightModel_(fmodel) {}

VESSEL::~VESSEL() = default;

// The SDK declares both handle getters with a const return type.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
// NOLINTNEXTLINE(readability-const-return-type): the SDK's signature
const OBJHANDLE VESSEL::GetHandle() const {
    return hVessel_;
}

char* VESSEL::GetClassNameA() const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return nullptr;
    }
    char* name = host->objects().className(hVessel_);
    if (host->trace().on()) {
        host->trace().line("VESSEL::GetClassNameA", TraceResult{}, name);
    }
    if (name == nullptr) {
        host->log().host(
            "VESSEL::GetClassNameA: the VESSEL's handle is not a vessel of the "
            "simulation");
    }
    return name;
}

// NOLINTNEXTLINE(readability-const-return-type): the SDK's signature
const OBJHANDLE VESSEL::GetSurfaceRef() const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return nullptr;
    }
    const Vessel* vessel = vesselOf(*host, hVessel_, "VESSEL::GetSurfaceRef");
    OBJHANDLE body = vessel == nullptr ? nullptr : ObjectTable::handleOf(vessel->state().body);
    if (host->trace().on()) {
        host->trace().line("VESSEL::GetSurfaceRef", TraceResult{}, body);
    }
    return body;
}
#pragma GCC diagnostic pop

void VESSEL::GetStatus(VESSELSTATUS& status) const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    if (host->trace().on()) {
        host->trace().line("VESSEL::GetStatus");
    }
    if (const Vessel* vessel = vesselOf(*host, hVessel_, "VESSEL::GetStatus")) {
        readStatus(*vessel, host->objects().unmodelled(hVessel_), status);
    }
}

void VESSEL::GetStatusEx(void* status) const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    const DWORD version = versionOf(status);
    if (host->trace().on()) {
        host->trace().line("VESSEL::GetStatusEx", version);
    }
    const Vessel* vessel = vesselOf(*host, hVessel_, "VESSEL::GetStatusEx");
    if (vessel == nullptr) {
        return;
    }
    if (!isVersionTwo(*host, status, version, "VESSEL::GetStatusEx", "filled")) {
        return;
    }
    readStatusEx(*vessel, host->objects().unmodelled(hVessel_),
                 *static_cast<VESSELSTATUS2*>(status));
}

void VESSEL::DefSetState(const VESSELSTATUS* status) const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    if (host->trace().on()) {
        host->trace().line("VESSEL::DefSetState");
    }
    Vessel* vessel = vesselOf(*host, hVessel_, "VESSEL::DefSetState");
    if (vessel == nullptr) {
        return;
    }
    if (status == nullptr) {
        host->log().host("VESSEL::DefSetState: null record; nothing applied");
        return;
    }
    applyStatus(*vessel, host->objects().unmodelled(hVessel_), *status);
}

void VESSEL::DefSetStateEx(const void* status) const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    const DWORD version = versionOf(status);
    if (host->trace().on()) {
        host->trace().line("VESSEL::DefSetStateEx", version);
    }
    Vessel* vessel = vesselOf(*host, hVessel_, "VESSEL::DefSetStateEx");
    if (vessel == nullptr) {
        return;
    }
    if (!isVersionTwo(*host, status, version, "VESSEL::DefSetStateEx", "applied")) {
        return;
    }
    applyStatusEx(*vessel, host->objects().unmodelled(hVessel_),
                  *static_cast<const VESSELSTATUS2*>(status));
}

OBJHANDLE VESSEL::GetEquPos(double& longitude, double& latitude, double& radius) const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return nullptr;
    }
    OBJHANDLE body = nullptr;
    if (const Vessel* vessel = vesselOf(*host, hVessel_, "VESSEL::GetEquPos")) {
        vessel->frames().equPos(longitude, latitude, radius);
        body = ObjectTable::handleOf(vessel->state().body);
    } else {
        longitude = latitude = radius = 0.0;
    }
    if (host->trace().on()) {
        host->trace().line("VESSEL::GetEquPos", TraceResult{}, longitude, latitude, radius, body);
    }
    return body;
}

void VESSEL::HorizonInvRot(const VECTOR3& rhorizon, VECTOR3& rlocal) const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    const Vessel* vessel = vesselOf(*host, hVessel_, "VESSEL::HorizonInvRot");
    rlocal = vessel == nullptr
                 ? VECTOR3{{0.0, 0.0, 0.0}}
                 : toSimulator(vessel->frames().horizonInvRot(fromSimulator(rhorizon)));
    if (host->trace().on()) {
        host->trace().line("VESSEL::HorizonInvRot", rhorizon.x, rhorizon.y, rhorizon.z,
                           TraceResult{}, rlocal.x, rlocal.y, rlocal.z);
    }
}

void VESSEL::GlobalRot(const VECTOR3& rloc, VECTOR3& rglob) const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    const Vessel* vessel = vesselOf(*host, hVessel_, "VESSEL::GlobalRot");
    rglob = vessel == nullptr ? VECTOR3{{0.0, 0.0, 0.0}}
                              : toSimulator(vessel->frames().globalRot(fromSimulator(rloc)));
    if (host->trace().on()) {
        host->trace().line("VESSEL::GlobalRot", rloc.x, rloc.y, rloc.z, TraceResult{}, rglob.x,
                           rglob.y, rglob.z);
    }
}

void VESSEL::GetAngularMoment(VECTOR3& amom) const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    const Vessel* vessel = vesselOf(*host, hVessel_, "VESSEL::GetAngularMoment");
    amom =
        vessel == nullptr ? VECTOR3{{0.0, 0.0, 0.0}} : toSimulator(vessel->loads().angularMomentNm);
    if (host->trace().on()) {
        host->trace().line("VESSEL::GetAngularMoment", TraceResult{}, amom.x, amom.y, amom.z);
    }
}

namespace {

// The scalar queries share one shape.
template <typename Query>
double vesselQuery(OBJHANDLE handle, const char* operation, Query query) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return 0.0;
    }
    const Vessel* vessel = vesselOf(*host, handle, operation);
    const double value = vessel == nullptr ? 0.0 : query(*vessel);
    if (host->trace().on()) {
        host->trace().line(operation, TraceResult{}, value);
    }
    return value;
}

}  // namespace

double VESSEL::GetAtmTemperature() const {
    return vesselQuery(hVessel_, "VESSEL::GetAtmTemperature",
                       [](const Vessel& vessel) { return airAt(vessel.state()).temperatureK; });
}

double VESSEL::GetAtmDensity() const {
    return vesselQuery(hVessel_, "VESSEL::GetAtmDensity",
                       [](const Vessel& vessel) { return airAt(vessel.state()).densityKgM3; });
}

double VESSEL::GetLift() const {
    return vesselQuery(hVessel_, "VESSEL::GetLift",
                       [](const Vessel& vessel) { return vessel.loads().aero.lift; });
}

double VESSEL::GetDrag() const {
    return vesselQuery(hVessel_, "VESSEL::GetDrag",
                       [](const Vessel& vessel) { return vessel.loads().aero.drag; });
}

DWORD VESSEL::AttachmentCount(bool toparent) const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return 0;
    }
    const Vessel* vessel = vesselOf(*host, hVessel_, "VESSEL::AttachmentCount");
    const DWORD count = vessel == nullptr ? 0 : host->objects().attachmentCount(*vessel, toparent);
    if (host->trace().on()) {
        host->trace().line("VESSEL::AttachmentCount", toparent, TraceResult{}, count);
    }
    return count;
}

ATTACHMENTHANDLE VESSEL::GetAttachmentHandle(bool toparent, DWORD i) const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return nullptr;
    }
    const Vessel* vessel = vesselOf(*host, hVessel_, "VESSEL::GetAttachmentHandle");
    // Null beyond the vessel's points, as in the simulator.
    ATTACHMENTHANDLE point =
        vessel == nullptr ? nullptr : host->objects().attachmentHandle(*vessel, toparent, i);
    if (host->trace().on()) {
        host->trace().line("VESSEL::GetAttachmentHandle", toparent, i, TraceResult{}, point);
    }
    return point;
}

OBJHANDLE VESSEL::GetAttachmentStatus(ATTACHMENTHANDLE attachment) const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return nullptr;
    }
    OBJHANDLE mate = nullptr;
    if (vesselOf(*host, hVessel_, "VESSEL::GetAttachmentStatus") != nullptr) {
        if (host->objects().isAttachment(attachment)) {
            mate = host->objects().attachedAt(attachment);
        } else {
            host->log().host(
                "VESSEL::GetAttachmentStatus: the handle is not an attachment point of the "
                "simulation; answered null");
        }
    }
    if (host->trace().on()) {
        host->trace().line("VESSEL::GetAttachmentStatus", attachment, TraceResult{}, mate);
    }
    return mate;
}
