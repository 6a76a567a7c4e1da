// The host interface's files.
#include "host/interface/HostCall.h"
#include "module/simulator/HostApi.h"

using aeroquin::host::hostCall;
using aeroquin::host::HostContext;
using aeroquin::host::TraceResult;

FILEHANDLE oapiOpenFile(const char* fname, FileAccessMode mode, PathRoot root) {
    return hostCall<FILEHANDLE>(
        "oapiOpenFile", [&](HostContext& host) { return host.files().open(fname, mode, root); },
        fname, mode, root);
}

void oapiCloseFile(FILEHANDLE file, FileAccessMode mode) {
    hostCall(
        "oapiCloseFile", [&](HostContext& host) { host.files().close(file, mode); }, file, mode);
}

bool oapiReadItem_string(FILEHANDLE file, char* item, char* string) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return false;
    }
    const bool found = host->files().readString(file, item, string);
    if (host->trace().on()) {
        if (found) {
            host->trace().line("oapiReadItem_string", file, item, TraceResult{}, true, string);
        } else {
            host->trace().line("oapiReadItem_string", file, item, TraceResult{}, false);
        }
    }
    return found;
}

bool oapiReadItem_int(FILEHANDLE file, char* item, int& value) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return false;
    }
    const bool found = host->files().readInt(file, item, value);
    if (host->trace().on()) {
        if (found) {
            host->trace().line("oapiReadItem_int", file, item, TraceResult{}, true, value);
        } else {
            host->trace().line("oapiReadItem_int", file, item, TraceResult{}, false);
        }
    }
    return found;
}

void oapiWriteLine(FILEHANDLE file, char* line) {
    hostCall(
        "oapiWriteLine", [&](HostContext& host) { host.files().writeLine(file, line); }, file,
        line);
}
