// The simulator's interface as the module uses it, recorded once: the names, record layouts
// (64-bit Windows, which Linux's LP64 matches for these records), enumerator values and
// signatures that module/simulator/HostApi.h must declare. HostApiRecordCheck.cpp asserts them
// natively against HostApi.h's Linux declarations and, cross-compiled, against the simulator's
// SDK, so a drift on either side fails its build.
//
// A function the module starts or stops calling is added to or removed from the tables here.
#pragma once

// The tables are X-macros: each check expands them with its own X.
// NOLINTBEGIN(cppcoreguidelines-macro-usage)

// Handle and word types: X(name, type the name stands for).
#define AEROQUIN_SIMULATOR_TYPES(X) \
    X(OBJHANDLE, void*)             \
    X(FILEHANDLE, void*)            \
    X(NOTEHANDLE, void*)            \
    X(ATTACHMENTHANDLE, void*)      \
    X(DOCKHANDLE, void*)            \
    X(THRUSTER_HANDLE, void*)

// X(name, bytes).
#define AEROQUIN_SIMULATOR_WORDS(X) \
    X(DWORD, 4)                     \
    X(WORD, 2)                      \
    X(UINT, 4)

// X(record, bytes, alignment).
#define AEROQUIN_SIMULATOR_RECORDS(X)     \
    X(VECTOR3, 24, 8)                     \
    X(ATMCONST, 96, 8)                    \
    X(VESSELSTATUS, 504, 8)               \
    X(VESSELSTATUS2, 208, 8)              \
    X(VESSELSTATUS2::FUELSPEC, 16, 8)     \
    X(VESSELSTATUS2::THRUSTSPEC, 16, 8)   \
    X(VESSELSTATUS2::DOCKINFOSPEC, 16, 8) \
    X(SYSTEMTIME, 16, 2)

// X(record, field, type, offset in bytes).
#define AEROQUIN_SIMULATOR_FIELDS(X)                              \
    X(VECTOR3, data, double[3], 0)                                \
    X(VECTOR3, x, double, 0)                                      \
    X(VECTOR3, y, double, 8)                                      \
    X(VECTOR3, z, double, 16)                                     \
    X(ATMCONST, p0, double, 0)                                    \
    X(ATMCONST, rho0, double, 8)                                  \
    X(ATMCONST, R, double, 16)                                    \
    X(ATMCONST, gamma, double, 24)                                \
    X(ATMCONST, C, double, 32)                                    \
    X(ATMCONST, O2pp, double, 40)                                 \
    X(ATMCONST, altlimit, double, 48)                             \
    X(ATMCONST, radlimit, double, 56)                             \
    X(ATMCONST, horizonalt, double, 64)                           \
    X(ATMCONST, color0, VECTOR3, 72)                              \
    X(VESSELSTATUS, rpos, VECTOR3, 0)                             \
    X(VESSELSTATUS, rvel, VECTOR3, 24)                            \
    X(VESSELSTATUS, vrot, VECTOR3, 48)                            \
    X(VESSELSTATUS, arot, VECTOR3, 72)                            \
    X(VESSELSTATUS, fuel, double, 96)                             \
    X(VESSELSTATUS, eng_main, double, 104)                        \
    X(VESSELSTATUS, eng_hovr, double, 112)                        \
    X(VESSELSTATUS, rbody, OBJHANDLE, 120)                        \
    X(VESSELSTATUS, base, OBJHANDLE, 128)                         \
    X(VESSELSTATUS, port, int, 136)                               \
    X(VESSELSTATUS, status, int, 140)                             \
    X(VESSELSTATUS, vdata, VECTOR3[10], 144)                      \
    X(VESSELSTATUS, fdata, double[10], 384)                       \
    X(VESSELSTATUS, flag, DWORD[10], 464)                         \
    X(VESSELSTATUS2, version, DWORD, 0)                           \
    X(VESSELSTATUS2, flag, DWORD, 4)                              \
    X(VESSELSTATUS2, rbody, OBJHANDLE, 8)                         \
    X(VESSELSTATUS2, base, OBJHANDLE, 16)                         \
    X(VESSELSTATUS2, port, int, 24)                               \
    X(VESSELSTATUS2, status, int, 28)                             \
    X(VESSELSTATUS2, rpos, VECTOR3, 32)                           \
    X(VESSELSTATUS2, rvel, VECTOR3, 56)                           \
    X(VESSELSTATUS2, vrot, VECTOR3, 80)                           \
    X(VESSELSTATUS2, arot, VECTOR3, 104)                          \
    X(VESSELSTATUS2, surf_lng, double, 128)                       \
    X(VESSELSTATUS2, surf_lat, double, 136)                       \
    X(VESSELSTATUS2, surf_hdg, double, 144)                       \
    X(VESSELSTATUS2, nfuel, DWORD, 152)                           \
    X(VESSELSTATUS2, fuel, VESSELSTATUS2::FUELSPEC*, 160)         \
    X(VESSELSTATUS2, nthruster, DWORD, 168)                       \
    X(VESSELSTATUS2, thruster, VESSELSTATUS2::THRUSTSPEC*, 176)   \
    X(VESSELSTATUS2, ndockinfo, DWORD, 184)                       \
    X(VESSELSTATUS2, dockinfo, VESSELSTATUS2::DOCKINFOSPEC*, 192) \
    X(VESSELSTATUS2, xpdr, DWORD, 200)                            \
    X(VESSELSTATUS2::FUELSPEC, idx, DWORD, 0)                     \
    X(VESSELSTATUS2::FUELSPEC, level, double, 8)                  \
    X(VESSELSTATUS2::THRUSTSPEC, idx, DWORD, 0)                   \
    X(VESSELSTATUS2::THRUSTSPEC, level, double, 8)                \
    X(VESSELSTATUS2::DOCKINFOSPEC, idx, DWORD, 0)                 \
    X(VESSELSTATUS2::DOCKINFOSPEC, ridx, DWORD, 4)                \
    X(VESSELSTATUS2::DOCKINFOSPEC, rvessel, OBJHANDLE, 8)         \
    X(SYSTEMTIME, wYear, WORD, 0)                                 \
    X(SYSTEMTIME, wMonth, WORD, 2)                                \
    X(SYSTEMTIME, wDayOfWeek, WORD, 4)                            \
    X(SYSTEMTIME, wDay, WORD, 6)                                  \
    X(SYSTEMTIME, wHour, WORD, 8)                                 \
    X(SYSTEMTIME, wMinute, WORD, 10)                              \
    X(SYSTEMTIME, wSecond, WORD, 12)                              \
    X(SYSTEMTIME, wMilliseconds, WORD, 14)

// X(enumerator, type, value).
#define AEROQUIN_SIMULATOR_ENUMERATORS(X)                           \
    X(FILE_IN, FileAccessMode, 0)                                   \
    X(FILE_OUT, FileAccessMode, 1)                                  \
    X(FILE_APP, FileAccessMode, 2)                                  \
    X(FILE_IN_ZEROONFAIL, FileAccessMode, 3)                        \
    X(ROOT, PathRoot, 0)                                            \
    X(CONFIG, PathRoot, 1)                                          \
    X(SCENARIOS, PathRoot, 2)                                       \
    X(TEXTURES, PathRoot, 3)                                        \
    X(TEXTURES2, PathRoot, 4)                                       \
    X(MESHES, PathRoot, 5)                                          \
    X(MODULES, PathRoot, 6)                                         \
    X(oapi::Module::RENDER_NONE, oapi::Module::RenderMode, 0)       \
    X(oapi::Module::RENDER_FULLSCREEN, oapi::Module::RenderMode, 1) \
    X(oapi::Module::RENDER_WINDOW, oapi::Module::RenderMode, 2)     \
    X(AIRCTRL_ELEVATOR, AIRCTRL_TYPE, 0)                            \
    X(AIRCTRL_RUDDER, AIRCTRL_TYPE, 1)                              \
    X(AIRCTRL_AILERON, AIRCTRL_TYPE, 2)                             \
    X(AIRCTRL_FLAP, AIRCTRL_TYPE, 3)                                \
    X(AIRCTRL_ELEVATORTRIM, AIRCTRL_TYPE, 4)                        \
    X(AIRCTRL_RUDDERTRIM, AIRCTRL_TYPE, 5)

// Free functions: X(name, function type, number of parameters without a default argument).
// InitLib and Date2Int are the simulator's although no SDK header declares them; GetSystemTime
// and GetProcAddress are the operating system's.
#define AEROQUIN_SIMULATOR_FUNCTIONS(X)                                          \
    X(oapiRegisterModule, void(oapi::Module*), 1)                                \
    X(InitLib, void(HINSTANCE), 1)                                               \
    X(Date2Int, int(char*), 1)                                                   \
    X(oapiWriteLog, void(char*), 1)                                              \
    X(oapiOpenFile, FILEHANDLE(const char*, FileAccessMode, PathRoot), 2)        \
    X(oapiCloseFile, void(FILEHANDLE, FileAccessMode), 2)                        \
    X(oapiReadItem_string, bool(FILEHANDLE, char*, char*), 3)                    \
    X(oapiReadItem_int, bool(FILEHANDLE, char*, int&), 3)                        \
    X(oapiWriteLine, void(FILEHANDLE, char*), 2)                                 \
    X(oapiGetVesselByName, OBJHANDLE(char*), 1)                                  \
    X(oapiGetVesselInterface, VESSEL*(OBJHANDLE), 1)                             \
    X(oapiIsVessel, bool(OBJHANDLE), 1)                                          \
    X(oapiGetObjectName, void(OBJHANDLE, char*, int), 3)                         \
    X(oapiGetSize, double(OBJHANDLE), 1)                                         \
    X(oapiGetMass, double(OBJHANDLE), 1)                                         \
    X(oapiGetPlanetPeriod, double(OBJHANDLE), 1)                                 \
    X(oapiGetPlanetAtmConstants, const ATMCONST*(OBJHANDLE), 1)                  \
    X(oapiCreateAnnotation, NOTEHANDLE(bool, double, const VECTOR3&), 3)         \
    X(oapiAnnotationSetPos, void(NOTEHANDLE, double, double, double, double), 5) \
    X(oapiAnnotationSetText, void(NOTEHANDLE, char*), 2)                         \
    X(oapiDelAnnotation, bool(NOTEHANDLE), 1)                                    \
    X(GetSystemTime, void(SYSTEMTIME*), 1)                                       \
    X(GetProcAddress, FARPROC(HINSTANCE, const char*), 2)

// Members: X(class, name, function type with its qualifiers, parameters without a default).
// The Module callbacks are the ones the module overrides.
#define AEROQUIN_SIMULATOR_MEMBERS(X)                                       \
    X(VESSEL, GetHandle, const OBJHANDLE() const, 0)                        \
    X(VESSEL, GetClassNameA, char*() const, 0)                              \
    X(VESSEL, GetSurfaceRef, const OBJHANDLE() const, 0)                    \
    X(VESSEL, GetStatus, void(VESSELSTATUS&) const, 1)                      \
    X(VESSEL, GetStatusEx, void(void*) const, 1)                            \
    X(VESSEL, DefSetState, void(const VESSELSTATUS*) const, 1)              \
    X(VESSEL, DefSetStateEx, void(const void*) const, 1)                    \
    X(VESSEL, GetEquPos, OBJHANDLE(double&, double&, double&) const, 3)     \
    X(VESSEL, HorizonInvRot, void(const VECTOR3&, VECTOR3&) const, 2)       \
    X(VESSEL, GlobalRot, void(const VECTOR3&, VECTOR3&) const, 2)           \
    X(VESSEL, GetAtmTemperature, double() const, 0)                         \
    X(VESSEL, GetAtmDensity, double() const, 0)                             \
    X(VESSEL, GetLift, double() const, 0)                                   \
    X(VESSEL, GetDrag, double() const, 0)                                   \
    X(VESSEL, GetAngularMoment, void(VECTOR3&) const, 1)                    \
    X(VESSEL, GetLinearMoment, void(VECTOR3&) const, 1)                     \
    X(VESSEL, GetADCtrlMode, DWORD() const, 0)                              \
    X(VESSEL, SetADCtrlMode, void(DWORD) const, 1)                          \
    X(VESSEL, GetControlSurfaceLevel, double(AIRCTRL_TYPE) const, 1)        \
    X(VESSEL, AttachmentCount, DWORD(bool) const, 1)                        \
    X(VESSEL, GetAttachmentHandle, ATTACHMENTHANDLE(bool, DWORD) const, 2)  \
    X(VESSEL, GetAttachmentStatus, OBJHANDLE(ATTACHMENTHANDLE) const, 1)    \
    X(VESSEL, DockCount, UINT() const, 0)                                   \
    X(VESSEL, GetDockHandle, DOCKHANDLE(UINT) const, 1)                     \
    X(VESSEL, GetDockStatus, OBJHANDLE(DOCKHANDLE) const, 1)                \
    X(VESSEL, GetThrusterCount, DWORD() const, 0)                           \
    X(VESSEL, GetThrusterHandleByIndex, THRUSTER_HANDLE(DWORD) const, 1)    \
    X(VESSEL, GetThrusterLevel, double(THRUSTER_HANDLE) const, 1)           \
    X(VESSEL, GetThrustVector, bool(VECTOR3&) const, 1)                     \
    X(VESSEL, GetMass, double() const, 0)                                   \
    X(VESSEL, GetPMI, void(VECTOR3&) const, 1)                              \
    X(VESSEL, GetAngularVel, void(VECTOR3&) const, 1)                       \
    X(oapi::Module, clbkSimulationStart, void(oapi::Module::RenderMode), 1) \
    X(oapi::Module, clbkSimulationEnd, void(), 0)                           \
    X(oapi::Module, clbkPreStep, void(double, double, double), 3)           \
    X(oapi::Module, clbkPostStep, void(double, double, double), 3)          \
    X(oapi::Module, clbkDeleteVessel, void(OBJHANDLE), 1)

// Members the SDK overloads, as the module calls them: X(class, name, function type).
#define AEROQUIN_SIMULATOR_OVERLOADED_MEMBERS(X) \
    X(VESSEL, SetControlSurfaceLevel, void(AIRCTRL_TYPE, double, bool) const)

// NOLINTEND(cppcoreguidelines-macro-usage)
