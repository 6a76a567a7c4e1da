// One of three definitions of the simulator's interface, beside the host's (host/interface) and
// the unit tests' recording fake: constant answers and no world, so that a benchmark times the
// module's own cost alone.
#include "bench/NullHost.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "module/simulator/HostApi.h"

namespace aeroquin::bench {

namespace {

struct Item {
    std::string_view key;
    std::string_view value;
};

constexpr Item kConfiguration[] = {
    {"VesselName", "Bench"},     {"SaveDirectory", "/tmp/aeroquin-bench"},
    {"AoaIntervals", "-90 90"},  {"AoaIncrements", "1000000"},
    {"MachIntervals", "0.1 10"}, {"MachIncrements", "999"},
};

// Addresses that serve as handles; the host interface's free functions are the only way in,
// so the objects behind them live for the whole process.
char configurationFile;
char reportFile;
char vesselObject;
char bodyObject;
char annotation;
std::uint64_t lines = 0;
// The report's header goes to disk (5 writes, the counts in one); its rows are only counted:
// writing them is the floor's cost (FloorWrites.cpp), not the module's.
constexpr std::uint64_t kHeaderWrites = 5;
std::ofstream header;
std::uint64_t linesSinceOpen = 0;
// Forces that change at every point, as over a sweep's angles: each point's CL*S, CD*S and L/D
// are made anew, as in a capture.
double forceStep = 0.0;     // N
double controlLevel = 0.0;  // the last one set

VESSEL& vesselInterface() {
    static VESSEL vessel(&vesselObject);
    return vessel;
}

// Air of the US Standard Atmosphere at 20 km on an Earth-sized body.
constexpr ATMCONST kAtmosphere{101325.0, 1.225, 287.0, 1.4, 0.0, 0.21, 2.5e5, 6.621e6, 0.0, {}};

}  // namespace

std::uint64_t linesWritten() {
    return lines;
}

}  // namespace aeroquin::bench

namespace nh = aeroquin::bench;

VESSEL::VESSEL(OBJHANDLE hVessel, int fmodel) : hVessel_(hVessel), flightModel_(fmodel) {}
VESSEL::~VESSEL() = default;
// The SDK declares both handle getters with a const return type.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
const OBJHANDLE VESSEL::GetHandle() const {
    return hVessel_;
}
char* VESSEL::GetClassNameA() const {
    static char name[] = "BenchGlider";
    return name;
}
const OBJHANDLE VESSEL::GetSurfaceRef() const {
    return &nh::bodyObject;
}
#pragma GCC diagnostic pop
void VESSEL::GetStatus(VESSELSTATUS& status) const {
    status = VESSELSTATUS{};
    status.rbody = &nh::bodyObject;
}
void VESSEL::GetStatusEx(void* status) const {
    auto& record = *static_cast<VESSELSTATUS2*>(status);
    if (record.version == 2) {
        record.rbody = &nh::bodyObject;
        record.rpos = VECTOR3{{6.391e6, 0.0, 0.0}};
        record.rvel = VECTOR3{{0.0, 0.0, 465.0}};
    }
}
void VESSEL::DefSetState(const VESSELSTATUS* /*status*/) const {}
void VESSEL::DefSetStateEx(const void* /*status*/) const {}
OBJHANDLE VESSEL::GetEquPos(double& longitude, double& latitude, double& radius) const {
    longitude = 0.0;
    latitude = 0.0;
    radius = 6.391e6;
    return &nh::bodyObject;
}
void VESSEL::HorizonInvRot(const VECTOR3& rhorizon, VECTOR3& rlocal) const {
    rlocal = rhorizon;
}
void VESSEL::GlobalRot(const VECTOR3& rloc, VECTOR3& rglob) const {
    rglob = rloc;
}
double VESSEL::GetAtmTemperature() const {
    return 216.65;  // K
}
double VESSEL::GetAtmDensity() const {
    return 0.0889;  // kg/m^3
}
double VESSEL::GetLift() const {
    nh::forceStep += 0.25;
    return 15000.0 + nh::forceStep;  // N
}
double VESSEL::GetDrag() const {
    return 1800.0 + 0.5 * nh::forceStep;  // N
}
void VESSEL::GetAngularMoment(VECTOR3& amom) const {
    amom = VECTOR3{{-400.0 - nh::forceStep, 0.0, 0.0}};  // N m
}
void VESSEL::GetLinearMoment(VECTOR3& F) const {
    F = VECTOR3{{-25.0 - nh::forceStep, 0.0, 0.0}};  // N
}
DWORD VESSEL::GetADCtrlMode() const {
    return 0;
}
void VESSEL::SetADCtrlMode(DWORD /*mode*/) const {}
void VESSEL::SetControlSurfaceLevel(AIRCTRL_TYPE /*type*/, double level, bool /*direct*/) const {
    nh::controlLevel = level;
}
double VESSEL::GetControlSurfaceLevel(AIRCTRL_TYPE /*type*/) const {
    return nh::controlLevel;
}
DWORD VESSEL::AttachmentCount(bool /*toparent*/) const {
    return 0;
}
ATTACHMENTHANDLE VESSEL::GetAttachmentHandle(bool /*toparent*/, DWORD /*i*/) const {
    return nullptr;
}
OBJHANDLE VESSEL::GetAttachmentStatus(ATTACHMENTHANDLE /*attachment*/) const {
    return nullptr;
}

UINT VESSEL::DockCount() const {
    return 0;
}

DOCKHANDLE VESSEL::GetDockHandle(UINT /*n*/) const {
    return nullptr;
}

OBJHANDLE VESSEL::GetDockStatus(DOCKHANDLE /*hDock*/) const {
    return nullptr;
}
DWORD VESSEL::GetThrusterCount() const {
    return 0;
}
THRUSTER_HANDLE VESSEL::GetThrusterHandleByIndex(DWORD /*idx*/) const {
    return nullptr;
}
double VESSEL::GetThrusterLevel(THRUSTER_HANDLE /*th*/) const {
    return 0.0;
}
bool VESSEL::GetThrustVector(VECTOR3& T) const {
    T = VECTOR3{{0.0, 0.0, 0.0}};
    return false;
}
double VESSEL::GetMass() const {
    return 1000.0;  // kg
}
void VESSEL::GetPMI(VECTOR3& pmi) const {
    pmi = VECTOR3{{4.0, 5.0, 2.0}};  // m^2
}
void VESSEL::GetAngularVel(VECTOR3& avel) const {
    avel = VECTOR3{{0.0, 0.0, 0.0}};
}

void oapiRegisterModule(oapi::Module* /*module*/) {}
void InitLib(HINSTANCE /*hModule*/) {}
int Date2Int(char* /*date*/) {
    return 240305;
}
void oapiWriteLog(char* /*line*/) {}

FILEHANDLE oapiOpenFile(const char* fname, FileAccessMode mode, PathRoot /*root*/) {
    // Items come from memory: nothing is read from or left in the working folder.
    if (mode == FILE_IN || mode == FILE_IN_ZEROONFAIL) {
        return &nh::configurationFile;
    }
    // The module checks that its header reached the disk.
    const std::filesystem::path path(aeroquin::simulator::localPath(fname));
    std::filesystem::create_directories(path.parent_path());
    nh::header.open(path, std::ios::trunc);
    nh::linesSinceOpen = 0;
    return &nh::reportFile;
}
void oapiCloseFile(FILEHANDLE file, FileAccessMode /*mode*/) {
    if (file == &nh::reportFile) {
        nh::header.close();
    }
}
bool oapiReadItem_string(FILEHANDLE /*file*/, char* item, char* string) {
    for (const auto& [key, value] : nh::kConfiguration) {
        if (key == item) {
            std::memcpy(string, value.data(), value.size());
            string[value.size()] = '\0';
            return true;
        }
    }
    return false;
}
bool oapiReadItem_int(FILEHANDLE /*file*/, char* item, int& value) {
    if (std::string_view(item) != "ReportNameStyle") {
        return false;
    }
    value = 0;
    return true;
}
void oapiWriteLine(FILEHANDLE /*file*/, char* line) {
    ++nh::lines;
    if (nh::linesSinceOpen++ < nh::kHeaderWrites) {
        nh::header << line << std::endl;
    }
}

OBJHANDLE oapiGetVesselByName(char* /*name*/) {
    return &nh::vesselObject;
}
VESSEL* oapiGetVesselInterface(OBJHANDLE /*hVessel*/) {
    return &nh::vesselInterface();
}
bool oapiIsVessel(OBJHANDLE hVessel) {
    return hVessel == &nh::vesselObject;
}
void oapiGetObjectName(OBJHANDLE hObj, char* name, int n) {
    const std::string_view text = hObj == &nh::vesselObject ? "Bench" : "Earth";
    if (n > 0) {
        const std::size_t size = std::min(text.size(), static_cast<std::size_t>(n) - 1);
        std::memcpy(name, text.data(), size);
        name[size] = '\0';
    }
}
double oapiGetSize(OBJHANDLE /*hObj*/) {
    return 6.371e6;  // m
}
double oapiGetMass(OBJHANDLE /*hObj*/) {
    return 5.97e24;  // kg
}
double oapiGetPlanetPeriod(OBJHANDLE /*hPlanet*/) {
    return 86164.1;  // s
}
const ATMCONST* oapiGetPlanetAtmConstants(OBJHANDLE /*hPlanet*/) {
    return &nh::kAtmosphere;
}

NOTEHANDLE oapiCreateAnnotation(bool /*exclusive*/, double /*size*/, const VECTOR3& /*colour*/) {
    return &nh::annotation;
}
void oapiAnnotationSetPos(NOTEHANDLE /*hNote*/, double /*x1*/, double /*y1*/, double /*x2*/,
                          double /*y2*/) {}
void oapiAnnotationSetText(NOTEHANDLE /*hNote*/, char* /*note*/) {}
bool oapiDelAnnotation(NOTEHANDLE /*hNote*/) {
    return true;
}

void GetSystemTime(SYSTEMTIME* time) {
    *time = SYSTEMTIME{2024, 3, 2, 5, 14, 7, 9, 0};
}
FARPROC GetProcAddress(HINSTANCE /*hModule*/, const char* /*name*/) {
    return nullptr;
}
