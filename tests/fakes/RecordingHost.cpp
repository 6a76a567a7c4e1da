// One of three definitions of the simulator's interface, beside the host's (host/interface) and
// the benchmarks' (bench/NullHost.cpp): this one records the order of the calls and fails or
// throws on demand, which the module's unit tests need and a real host cannot give.
#include "tests/fakes/RecordingHost.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "host/support/DateText.h"
#include "host/support/ItemFile.h"
#include "host/support/ParseNumber.h"

namespace aeroquin::testsupport {

namespace {

// The value of `key` in the open file, read by the host's own item-file reader; nothing when
// the operation is made to fail.
std::optional<std::string> findItem(const std::string& operation, FILEHANDLE file,
                                    const char* key) {
    const auto& h = RecordingHost::get();
    const auto open = h.openFiles.find(file);
    if (h.fails(operation) || open == h.openFiles.end()) {
        return std::nullopt;
    }
    const auto items = h.itemFiles.find(open->second);
    return items == h.itemFiles.end()
               ? std::nullopt
               : aeroquin::host::ItemFile::fromText(items->second, open->second).find(key);
}

std::string text(const VECTOR3& v) {
    std::ostringstream out;
    out << v.x << ", " << v.y << ", " << v.z;
    return out.str();
}

VECTOR3 apply(const Matrix3& m, const VECTOR3& v) {
    return VECTOR3{{m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
                    m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
                    m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z}};
}

FakeVessel& vesselOf(const VESSEL* vessel) {
    return *static_cast<FakeVessel*>(vessel->GetHandle());
}

RecordingHost& host() {
    return RecordingHost::get();
}

// Where a written file lies below the working folder: '\\' read as '/', as the stand-in does.
std::filesystem::path diskPath(const std::string& name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

FakeVessel* vesselNamed(const std::string& name) {
    for (FakeVessel& v : host().vessels) {
        if (v.name == name) {
            return &v;
        }
    }
    return nullptr;
}

// The vessels attached to `parent`, in the order they were added.
std::vector<FakeVessel*> childrenOf(const FakeVessel& parent) {
    std::vector<FakeVessel*> children;
    for (FakeVessel& v : host().vessels) {
        if (!v.attachedTo.empty() && v.attachedTo == parent.name) {
            children.push_back(&v);
        }
    }
    return children;
}

// Records the call, then throws when the test asked for it.
void call(const std::string& name, std::string args = {}) {
    host().record(name, std::move(args));
    if (host().throwing.count(name) != 0) {
        throw std::runtime_error("fake: " + name + " failed");
    }
}

}  // namespace

RecordingHost& RecordingHost::get() {
    static RecordingHost instance;
    return instance;
}

RecordingHost::~RecordingHost() {
    if (!workFolder.empty()) {
        std::error_code ignored;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
        std::filesystem::remove_all(workFolder, ignored);
    }
}

void RecordingHost::enterNewWorkFolder() {
    if (!workFolder.empty()) {
        std::filesystem::current_path(std::filesystem::temp_directory_path());
        std::error_code ignored;
        std::filesystem::remove_all(workFolder, ignored);
    }
    std::string pattern =
        (std::filesystem::temp_directory_path() / "aeroquin-fake-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("fake: no temporary folder");
    }
    workFolder = pattern;
    std::filesystem::current_path(workFolder);
}

void RecordingHost::reset() {
    onCall = nullptr;  // first: the modules' destructors below record calls
    calls.clear();
    failing.clear();
    throwing.clear();
    unwritable.clear();
    itemFiles.clear();
    writtenFiles.clear();
    openFiles.clear();
    closes = 0;
    log.clear();
    vessels.clear();
    bodies.clear();
    annotations.clear();
    deletedAnnotations.clear();
    clock = SYSTEMTIME{2024, 3, 2, 5, 14, 7, 9, 123};
    procs.clear();
    modules.clear();
    fileTokens.clear();
    enterNewWorkFolder();
}

std::vector<std::string> RecordingHost::callNames() const {
    std::vector<std::string> names;
    names.reserve(calls.size());
    for (const Call& c : calls) {
        names.push_back(c.name);
    }
    return names;
}

int RecordingHost::count(const std::string& name) const {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.name == name; }));
}

void RecordingHost::record(std::string name, std::string args) {
    calls.push_back(Call{std::move(name), std::move(args)});
    if (onCall) {
        onCall(calls.back());
    }
}

FakeBody& RecordingHost::addBody() {
    FakeBody& body = bodies.emplace_back();
    body.atm.R = 287.0;
    body.atm.gamma = 1.4;
    body.atm.altlimit = 200000.0;  // m
    return body;
}

FakeVessel& RecordingHost::addVessel(const std::string& name, FakeBody* body) {
    FakeVessel& vessel = vessels.emplace_back();
    vessel.name = name;
    vessel.surfaceRef = body;
    vessel.interface = std::make_unique<VESSEL>(&vessel);
    return vessel;
}

FakeVessel& addStandardVessel(RecordingHost& host) {
    FakeBody& body = host.addBody();
    return host.addVessel("Probe", &body);
}

}  // namespace aeroquin::testsupport

using aeroquin::testsupport::FakeAnnotation;
using aeroquin::testsupport::FakeVessel;

// ---- VESSEL ----

VESSEL::VESSEL(OBJHANDLE hVessel, int fmodel) : hVessel_(hVessel), flightModel_(fmodel) {}
VESSEL::~VESSEL() = default;
// The SDK declares both handle getters with a const return type.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
const OBJHANDLE VESSEL::GetHandle() const {
    return hVessel_;
}

char* VESSEL::GetClassNameA() const {
    aeroquin::testsupport::call("VESSEL::GetClassNameA");
    FakeVessel& v = aeroquin::testsupport::vesselOf(this);
    return v.classNameNull ? nullptr : v.className.data();
}

const OBJHANDLE VESSEL::GetSurfaceRef() const {
    aeroquin::testsupport::call("VESSEL::GetSurfaceRef");
    if (aeroquin::testsupport::host().fails("VESSEL::GetSurfaceRef")) {
        return nullptr;
    }
    return aeroquin::testsupport::vesselOf(this).surfaceRef;
}
#pragma GCC diagnostic pop

void VESSEL::GetStatus(VESSELSTATUS& status) const {
    aeroquin::testsupport::call("VESSEL::GetStatus");
    status = aeroquin::testsupport::vesselOf(this).status;
}

void VESSEL::GetStatusEx(void* status) const {
    auto* record = static_cast<VESSELSTATUS2*>(status);
    aeroquin::testsupport::call("VESSEL::GetStatusEx",
                                "version " + std::to_string(record->version));
    if (record->version == 2) {
        *record = aeroquin::testsupport::vesselOf(this).statusEx;
        record->version = 2;
    }
}

void VESSEL::DefSetState(const VESSELSTATUS* status) const {
    aeroquin::testsupport::call("VESSEL::DefSetState",
                                "rvel " + aeroquin::testsupport::text(status->rvel));
    aeroquin::testsupport::vesselOf(this).status = *status;
}

void VESSEL::DefSetStateEx(const void* status) const {
    const auto* record = static_cast<const VESSELSTATUS2*>(status);
    aeroquin::testsupport::call("VESSEL::DefSetStateEx",
                                "status " + std::to_string(record->status) + ", rpos " +
                                    aeroquin::testsupport::text(record->rpos));
    aeroquin::testsupport::vesselOf(this).statusEx = *record;
}

OBJHANDLE VESSEL::GetEquPos(double& longitude, double& latitude, double& radius) const {
    aeroquin::testsupport::call("VESSEL::GetEquPos");
    const FakeVessel& v = aeroquin::testsupport::vesselOf(this);
    longitude = v.longitude;
    latitude = v.latitude;
    radius = v.radius;
    return v.surfaceRef;
}

void VESSEL::HorizonInvRot(const VECTOR3& rhorizon, VECTOR3& rlocal) const {
    aeroquin::testsupport::call("VESSEL::HorizonInvRot", aeroquin::testsupport::text(rhorizon));
    rlocal = aeroquin::testsupport::apply(aeroquin::testsupport::vesselOf(this).horizonToVessel,
                                          rhorizon);
}

void VESSEL::GlobalRot(const VECTOR3& rloc, VECTOR3& rglob) const {
    aeroquin::testsupport::call("VESSEL::GlobalRot", aeroquin::testsupport::text(rloc));
    rglob =
        aeroquin::testsupport::apply(aeroquin::testsupport::vesselOf(this).vesselToGlobal, rloc);
}

double VESSEL::GetAtmTemperature() const {
    aeroquin::testsupport::call("VESSEL::GetAtmTemperature");
    return aeroquin::testsupport::vesselOf(this).temperature;
}

double VESSEL::GetAtmDensity() const {
    aeroquin::testsupport::call("VESSEL::GetAtmDensity");
    return aeroquin::testsupport::vesselOf(this).density;
}

double VESSEL::GetLift() const {
    aeroquin::testsupport::call("VESSEL::GetLift");
    return aeroquin::testsupport::vesselOf(this).lift;
}

double VESSEL::GetDrag() const {
    aeroquin::testsupport::call("VESSEL::GetDrag");
    return aeroquin::testsupport::vesselOf(this).drag;
}

void VESSEL::GetAngularMoment(VECTOR3& amom) const {
    aeroquin::testsupport::call("VESSEL::GetAngularMoment");
    amom = aeroquin::testsupport::vesselOf(this).angularMoment;
}

void VESSEL::GetLinearMoment(VECTOR3& F) const {
    aeroquin::testsupport::call("VESSEL::GetLinearMoment");
    F = aeroquin::testsupport::vesselOf(this).linearMoment;
}

DWORD VESSEL::GetADCtrlMode() const {
    aeroquin::testsupport::call("VESSEL::GetADCtrlMode");
    return aeroquin::testsupport::vesselOf(this).controlMode;
}

void VESSEL::SetADCtrlMode(DWORD mode) const {
    aeroquin::testsupport::call("VESSEL::SetADCtrlMode", std::to_string(mode));
    aeroquin::testsupport::vesselOf(this).controlMode = mode;
}

void VESSEL::SetControlSurfaceLevel(AIRCTRL_TYPE type, double level, bool direct) const {
    std::ostringstream args;
    args << static_cast<int>(type) << ", " << level << ", " << (direct ? "true" : "false");
    aeroquin::testsupport::call("VESSEL::SetControlSurfaceLevel", args.str());
    FakeVessel& v = aeroquin::testsupport::vesselOf(this);
    const auto own = v.ownLevels.find(static_cast<int>(type));
    v.controlLevels.at(static_cast<std::size_t>(type)) =
        own != v.ownLevels.end() ? own->second : level;
}

double VESSEL::GetControlSurfaceLevel(AIRCTRL_TYPE type) const {
    aeroquin::testsupport::call("VESSEL::GetControlSurfaceLevel",
                                std::to_string(static_cast<int>(type)));
    return aeroquin::testsupport::vesselOf(this).controlLevels.at(static_cast<std::size_t>(type));
}

DWORD VESSEL::AttachmentCount(bool toparent) const {
    aeroquin::testsupport::call("VESSEL::AttachmentCount", toparent ? "true" : "false");
    const FakeVessel& v = aeroquin::testsupport::vesselOf(this);
    if (toparent) {
        return static_cast<DWORD>(v.freeParentPoints + (v.attachedTo.empty() ? 0 : 1));
    }
    return static_cast<DWORD>(aeroquin::testsupport::childrenOf(v).size());
}

ATTACHMENTHANDLE VESSEL::GetAttachmentHandle(bool toparent, DWORD i) const {
    aeroquin::testsupport::call(
        "VESSEL::GetAttachmentHandle",
        std::string(toparent ? "true" : "false") + ", " + std::to_string(i));
    FakeVessel& v = aeroquin::testsupport::vesselOf(this);
    if (toparent) {
        const auto free = static_cast<DWORD>(v.freeParentPoints);
        if (i < free) {
            return &v.freePoint;
        }
        return i == free && !v.attachedTo.empty() ? &v.parentPoint : nullptr;
    }
    const auto children = aeroquin::testsupport::childrenOf(v);
    return i < children.size() ? &children[i]->childPoint : nullptr;
}

OBJHANDLE VESSEL::GetAttachmentStatus(ATTACHMENTHANDLE attachment) const {
    aeroquin::testsupport::call("VESSEL::GetAttachmentStatus");
    for (FakeVessel& v : aeroquin::testsupport::host().vessels) {
        if (attachment == &v.parentPoint) {
            return aeroquin::testsupport::vesselNamed(v.attachedTo);
        }
        if (attachment == &v.childPoint) {
            return &v;
        }
    }
    return nullptr;
}

UINT VESSEL::DockCount() const {
    aeroquin::testsupport::call("VESSEL::DockCount");
    const FakeVessel& v = aeroquin::testsupport::vesselOf(this);
    return static_cast<UINT>(v.freePorts + (v.dockedTo.empty() ? 0 : 1));
}

DOCKHANDLE VESSEL::GetDockHandle(UINT n) const {
    aeroquin::testsupport::call("VESSEL::GetDockHandle", std::to_string(n));
    FakeVessel& v = aeroquin::testsupport::vesselOf(this);
    const auto free = static_cast<UINT>(v.freePorts);
    if (n < free) {
        return &v.freePort;
    }
    return n == free && !v.dockedTo.empty() ? &v.dockPort : nullptr;
}

OBJHANDLE VESSEL::GetDockStatus(DOCKHANDLE hDock) const {
    aeroquin::testsupport::call("VESSEL::GetDockStatus");
    for (FakeVessel& v : aeroquin::testsupport::host().vessels) {
        if (hDock == &v.dockPort) {
            return aeroquin::testsupport::vesselNamed(v.dockedTo);
        }
    }
    return nullptr;
}

DWORD VESSEL::GetThrusterCount() const {
    aeroquin::testsupport::call("VESSEL::GetThrusterCount");
    return static_cast<DWORD>(aeroquin::testsupport::vesselOf(this).thrusterLevels.size());
}

THRUSTER_HANDLE VESSEL::GetThrusterHandleByIndex(DWORD idx) const {
    aeroquin::testsupport::call("VESSEL::GetThrusterHandleByIndex", std::to_string(idx));
    std::vector<double>& levels = aeroquin::testsupport::vesselOf(this).thrusterLevels;
    return idx < levels.size() ? &levels[idx] : nullptr;
}

double VESSEL::GetThrusterLevel(THRUSTER_HANDLE th) const {
    aeroquin::testsupport::call("VESSEL::GetThrusterLevel");
    return th == nullptr ? 0.0 : *static_cast<const double*>(th);
}

bool VESSEL::GetThrustVector(VECTOR3& T) const {
    aeroquin::testsupport::call("VESSEL::GetThrustVector");
    T = aeroquin::testsupport::vesselOf(this).thrust;
    return T.x != 0.0 || T.y != 0.0 || T.z != 0.0;
}

double VESSEL::GetMass() const {
    aeroquin::testsupport::call("VESSEL::GetMass");
    return aeroquin::testsupport::vesselOf(this).mass;
}

void VESSEL::GetPMI(VECTOR3& pmi) const {
    aeroquin::testsupport::call("VESSEL::GetPMI");
    pmi = aeroquin::testsupport::vesselOf(this).pmi;
}

void VESSEL::GetAngularVel(VECTOR3& avel) const {
    aeroquin::testsupport::call("VESSEL::GetAngularVel");
    avel = aeroquin::testsupport::vesselOf(this).statusEx.vrot;
}

// ---- module base classes ----

oapi::ModuleNV::ModuleNV(HINSTANCE hDLL) : hModule(hDLL) {}
oapi::ModuleNV::~ModuleNV() = default;
HINSTANCE oapi::ModuleNV::GetModule() const {
    return hModule;
}

oapi::Module::Module(HINSTANCE hDLL) : ModuleNV(hDLL) {}
oapi::Module::~Module() {
    aeroquin::testsupport::host().record("oapi::Module::~Module");
}
void oapi::Module::clbkSimulationStart(RenderMode /*mode*/) {}
void oapi::Module::clbkSimulationEnd() {}
void oapi::Module::clbkPreStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {}
void oapi::Module::clbkPostStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {}
void oapi::Module::clbkTimeJump(double /*simt*/, double /*simdt*/, double /*mjd*/) {}
void oapi::Module::clbkFocusChanged(OBJHANDLE /*new_focus*/, OBJHANDLE /*old_focus*/) {}
void oapi::Module::clbkTimeAccChanged(double /*new_warp*/, double /*old_warp*/) {}
void oapi::Module::clbkNewVessel(OBJHANDLE /*hVessel*/) {}
void oapi::Module::clbkDeleteVessel(OBJHANDLE /*hVessel*/) {}
void oapi::Module::clbkVesselJump(OBJHANDLE /*hVessel*/) {}
void oapi::Module::clbkPause(bool /*pause*/) {}

// ---- free functions ----

void oapiRegisterModule(oapi::Module* module) {
    aeroquin::testsupport::call("oapiRegisterModule");
    aeroquin::testsupport::host().modules.emplace_back(module);
}

void InitLib(HINSTANCE /*hModule*/) {
    aeroquin::testsupport::call("InitLib");
}

int Date2Int(char* date) {
    aeroquin::testsupport::call("Date2Int", date);
    return aeroquin::host::date2Int(date).value;
}

void oapiWriteLog(char* line) {
    aeroquin::testsupport::call("oapiWriteLog", line);
    aeroquin::testsupport::host().log.emplace_back(line);
}

FILEHANDLE oapiOpenFile(const char* fname, FileAccessMode mode, PathRoot root) {
    aeroquin::testsupport::call("oapiOpenFile", std::string(fname) + ", " + std::to_string(mode) +
                                                    ", " + std::to_string(root));
    auto& h = aeroquin::testsupport::host();
    if (h.fails("oapiOpenFile")) {
        return nullptr;
    }
    // As in the simulator, only FILE_IN_ZEROONFAIL reports a missing file; the other modes
    // hand out a handle that reads nothing or writes nowhere.
    const bool writable = (mode == FILE_OUT || mode == FILE_APP) && h.unwritable.count(fname) == 0;
    if (mode == FILE_IN_ZEROONFAIL && h.itemFiles.count(fname) == 0 &&
        h.writtenFiles.count(fname) == 0) {
        return nullptr;
    }
    if (writable && mode == FILE_OUT) {
        h.writtenFiles[fname].clear();
        const auto path = aeroquin::testsupport::diskPath(fname);
        if (path.has_parent_path()) {
            std::filesystem::create_directories(path.parent_path());
        }
        std::ofstream(path, std::ios::trunc);
    }
    FILEHANDLE handle = &h.fileTokens.emplace_back(0);
    h.openFiles[handle] = fname;
    return handle;
}

void oapiCloseFile(FILEHANDLE file, FileAccessMode mode) {
    aeroquin::testsupport::call("oapiCloseFile", std::to_string(mode));
    auto& h = aeroquin::testsupport::host();
    ++h.closes;
    h.openFiles.erase(file);
}

bool oapiReadItem_string(FILEHANDLE file, char* item, char* string) {
    aeroquin::testsupport::call("oapiReadItem_string", item);
    const auto value = aeroquin::testsupport::findItem("oapiReadItem_string", file, item);
    if (!value) {
        return false;
    }
    // Values come from lines shorter than the simulator's item buffer.
    std::memcpy(string, value->c_str(), value->size() + 1);
    return true;
}

// As the simulator's sscanf "%d": the leading integer, the rest ignored.
bool oapiReadItem_int(FILEHANDLE file, char* item, int& value) {
    aeroquin::testsupport::call("oapiReadItem_int", item);
    const auto text = aeroquin::testsupport::findItem("oapiReadItem_int", file, item);
    const auto scanned = text ? aeroquin::host::scanInteger(*text) : std::nullopt;
    if (!scanned || *scanned < std::numeric_limits<int>::min() ||
        *scanned > std::numeric_limits<int>::max()) {
        return false;
    }
    value = static_cast<int>(*scanned);
    return true;
}

void oapiWriteLine(FILEHANDLE file, char* line) {
    aeroquin::testsupport::call("oapiWriteLine", line);
    auto& h = aeroquin::testsupport::host();
    const auto open = h.openFiles.find(file);
    if (open != h.openFiles.end() && h.unwritable.count(open->second) == 0) {
        h.writtenFiles[open->second].emplace_back(line);
        std::ofstream(aeroquin::testsupport::diskPath(open->second), std::ios::app) << line << '\n';
    }
}

OBJHANDLE oapiGetVesselByName(char* name) {
    aeroquin::testsupport::call("oapiGetVesselByName", name);
    for (FakeVessel& v : aeroquin::testsupport::host().vessels) {
        if (v.name == name && !v.deleted) {
            return &v;
        }
    }
    return nullptr;
}

bool oapiIsVessel(OBJHANDLE hVessel) {
    aeroquin::testsupport::call("oapiIsVessel");
    const auto& h = aeroquin::testsupport::host();
    return !h.fails("oapiIsVessel") &&
           std::any_of(h.vessels.begin(), h.vessels.end(),
                       [&](const FakeVessel& v) { return &v == hVessel && !v.deleted; });
}

// The name cut to n - 1 characters and the rest of the buffer zeroed, as the host does.
void oapiGetObjectName(OBJHANDLE hObj, char* name, int n) {
    aeroquin::testsupport::call("oapiGetObjectName", std::to_string(n));
    auto& h = aeroquin::testsupport::host();
    std::string found;
    for (const FakeVessel& v : h.vessels) {
        if (&v == hObj) {
            found = v.name;
        }
    }
    for (const aeroquin::testsupport::FakeBody& b : h.bodies) {
        if (&b == hObj) {
            found = b.name;
        }
    }
    if (name == nullptr || n <= 0) {
        return;
    }
    const auto size = static_cast<std::size_t>(n);
    const std::string cut = found.substr(0, size - 1);
    std::memcpy(name, cut.data(), cut.size());
    std::memset(name + cut.size(), 0, size - cut.size());
}

VESSEL* oapiGetVesselInterface(OBJHANDLE hVessel) {
    aeroquin::testsupport::call("oapiGetVesselInterface");
    auto* vessel = static_cast<FakeVessel*>(hVessel);
    if (vessel == nullptr || !vessel->hasInterface ||
        aeroquin::testsupport::host().fails("oapiGetVesselInterface")) {
        return nullptr;
    }
    return vessel->interface.get();
}

double oapiGetSize(OBJHANDLE hObj) {
    aeroquin::testsupport::call("oapiGetSize");
    return static_cast<aeroquin::testsupport::FakeBody*>(hObj)->size;
}

double oapiGetMass(OBJHANDLE hObj) {
    aeroquin::testsupport::call("oapiGetMass");
    return static_cast<aeroquin::testsupport::FakeBody*>(hObj)->mass;
}

double oapiGetPlanetPeriod(OBJHANDLE hPlanet) {
    aeroquin::testsupport::call("oapiGetPlanetPeriod");
    return static_cast<aeroquin::testsupport::FakeBody*>(hPlanet)->period;
}

const ATMCONST* oapiGetPlanetAtmConstants(OBJHANDLE hPlanet) {
    aeroquin::testsupport::call("oapiGetPlanetAtmConstants");
    auto* body = static_cast<aeroquin::testsupport::FakeBody*>(hPlanet);
    return body->hasAtmosphere ? &body->atm : nullptr;
}

NOTEHANDLE oapiCreateAnnotation(bool exclusive, double size, const VECTOR3& colour) {
    aeroquin::testsupport::call("oapiCreateAnnotation", std::string(exclusive ? "true" : "false") +
                                                            ", " + std::to_string(size) + ", " +
                                                            aeroquin::testsupport::text(colour));
    auto& h = aeroquin::testsupport::host();
    if (h.fails("oapiCreateAnnotation")) {
        return nullptr;
    }
    FakeAnnotation& note = h.annotations.emplace_back();
    note.exclusive = exclusive;
    note.size = size;
    note.colour = colour;
    return &note;
}

void oapiAnnotationSetPos(NOTEHANDLE hNote, double x1, double y1, double x2, double y2) {
    aeroquin::testsupport::call("oapiAnnotationSetPos");
    auto* note = static_cast<FakeAnnotation*>(hNote);
    note->box = {x1, y1, x2, y2};
    note->placed = true;
}

void oapiAnnotationSetText(NOTEHANDLE hNote, char* text) {
    aeroquin::testsupport::call("oapiAnnotationSetText", text);
    auto* note = static_cast<FakeAnnotation*>(hNote);
    note->text = text;
    ++note->textSets;
}

bool oapiDelAnnotation(NOTEHANDLE hNote) {
    aeroquin::testsupport::call("oapiDelAnnotation");
    aeroquin::testsupport::host().deletedAnnotations.push_back(hNote);
    return hNote != nullptr;
}

void GetSystemTime(SYSTEMTIME* time) {
    aeroquin::testsupport::call("GetSystemTime");
    *time = aeroquin::testsupport::host().clock;
}

FARPROC GetProcAddress(HINSTANCE /*hModule*/, const char* name) {
    aeroquin::testsupport::call("GetProcAddress", name);
    const auto& procs = aeroquin::testsupport::host().procs;
    const auto found = procs.find(name);
    return found == procs.end() ? nullptr : found->second;
}
