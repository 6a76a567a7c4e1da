// The simulator's programming interface as the module uses it, in three builds:
//
// - Windows: the simulator's own SDK headers.
// - The simulator's Linux build (AEROQUIN_ORBITER_LINUX): its SDK headers, which have the
//   Windows SDK's shape but not its binary form (module handles, const texts, no GetClassNameA,
//   no RENDER_NONE, and file paths taken as they are, with '/').
// - Everywhere else: this header declares the same names, records and signatures, and whatever
//   loads the module (the headless host in host/, or the recording fake in tests/) defines them.
//
// Texts cross the interface as zero-terminated narrow characters; the simulator's functions take
// non-const `char*` where its Windows SDK does, so callers hand over a private copy of their text.
//
// Also declared here: the two operating-system calls the module makes (GetProcAddress,
// GetSystemTime). Off Windows they form a thin platform layer: the stand-in host defines it like
// the simulator's functions, so that a host or a test can pin the clock; in the Linux build of
// the simulator the module defines it itself.
//
// After the three branches: the few conventions that differ between the simulators
// (aeroquin::simulator), so that the rest of the module never tests a platform macro.
#pragma once

#ifdef _WIN32

// The simulator exports its vessel class's GetClassName as GetClassNameA: with UNICODE,
// windows.h would rename it to GetClassNameW, a symbol the simulator does not have.
#if defined(UNICODE) || defined(_UNICODE)
#error "Build with the multibyte character set: UNICODE renames the SDK's GetClassName"
#endif
// ORBITER_MODULE makes the SDK declare its own ModuleDate and expects its Orbitersdk.lib, which
// defines DllMain and GetModuleVersion; the module defines all three itself.
#ifdef ORBITER_MODULE
#error "Build the module without ORBITER_MODULE: it defines its own entry points"
#endif

// MSVC's windows.h defines min and max macros in C++ too (MinGW's does not, so the
// cross-compile check would not notice them breaking std::numeric_limits<T>::max()).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The simulator's SDK.
#include <Orbitersdk.h>

// Defined by the simulator but declared in none of its headers; the SDK's own entry-point
// library declares them the same way (C++ linkage).
__declspec(dllimport) void InitLib(HINSTANCE hModule);
__declspec(dllimport) int Date2Int(char* date);

#elif defined(AEROQUIN_ORBITER_LINUX)

#include <cstdint>

// The simulator's SDK, as system headers: its warnings are not ours.
#include <Orbitersdk.h>

// The module's instance handle is the library's dlopen handle.
using HINSTANCE = MODULEHANDLE;

// Exported by the simulator but declared in none of its headers (C++ linkage). InitLib calls the
// library's InitModule: the simulator's loader does not.
OAPIFUNC void InitLib(MODULEHANDLE hModule);
OAPIFUNC int Date2Int(const char* date);

#else

#include <cstdint>

// The simulator's own names and records, spelled as its SDK spells them.
// NOLINTBEGIN

#define OAPIFUNC __attribute__((visibility("default")))
#define DLLCLBK extern "C" __attribute__((visibility("default")))

using DWORD = std::uint32_t;
using UINT = unsigned int;

// Opaque handles owned by the host; null means none.
using OBJHANDLE = void*;
using FILEHANDLE = void*;
using NOTEHANDLE = void*;
using ATTACHMENTHANDLE = void*;
using DOCKHANDLE = void*;
using THRUSTER_HANDLE = void*;
// On Linux: the library's own dlopen handle.
using HINSTANCE = void*;

// Three doubles; x, y, z alias data[0..2].
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
union VECTOR3 {
    double data[3];
    struct {
        double x, y, z;
    };
};
// A 3x3 matrix, row by row: m12 is row 1, column 2.
union MATRIX3 {
    double data[9];
    struct {
        double m11, m12, m13, m21, m22, m23, m31, m32, m33;
    };
};
#pragma GCC diagnostic pop

// A planet's atmosphere parameters (SI units).
struct ATMCONST {
    double p0;          // static pressure at mean radius, Pa
    double rho0;        // density at mean radius, kg/m^3
    double R;           // specific gas constant, J/(kg K)
    double gamma;       // ratio of specific heats
    double C;           // exponent for pressure equation (temporary)
    double O2pp;        // partial pressure of oxygen, fraction
    double altlimit;    // altitude above which there is no atmosphere, m
    double radlimit;    // radius limit (altlimit + mean radius), m
    double horizonalt;  // horizon rendering altitude, m
    VECTOR3 color0;     // sky colour at sea level, RGB 0..1
};

// Vessel state, first generation. Positions and velocities are relative to rbody, global frame.
struct VESSELSTATUS {
    VECTOR3 rpos;  // position, m
    VECTOR3 rvel;  // velocity, m/s
    VECTOR3 vrot;  // angular velocity, rad/s, vessel frame
    VECTOR3 arot;  // attitude, Euler angles, rad
    double fuel;
    double eng_main;
    double eng_hovr;
    OBJHANDLE rbody;  // reference body
    OBJHANDLE base;   // landing base, if landed
    int port;
    int status;  // 0 free flight, 1 landed
    VECTOR3 vdata[10];
    double fdata[10];
    DWORD flag[10];
};

// Vessel state, extended record. The host fills it only when `version` is 2.
struct VESSELSTATUS2 {
    DWORD version;
    DWORD flag;
    OBJHANDLE rbody;
    OBJHANDLE base;
    int port;
    int status;    // 0 free flight, 1 landed
    VECTOR3 rpos;  // position relative to rbody, global frame, m
    VECTOR3 rvel;  // velocity relative to rbody, global frame, m/s
    VECTOR3 vrot;  // angular velocity, vessel frame, rad/s
    VECTOR3 arot;  // attitude, Euler angles, rad
    double surf_lng;
    double surf_lat;
    double surf_hdg;
    DWORD nfuel;
    struct FUELSPEC {
        DWORD idx;
        double level;
    } * fuel;
    DWORD nthruster;
    struct THRUSTSPEC {
        DWORD idx;
        double level;
    } * thruster;
    DWORD ndockinfo;
    struct DOCKINFOSPEC {
        DWORD idx;
        DWORD ridx;
        OBJHANDLE rvessel;
    } * dockinfo;
    DWORD xpdr;
};

// The control surfaces' types.
enum AIRCTRL_TYPE {
    AIRCTRL_ELEVATOR,
    AIRCTRL_RUDDER,
    AIRCTRL_AILERON,
    AIRCTRL_FLAP,
    AIRCTRL_ELEVATORTRIM,
    AIRCTRL_RUDDERTRIM
};

enum FileAccessMode { FILE_IN = 0, FILE_OUT = 1, FILE_APP = 2, FILE_IN_ZEROONFAIL = 3 };
enum PathRoot {
    ROOT = 0,
    CONFIG = 1,
    SCENARIOS = 2,
    TEXTURES = 3,
    TEXTURES2 = 4,
    MESHES = 5,
    MODULES = 6
};

// A vessel's interface. The host owns every VESSEL object and defines its member functions;
// the class has no virtual functions. Frames: vessel x right, y up, z forward; local horizon
// x east, y up, z north; global frame as the host's state records use it.
class OAPIFUNC VESSEL {
  public:
    explicit VESSEL(OBJHANDLE hVessel, int fmodel = 1);
    VESSEL(const VESSEL&) = delete;
    VESSEL& operator=(const VESSEL&) = delete;
    ~VESSEL();

    // The SDK returns the two handles const; MSVC encodes that in the symbol's name.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
    const OBJHANDLE GetHandle() const;
    char* GetClassNameA() const;
    const OBJHANDLE GetSurfaceRef() const;
#pragma GCC diagnostic pop
    void GetStatus(VESSELSTATUS& status) const;
    void GetStatusEx(void* status) const;  // a VESSELSTATUS2 with its version set
    void DefSetState(const VESSELSTATUS* status) const;
    void DefSetStateEx(const void* status) const;
    // Longitude and latitude in rad, radius in m, in the rotating frame of the returned body.
    OBJHANDLE GetEquPos(double& longitude, double& latitude, double& radius) const;
    void HorizonInvRot(const VECTOR3& rhorizon, VECTOR3& rlocal) const;
    void GlobalRot(const VECTOR3& rloc, VECTOR3& rglob) const;
    double GetAtmTemperature() const;  // K
    double GetAtmDensity() const;      // kg/m^3
    double GetLift() const;            // N, signed, of the step just integrated
    double GetDrag() const;            // N, signed, of the step just integrated
    // The torque of the step just integrated, N m, vessel frame, about the centre of gravity:
    // every force F at r adds F x r (x: nose-up positive), airfoils their moment coefficients,
    // rotation damping its share; no gravity-gradient or ground-contact torque.
    void GetAngularMoment(VECTOR3& amom) const;
    // N, vessel frame: every force of the step but gravity (lift, drag, control surfaces, thrust).
    void GetLinearMoment(VECTOR3& F) const;
    // Aerodynamic control mode: bit 0 elevator, bit 1 rudder, bit 2 ailerons follow the user's
    // input (the Linux build's type is int).
    DWORD GetADCtrlMode() const;
    void SetADCtrlMode(DWORD mode) const;
    // `direct`: the next step uses the level as it is, without the surface's ramp.
    void SetControlSurfaceLevel(AIRCTRL_TYPE type, double level, bool direct) const;
    // The level the last step used, -1 to 1.
    double GetControlSurfaceLevel(AIRCTRL_TYPE type) const;
    // Attachment points; `toparent`: the points by which this vessel hangs on a parent.
    DWORD AttachmentCount(bool toparent) const;
    ATTACHMENTHANDLE GetAttachmentHandle(bool toparent, DWORD i) const;
    // The vessel attached at that point; null when none.
    OBJHANDLE GetAttachmentStatus(ATTACHMENTHANDLE attachment) const;
    UINT DockCount() const;
    DOCKHANDLE GetDockHandle(UINT n) const;
    OBJHANDLE GetDockStatus(DOCKHANDLE hDock) const;  // the vessel docked there, or null
    // Thrusters: engines and attitude jets (the Linux build counts and indexes with int).
    DWORD GetThrusterCount() const;
    THRUSTER_HANDLE GetThrusterHandleByIndex(DWORD idx) const;  // null beyond the count
    double GetThrusterLevel(THRUSTER_HANDLE th) const;          // 0 to 1
    // The thrusters' summed force, N, vessel frame; false when it is 0.
    bool GetThrustVector(VECTOR3& T) const;
    double GetMass() const;                   // kg
    void GetPMI(VECTOR3& pmi) const;          // principal moments of inertia per unit mass, m^2
    void GetAngularVel(VECTOR3& avel) const;  // rad/s, vessel frame
    // Not called by the module; the free-flight test plug-in flies the vessel with them.
    // The attitude: vessel frame -> global frame.
    void SetRotationMatrix(const MATRIX3& R) const;
    // A force F (N) at r (m), both in the vessel frame, for the next step only.
    void AddForce(const VECTOR3& F, const VECTOR3& r) const;

  private:
    OBJHANDLE hVessel_;
    int flightModel_;
};

namespace oapi {

class OAPIFUNC ModuleNV {
  public:
    explicit ModuleNV(HINSTANCE hDLL);
    ModuleNV(const ModuleNV&) = delete;
    ModuleNV& operator=(const ModuleNV&) = delete;
    virtual ~ModuleNV();
    HINSTANCE GetModule() const;

  protected:
    HINSTANCE hModule;
};

// A plug-in module registered with oapiRegisterModule. The host owns a registered module,
// calls its callbacks on the simulation thread and deletes it before unloading the library.
class OAPIFUNC Module : public ModuleNV {
  public:
    enum RenderMode { RENDER_NONE = 0, RENDER_FULLSCREEN = 1, RENDER_WINDOW = 2 };

    explicit Module(HINSTANCE hDLL);
    ~Module() override;
    virtual void clbkSimulationStart(RenderMode mode);
    virtual void clbkSimulationEnd();
    // Simulated time in s, step in s, modified Julian date in days.
    virtual void clbkPreStep(double simt, double simdt, double mjd);
    virtual void clbkPostStep(double simt, double simdt, double mjd);
    virtual void clbkTimeJump(double simt, double simdt, double mjd);
    virtual void clbkFocusChanged(OBJHANDLE new_focus, OBJHANDLE old_focus);
    virtual void clbkTimeAccChanged(double new_warp, double old_warp);
    virtual void clbkNewVessel(OBJHANDLE hVessel);
    virtual void clbkDeleteVessel(OBJHANDLE hVessel);
    virtual void clbkVesselJump(OBJHANDLE hVessel);
    virtual void clbkPause(bool pause);
};

}  // namespace oapi

// Module and library.
OAPIFUNC void oapiRegisterModule(oapi::Module* module);
OAPIFUNC void InitLib(HINSTANCE hModule);
// "Mmm dd yyyy" -> (yyyy mod 100) * 10000 + month * 100 + day.
OAPIFUNC int Date2Int(char* date);

// Log: one call, one line.
OAPIFUNC void oapiWriteLog(char* line);

// Files. Item files are read with FILE_IN; text files are written with FILE_OUT.
OAPIFUNC FILEHANDLE oapiOpenFile(const char* fname, FileAccessMode mode, PathRoot root = ROOT);
OAPIFUNC void oapiCloseFile(FILEHANDLE file, FileAccessMode mode);
// `string` must hold 1000 characters.
OAPIFUNC bool oapiReadItem_string(FILEHANDLE file, char* item, char* string);
OAPIFUNC bool oapiReadItem_int(FILEHANDLE file, char* item, int& value);
OAPIFUNC void oapiWriteLine(FILEHANDLE file, char* line);

// Vessels and bodies.
OAPIFUNC OBJHANDLE oapiGetVesselByName(char* name);
OAPIFUNC VESSEL* oapiGetVesselInterface(OBJHANDLE hVessel);
// Whether the handle is a vessel of the simulation now: a deleted vessel's handle is not.
OAPIFUNC bool oapiIsVessel(OBJHANDLE hVessel);
// The object's name in `name`, at most n characters with the NUL.
OAPIFUNC void oapiGetObjectName(OBJHANDLE hObj, char* name, int n);
OAPIFUNC double oapiGetSize(OBJHANDLE hObj);             // mean radius, m
OAPIFUNC double oapiGetMass(OBJHANDLE hObj);             // kg
OAPIFUNC double oapiGetPlanetPeriod(OBJHANDLE hPlanet);  // sidereal rotation period, s
OAPIFUNC const ATMCONST* oapiGetPlanetAtmConstants(OBJHANDLE hPlanet);  // null: no atmosphere

// Annotations: text boxes on screen, box edges as fractions of the screen.
OAPIFUNC NOTEHANDLE oapiCreateAnnotation(bool exclusive, double size, const VECTOR3& colour);
OAPIFUNC void oapiAnnotationSetPos(NOTEHANDLE hNote, double x1, double y1, double x2, double y2);
OAPIFUNC void oapiAnnotationSetText(NOTEHANDLE hNote, char* note);
OAPIFUNC bool oapiDelAnnotation(NOTEHANDLE hNote);  // accepts null

// NOLINTEND

#endif

#ifndef _WIN32
// Platform layer (the operating system's on Windows).
// NOLINTBEGIN
using WORD = std::uint16_t;
using FARPROC = void (*)();
struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
#ifdef AEROQUIN_ORBITER_LINUX
// Defined by the module itself (module/simulator/LinuxPlatform.cpp), hidden like the rest of it.
#define AEROQUIN_PLATFORM_FUNC
#else
#define AEROQUIN_PLATFORM_FUNC OAPIFUNC
#endif
AEROQUIN_PLATFORM_FUNC void GetSystemTime(SYSTEMTIME* time);  // UTC
AEROQUIN_PLATFORM_FUNC FARPROC GetProcAddress(HINSTANCE hModule, const char* name);
// NOLINTEND
#endif

#include <algorithm>
#include <cstddef>
#include <string>

namespace aeroquin::simulator {

// The bytes of a line end in a text file the simulator writes: its streams are in text mode.
#ifdef _WIN32
inline constexpr std::size_t kLineEndBytes = 2;  // "\r\n"
#else
inline constexpr std::size_t kLineEndBytes = 1;
#endif

// The value buffer that oapiReadItem_string fills: this many characters, the NUL included.
inline constexpr std::size_t kItemBufferSize = 1000;

// The inline namespaces give each set its own symbols: the tests link both into one program.
#if defined(AEROQUIN_ORBITER_LINUX) || defined(AEROQUIN_LINUX_CONVENTIONS)
inline namespace linux_build {
// The Linux build opens paths as they are written: a '\\' would be part of a file name.
inline constexpr char kPathSeparator = '/';
// Its render modes are 0 full screen and 1 windowed: there is always a screen.
[[nodiscard]] constexpr bool showsAnnotations(int /*renderMode*/) {
    return true;
}
// A path the simulator opens, as this process's standard library finds the same file: the
// simulator's root is the process's working folder.
[[nodiscard]] inline std::string localPath(std::string path) {
    return path;
}
}  // namespace linux_build
#else
inline namespace windows_build {
inline constexpr char kPathSeparator = '\\';
// Render mode 0 is RENDER_NONE: no graphics client, the text only goes to the log.
[[nodiscard]] constexpr bool showsAnnotations(int renderMode) {
    return renderMode != 0;
}
// A path the simulator opens, as this process's standard library finds the same file: the
// simulator's root is the process's working folder. Off Windows (the stand-in) '\\' is read
// as '/', as the stand-in reads it.
[[nodiscard]] inline std::string localPath(std::string path) {
#ifndef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return path;
}
}  // namespace windows_build
#endif

// The vessel's class name; the Linux build has no A suffix.
[[nodiscard]] inline const char* className(const VESSEL& vessel) {
#ifdef AEROQUIN_ORBITER_LINUX
    return vessel.GetClassName();
#else
    return vessel.GetClassNameA();
#endif
}

}  // namespace aeroquin::simulator
