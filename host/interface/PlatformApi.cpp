// The operating-system calls the module makes: the clock and its own exports.
#include "host/interface/Clock.h"
#include "host/interface/HostContext.h"
#include "host/interface/ModuleLibrary.h"
#include "module/simulator/HostApi.h"

using aeroquin::host::HostContext;
using aeroquin::host::TraceResult;

void GetSystemTime(SYSTEMTIME* time) {
    HostContext* host = HostContext::active();
    if (time == nullptr) {
        if (host != nullptr) {
            host->log().host("GetSystemTime: null record ignored");
        }
        return;
    }
    *time = host != nullptr ? host->clock().systemTime()
                            : aeroquin::host::Clock(std::nullopt).systemTime();
    if (host != nullptr && host->trace().on()) {
        host->trace().line("GetSystemTime", TraceResult{}, time->wYear, time->wMonth, time->wDay,
                           time->wHour, time->wMinute, time->wSecond);
    }
}

FARPROC GetProcAddress(HINSTANCE hModule, const char* name) {
    void* address = aeroquin::host::librarySymbol(hModule, name);
    HostContext* host = HostContext::active();
    if (host != nullptr && host->trace().on()) {
        host->trace().line("GetProcAddress", hModule, name, TraceResult{}, address);
    }
    // The loader gives functions as object addresses; the platform's type is a function pointer.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
    return reinterpret_cast<FARPROC>(address);
}
