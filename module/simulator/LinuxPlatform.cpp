// The two operating-system calls of the module, for the simulator's Linux build, which has no
// Windows API: the UTC clock and a look-up in the module's own library.
#include <dlfcn.h>
#include <sys/time.h>

#include <ctime>

#include "module/simulator/HostApi.h"

void GetSystemTime(SYSTEMTIME* time) {
    timeval now{};
    gettimeofday(&now, nullptr);
    std::tm utc{};
    gmtime_r(&now.tv_sec, &utc);
    time->wYear = static_cast<WORD>(utc.tm_year + 1900);
    time->wMonth = static_cast<WORD>(utc.tm_mon + 1);
    time->wDayOfWeek = static_cast<WORD>(utc.tm_wday);
    time->wDay = static_cast<WORD>(utc.tm_mday);
    time->wHour = static_cast<WORD>(utc.tm_hour);
    time->wMinute = static_cast<WORD>(utc.tm_min);
    time->wSecond = static_cast<WORD>(utc.tm_sec);
    time->wMilliseconds = static_cast<WORD>(now.tv_usec / 1000);
}

FARPROC GetProcAddress(HINSTANCE hModule, const char* name) {
    // POSIX lets a data pointer from dlsym become a function pointer.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
    return hModule == nullptr ? nullptr : reinterpret_cast<FARPROC>(dlsym(hModule, name));
}
