// A recording fake of the host interface for unit tests.
//
// Defines every function of module/simulator/HostApi.h. Each call the module makes is recorded in
// order (name as the module's code spells it, plus its arguments as text); item files come from
// in-memory text; written files, log lines and annotations are kept in memory; and any
// operation can be made to fail (answer null or false) or to throw.
#pragma once

#include <array>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "module/simulator/HostApi.h"

namespace aeroquin::testsupport {

struct Call {
    std::string name;  // e.g. "oapiGetVesselInterface", "VESSEL::GetStatusEx"
    std::string args;  // arguments as text, e.g. "Modules\Plugin\Aeroquin.cfg, 0, 1"
};

struct FakeBody {
    std::string name = "Earth";
    double size = 6.0e6;      // mean radius, m
    double period = 86400.0;  // rotation period, s
    double mass = 6.0e24;     // kg
    bool hasAtmosphere = true;
    ATMCONST atm{};  // R = 287, gamma = 1.4 by default
};

using Matrix3 = std::array<std::array<double, 3>, 3>;
inline constexpr Matrix3 kIdentity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

struct FakeVessel {
    std::string name;
    std::string className = "Glider";
    bool classNameNull = false;  // GetClassNameA answers null
    bool hasInterface = true;
    FakeBody* surfaceRef = nullptr;
    VESSELSTATUS2 statusEx{};  // what GetStatusEx reports and DefSetStateEx stores
    VESSELSTATUS status{};     // what GetStatus reports and DefSetState stores
    double longitude = 0.0, latitude = 0.0, radius = 0.0;  // rad, rad, m
    Matrix3 horizonToVessel = kIdentity;                   // HorizonInvRot
    Matrix3 vesselToGlobal = kIdentity;                    // GlobalRot
    double temperature = 250.0;                            // K
    double density = 0.1;                                  // kg/m^3
    double lift = 0.0, drag = 0.0;                         // N
    VECTOR3 angularMoment{};                               // N m, GetAngularMoment
    VECTOR3 linearMoment{};                                // N, GetLinearMoment
    DWORD controlMode = 7;                                 // GetADCtrlMode, SetADCtrlMode
    std::array<double, 6> controlLevels{};  // by AIRCTRL_TYPE: what the next step uses
    // Set after each SetControlSurfaceLevel, as a vessel's own pre-step would: the level the
    // step then uses for that type instead. Empty: none.
    std::map<int, double> ownLevels;
    // One thruster per level, 0 to 1; each handle is its level's address.
    std::vector<double> thrusterLevels;
    VECTOR3 thrust{};              // N, GetThrustVector
    double mass = 1000.0;          // kg
    VECTOR3 pmi{{4.0, 5.0, 2.0}};  // m^2, GetPMI, vessel axes; GetAngularVel answers statusEx.vrot
    bool deleted = false;          // oapiIsVessel false, oapiGetVesselByName does not find it
    // The parent's name: one parent point, whose status is the parent; the parent gets one
    // child point for it. Empty: none. `freeParentPoints` more parent points, all free, come
    // before it.
    std::string attachedTo;
    int freeParentPoints = 0;
    int parentPoint = 0, childPoint = 0, freePoint = 0;  // their handles' addresses
    // Likewise for docking: `freePorts` free ports, then one at which `dockedTo` is docked (the
    // other vessel gets no port for it). Empty: none.
    std::string dockedTo;
    int freePorts = 0;
    int dockPort = 0, freePort = 0;
    std::unique_ptr<VESSEL> interface;
};

struct FakeAnnotation {
    bool exclusive = false;
    double size = 0.0;
    VECTOR3 colour{};
    std::array<double, 4> box{};
    bool placed = false;
    std::string text;
    int textSets = 0;
};

class RecordingHost {
  public:
    // The one instance that the interface's free functions reach; reset() between tests.
    static RecordingHost& get();
    void reset();
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;
    RecordingHost(RecordingHost&&) = delete;
    RecordingHost& operator=(RecordingHost&&) = delete;
    ~RecordingHost();

    // Calls recorded so far, and their names alone.
    std::vector<Call> calls;
    [[nodiscard]] std::vector<std::string> callNames() const;
    [[nodiscard]] int count(const std::string& name) const;
    void record(std::string name, std::string args = {});
    // Runs after each call has been recorded and before the fake answers it, so that a test
    // can change the host's state in the middle of an operation.
    std::function<void(const Call&)> onCall;

    // Operations named here answer null / false; operations in `throwing` throw
    // std::runtime_error("fake: <name> failed") after being recorded.
    std::set<std::string> failing;
    std::set<std::string> throwing;
    [[nodiscard]] bool fails(const std::string& name) const { return failing.count(name) != 0; }

    // Paths that FILE_OUT cannot create, as with a missing directory: the handle writes
    // nowhere and FILE_IN_ZEROONFAIL answers null.
    std::set<std::string> unwritable;
    // Item files, by the path as the module passes it.
    std::map<std::string, std::string> itemFiles;
    // Files written with FILE_OUT, by path: the lines handed to oapiWriteLine. They are also
    // written to disk below the working folder, which reset() makes anew (the module checks its
    // report there, as in the simulator, whose root is the working folder).
    std::map<std::string, std::vector<std::string>> writtenFiles;
    std::filesystem::path workFolder;
    // Open handles and the paths they refer to; closed ones are removed.
    std::map<FILEHANDLE, std::string> openFiles;
    int closes = 0;

    std::vector<std::string> log;

    std::deque<FakeBody> bodies;
    std::deque<FakeVessel> vessels;
    FakeBody& addBody();
    FakeVessel& addVessel(const std::string& name, FakeBody* body);

    std::deque<FakeAnnotation> annotations;
    std::vector<NOTEHANDLE> deletedAnnotations;

    SYSTEMTIME clock{2024, 3, 2, 5, 14, 7, 9, 123};
    std::map<std::string, FARPROC> procs;  // GetProcAddress answers
    std::vector<std::unique_ptr<oapi::Module>> modules;

    std::deque<int> fileTokens;  // stable addresses that serve as file handles

  private:
    RecordingHost() = default;
    void enterNewWorkFolder();
};

// Sets up one body (R = 287, gamma = 1.4 atmosphere) and one vessel named "Probe" bound to it.
FakeVessel& addStandardVessel(RecordingHost& host);

}  // namespace aeroquin::testsupport
