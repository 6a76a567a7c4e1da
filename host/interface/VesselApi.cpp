// The host interface's vessels and bodies. Handles are checked against the world before they
// are followed; a foreign handle gets a neutral answer and a host: log line.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "host/interface/HostCall.h"
#include "host/interface/SimulatorVectors.h"
#include "host/interface/StateRecords.h"
#include "host/world/AirData.h"
#include "host/world/Mat3.h"
#include "module/simulator/HostApi.h"

using aeroquin::host::airAt;
using aeroquin::host::applyStatus;
using aeroquin::host::applyStatusEx;
using aeroquin::host::Body;
using aeroquin::host::ControlType;
using aeroquin::host::controlTypeCount;
using aeroquin::host::fromSimulator;
using aeroquin::host::hostCall;
using aeroquin::host::HostContext;
using aeroquin::host::Mat3;
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

// The control type of the simulator's AIRCTRL_TYPE; none (after a host: line) beyond the six,
// where the simulator would index past its levels.
std::optional<ControlType> controlTypeOf(HostContext& host, AIRCTRL_TYPE type,
                                         const char* operation, const char* done) {
    const auto index = static_cast<long long>(type);
    if (index < 0 || index >= static_cast<long long>(controlTypeCount)) {
        host.log().host(std::string(operation) + ": " + std::to_string(index) +
                        " is no control type (0 to 5); " + done);
        return std::nullopt;
    }
    return static_cast<ControlType>(index);
}

// The vessel's own answers: Result{} (after a host: line) for a handle that is no vessel.
template <typename Result, typename Query>
Result vesselAnswer(OBJHANDLE handle, const char* operation, Query query) {
    return hostCall<Result>(operation, [&](HostContext& host) {
        const Vessel* vessel = vesselOf(host, handle, operation);
        return vessel == nullptr ? Result{} : query(*vessel);
    });
}

}  // namespace

OBJHANDLE oapiGetVesselByName(char* name) {
    return hostCall<OBJHANDLE>(
        "oapiGetVesselByName",
        [&](HostContext& host) {
            return name == nullptr ? nullptr : host.objects().findVessel(name);
        },
        name);
}

VESSEL* oapiGetVesselInterface(OBJHANDLE hVessel) {
    return hostCall<VESSEL*>(
        "oapiGetVesselInterface",
        [&](HostContext& host) {
            VESSEL* vessel = host.objects().interfaceOf(hVessel);
            if (vessel == nullptr && hVessel != nullptr) {
                host.log().host(
                    "oapiGetVesselInterface: the handle is not a vessel of the simulation");
            }
            return vessel;
        },
        hVessel);
}

bool oapiIsVessel(OBJHANDLE hVessel) {
    // Asking is the point: no host: line for a handle that is no vessel.
    return hostCall<bool>(
        "oapiIsVessel",
        [&](HostContext& host) { return host.objects().vessel(hVessel) != nullptr; }, hVessel);
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
        std::copy(written.begin(), written.end(), name);  // an empty view may have no data
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
    return hostCall<double>(
        "oapiGetSize",
        [&](HostContext& host) {
            if (const Body* body = host.objects().body(hObj)) {
                return body->meanRadius();
            }
            if (host.objects().vessel(hObj) != nullptr) {
                host.log().host("oapiGetSize: vessels have no size in this host; answered 0");
            } else {
                host.log().host(
                    "oapiGetSize: the handle is no object of the simulation; answered 0");
            }
            return 0.0;
        },
        hObj);
}

double oapiGetMass(OBJHANDLE hObj) {
    return hostCall<double>(
        "oapiGetMass",
        [&](HostContext& host) {
            if (const Body* body = host.objects().body(hObj)) {
                return body->mass();
            }
            if (const Vessel* vessel = host.objects().vessel(hObj)) {
                return vessel->vesselClass().mass;
            }
            host.log().host("oapiGetMass: the handle is no object of the simulation; answered 0");
            return 0.0;
        },
        hObj);
}

double oapiGetPlanetPeriod(OBJHANDLE hPlanet) {
    return hostCall<double>(
        "oapiGetPlanetPeriod",
        [&](HostContext& host) {
            const Body* body = bodyOf(host, hPlanet, "oapiGetPlanetPeriod");
            return body == nullptr ? 0.0 : body->rotationPeriod();
        },
        hPlanet);
}

const ATMCONST* oapiGetPlanetAtmConstants(OBJHANDLE hPlanet) {
    return hostCall<const ATMCONST*>(
        "oapiGetPlanetAtmConstants",
        [&](HostContext& host) -> const ATMCONST* {
            const Body* body = bodyOf(host, hPlanet, "oapiGetPlanetAtmConstants");
            return body == nullptr ? nullptr : host.objects().atmConstants(hPlanet);
        },
        hPlanet);
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
    return hostCall<char*>("VESSEL::GetClassNameA", [&](HostContext& host) {
        char* name = host.objects().className(hVessel_);
        if (name == nullptr) {
            host.log().host(
                "VESSEL::GetClassNameA: the VESSEL's handle is not a vessel of the "
                "simulation");
        }
        return name;
    });
}

// NOLINTNEXTLINE(readability-const-return-type): the SDK's signature
const OBJHANDLE VESSEL::GetSurfaceRef() const {
    return vesselAnswer<OBJHANDLE>(hVessel_, "VESSEL::GetSurfaceRef", [](const Vessel& vessel) {
        return ObjectTable::handleOf(vessel.state().body);
    });
}
#pragma GCC diagnostic pop

void VESSEL::GetStatus(VESSELSTATUS& status) const {
    hostCall("VESSEL::GetStatus", [&](HostContext& host) {
        if (const Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::GetStatus")) {
            readStatus(*vessel, host.objects().unmodelled(hVessel_), status);
        }
    });
}

void VESSEL::GetStatusEx(void* status) const {
    const DWORD version = versionOf(status);
    hostCall(
        "VESSEL::GetStatusEx",
        [&](HostContext& host) {
            const Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::GetStatusEx");
            if (vessel != nullptr &&
                isVersionTwo(host, status, version, "VESSEL::GetStatusEx", "filled")) {
                readStatusEx(*vessel, host.objects().unmodelled(hVessel_),
                             *static_cast<VESSELSTATUS2*>(status));
            }
        },
        version);
}

void VESSEL::DefSetState(const VESSELSTATUS* status) const {
    hostCall("VESSEL::DefSetState", [&](HostContext& host) {
        Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::DefSetState");
        if (vessel == nullptr) {
            return;
        }
        if (status == nullptr) {
            host.log().host("VESSEL::DefSetState: null record; nothing applied");
            return;
        }
        applyStatus(*vessel, host.objects().unmodelled(hVessel_), *status);
    });
}

void VESSEL::DefSetStateEx(const void* status) const {
    const DWORD version = versionOf(status);
    hostCall(
        "VESSEL::DefSetStateEx",
        [&](HostContext& host) {
            Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::DefSetStateEx");
            if (vessel != nullptr &&
                isVersionTwo(host, status, version, "VESSEL::DefSetStateEx", "applied")) {
                applyStatusEx(*vessel, host.objects().unmodelled(hVessel_),
                              *static_cast<const VESSELSTATUS2*>(status));
            }
        },
        version);
}

// The answers written through references are traced after the work, answers included: not
// hostCall's shape.

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

// The simulator's linear moment: every force of the step but gravity; here the aerodynamic force
// and the added ones.
void VESSEL::GetLinearMoment(VECTOR3& F) const {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    const Vessel* vessel = vesselOf(*host, hVessel_, "VESSEL::GetLinearMoment");
    F = vessel == nullptr ? VECTOR3{{0.0, 0.0, 0.0}}
                          : toSimulator(vessel->loads().aero.force + vessel->loads().addedForceN);
    if (host->trace().on()) {
        host->trace().line("VESSEL::GetLinearMoment", TraceResult{}, F.x, F.y, F.z);
    }
}

double VESSEL::GetAtmTemperature() const {
    return vesselAnswer<double>(hVessel_, "VESSEL::GetAtmTemperature", [](const Vessel& vessel) {
        return airAt(vessel.state()).temperatureK;
    });
}

double VESSEL::GetAtmDensity() const {
    return vesselAnswer<double>(hVessel_, "VESSEL::GetAtmDensity", [](const Vessel& vessel) {
        return airAt(vessel.state()).densityKgM3;
    });
}

double VESSEL::GetLift() const {
    return vesselAnswer<double>(hVessel_, "VESSEL::GetLift",
                                [](const Vessel& vessel) { return vessel.loads().aero.lift; });
}

double VESSEL::GetDrag() const {
    return vesselAnswer<double>(hVessel_, "VESSEL::GetDrag",
                                [](const Vessel& vessel) { return vessel.loads().aero.drag; });
}

DWORD VESSEL::AttachmentCount(bool toparent) const {
    return hostCall<DWORD>(
        "VESSEL::AttachmentCount",
        [&](HostContext& host) -> DWORD {
            const Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::AttachmentCount");
            return vessel == nullptr ? 0 : host.objects().attachmentCount(*vessel, toparent);
        },
        toparent);
}

ATTACHMENTHANDLE VESSEL::GetAttachmentHandle(bool toparent, DWORD i) const {
    return hostCall<ATTACHMENTHANDLE>(
        "VESSEL::GetAttachmentHandle",
        [&](HostContext& host) -> ATTACHMENTHANDLE {
            const Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::GetAttachmentHandle");
            // Null beyond the vessel's points, as in the simulator.
            return vessel == nullptr ? nullptr
                                     : host.objects().attachmentHandle(*vessel, toparent, i);
        },
        toparent, i);
}

OBJHANDLE VESSEL::GetAttachmentStatus(ATTACHMENTHANDLE attachment) const {
    return hostCall<OBJHANDLE>(
        "VESSEL::GetAttachmentStatus",
        [&](HostContext& host) -> OBJHANDLE {
            if (vesselOf(host, hVessel_, "VESSEL::GetAttachmentStatus") == nullptr) {
                return nullptr;
            }
            if (!host.objects().isAttachment(attachment)) {
                host.log().host(
                    "VESSEL::GetAttachmentStatus: the handle is not an attachment point of the "
                    "simulation; answered null");
                return nullptr;
            }
            return host.objects().attachedAt(attachment);
        },
        attachment);
}

UINT VESSEL::DockCount() const {
    return hostCall<UINT>("VESSEL::DockCount", [&](HostContext& host) -> UINT {
        const Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::DockCount");
        return vessel == nullptr ? 0 : host.objects().dockCount(*vessel);
    });
}

DOCKHANDLE VESSEL::GetDockHandle(UINT n) const {
    return hostCall<DOCKHANDLE>(
        "VESSEL::GetDockHandle",
        [&](HostContext& host) -> DOCKHANDLE {
            const Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::GetDockHandle");
            // Null beyond the vessel's ports, as in the simulator.
            return vessel == nullptr ? nullptr : host.objects().dockHandle(*vessel, n);
        },
        n);
}

OBJHANDLE VESSEL::GetDockStatus(DOCKHANDLE hDock) const {
    return hostCall<OBJHANDLE>(
        "VESSEL::GetDockStatus",
        [&](HostContext& host) -> OBJHANDLE {
            if (vesselOf(host, hVessel_, "VESSEL::GetDockStatus") == nullptr) {
                return nullptr;
            }
            return host.objects().dockedAt(hDock);
        },
        hDock);
}

// The aerodynamic-control mode: kept and answered; no user input follows it here.
DWORD VESSEL::GetADCtrlMode() const {
    return vesselAnswer<DWORD>(hVessel_, "VESSEL::GetADCtrlMode",
                               [](const Vessel& vessel) { return vessel.controls().mode(); });
}

void VESSEL::SetADCtrlMode(DWORD mode) const {
    hostCall(
        "VESSEL::SetADCtrlMode",
        [&](HostContext& host) {
            if (Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::SetADCtrlMode")) {
                vessel->controls().setMode(mode);
            }
        },
        mode);
}

void VESSEL::SetControlSurfaceLevel(AIRCTRL_TYPE type, double level, bool direct) const {
    hostCall(
        "VESSEL::SetControlSurfaceLevel",
        [&](HostContext& host) {
            constexpr const char* operation = "VESSEL::SetControlSurfaceLevel";
            Vessel* vessel = vesselOf(host, hVessel_, operation);
            const auto control = vessel == nullptr
                                     ? std::nullopt
                                     : controlTypeOf(host, type, operation, "nothing set");
            if (control) {
                vessel->controls().set(*control, level, direct);
            }
        },
        type, level, direct);
}

double VESSEL::GetControlSurfaceLevel(AIRCTRL_TYPE type) const {
    return hostCall<double>(
        "VESSEL::GetControlSurfaceLevel",
        [&](HostContext& host) {
            constexpr const char* operation = "VESSEL::GetControlSurfaceLevel";
            const Vessel* vessel = vesselOf(host, hVessel_, operation);
            const auto control = vessel == nullptr
                                     ? std::nullopt
                                     : controlTypeOf(host, type, operation, "answered 0");
            return control ? vessel->controls().level(*control) : 0.0;
        },
        type);
}

// The stand-in's vessels have no thrusters: nothing fires, and no handle is ever valid.
DWORD VESSEL::GetThrusterCount() const {
    return hostCall<DWORD>("VESSEL::GetThrusterCount", [&](HostContext& host) -> DWORD {
        static_cast<void>(vesselOf(host, hVessel_, "VESSEL::GetThrusterCount"));
        return 0;
    });
}

THRUSTER_HANDLE VESSEL::GetThrusterHandleByIndex(DWORD idx) const {
    return hostCall<THRUSTER_HANDLE>(
        "VESSEL::GetThrusterHandleByIndex",
        [&](HostContext& host) -> THRUSTER_HANDLE {
            static_cast<void>(vesselOf(host, hVessel_, "VESSEL::GetThrusterHandleByIndex"));
            return nullptr;
        },
        idx);
}

double VESSEL::GetThrusterLevel(THRUSTER_HANDLE th) const {
    return hostCall<double>(
        "VESSEL::GetThrusterLevel",
        [&](HostContext& host) {
            if (vesselOf(host, hVessel_, "VESSEL::GetThrusterLevel") != nullptr) {
                host.log().host(
                    "VESSEL::GetThrusterLevel: the handle is no thruster of the "
                    "vessel; answered 0");
            }
            return 0.0;
        },
        th);
}

bool VESSEL::GetThrustVector(VECTOR3& T) const {
    return hostCall<bool>("VESSEL::GetThrustVector", [&](HostContext& host) {
        static_cast<void>(vesselOf(host, hVessel_, "VESSEL::GetThrustVector"));
        T = VECTOR3{{0.0, 0.0, 0.0}};
        return false;
    });
}

double VESSEL::GetMass() const {
    return hostCall<double>("VESSEL::GetMass", [&](HostContext& host) {
        const Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::GetMass");
        return vessel == nullptr ? 0.0 : vessel->vesselClass().mass;
    });
}

void VESSEL::GetPMI(VECTOR3& pmi) const {
    hostCall("VESSEL::GetPMI", [&](HostContext& host) {
        const Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::GetPMI");
        pmi = vessel == nullptr ? VECTOR3{{0.0, 0.0, 0.0}}
                                : toSimulator(vessel->vesselClass().inertiaM2);
    });
}

void VESSEL::GetAngularVel(VECTOR3& avel) const {
    hostCall("VESSEL::GetAngularVel", [&](HostContext& host) {
        const Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::GetAngularVel");
        avel = vessel == nullptr ? VECTOR3{{0.0, 0.0, 0.0}}
                                 : toSimulator(vessel->state().angularVelocity);
    });
}

void VESSEL::SetRotationMatrix(const MATRIX3& R) const {
    hostCall("VESSEL::SetRotationMatrix", [&](HostContext& host) {
        if (Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::SetRotationMatrix")) {
            vessel->setAttitudeMatrix(Mat3::fromColumns(
                {R.m11, R.m21, R.m31}, {R.m12, R.m22, R.m32}, {R.m13, R.m23, R.m33}));
        }
    });
}

void VESSEL::AddForce(const VECTOR3& F, const VECTOR3& r) const {
    hostCall("VESSEL::AddForce", [&](HostContext& host) {
        if (Vessel* vessel = vesselOf(host, hVessel_, "VESSEL::AddForce")) {
            vessel->addForce(fromSimulator(F), fromSimulator(r));
        }
    });
}
