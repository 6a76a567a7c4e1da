// The plug-in library's face towards the host: the three exported entry points and the hooks
// that run when the library is attached to and detached from the process.
#include "module/capture/AeroquinModule.h"
#include "module/simulator/HostApi.h"

#include <string>

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace {

using ExitHook = void (*)(HINSTANCE);

// Library-wide state forced by the loader's hooks and the version entry point.
ExitHook exitHook = nullptr;
int cachedVersion = 0;  // 0: not computed yet

// An entry point comes back as a generic function pointer; its real type is ExitHook. The
// detour through void (*)() tells GCC the cast between function types is meant (Windows'
// FARPROC returns INT_PTR).
// NOLINTBEGIN(cppcoreguidelines-pro-type-reinterpret-cast)
ExitHook exitHookNamed(HINSTANCE instance, const char* name) {
    return reinterpret_cast<ExitHook>(reinterpret_cast<void (*)()>(GetProcAddress(instance, name)));
}
// NOLINTEND(cppcoreguidelines-pro-type-reinterpret-cast)

void attach(HINSTANCE instance) {
    InitLib(instance);
    // The library exports neither entry, so both lookups normally find nothing.
    exitHook = exitHookNamed(instance, "ExitModule");
    if (exitHook == nullptr) {
        exitHook = exitHookNamed(instance, "opcDLLExit");
    }
}

void detach(HINSTANCE instance) {
    if (exitHook != nullptr) {
        exitHook(instance);
    }
}

#ifndef _WIN32
// ELF has no instance handle for its constructors: find our own handle through the loader.
// RTLD_NOLOAD takes no new reference beyond the one dropped at once; the handle stays valid
// while the library is loaded.
HINSTANCE ownHandle() {
    Dl_info info{};
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): dladdr takes any address
    if (dladdr(reinterpret_cast<void*>(&ownHandle), &info) == 0 || info.dli_fname == nullptr) {
        return nullptr;
    }
    void* handle = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (handle != nullptr) {
        dlclose(handle);
    }
    return handle;
}

HINSTANCE attachedInstance = nullptr;

__attribute__((constructor)) void onAttach() {
    attachedInstance = ownHandle();
    attach(attachedInstance);
}
__attribute__((destructor)) void onDetach() {
    detach(attachedInstance);
}
#endif

}  // namespace

#ifdef _WIN32
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        attach(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        detach(instance);
    }
    return TRUE;
}
#endif

// The entry points keep the names the simulator looks up.
// NOLINTBEGIN(readability-identifier-naming)

// The host takes ownership of the registered module.
DLLCLBK void InitModule(HINSTANCE instance) {
    oapiRegisterModule(new aeroquin::AeroquinModule(instance));
}

DLLCLBK const char* ModuleDate() {
    return "Sep 18 2011";
}

DLLCLBK int GetModuleVersion() {
    if (cachedVersion == 0) {
        std::string date = "Aug 30 2010";  // the host takes a mutable text
        cachedVersion = Date2Int(date.data());
    }
    return cachedVersion;
}

// NOLINTEND(readability-identifier-naming)
