// The host interface's files.
#include "host/interface/HostContext.h"
#include "module/simulator/HostApi.h"

using aeroquin::host::HostContext;
using aeroquin::host::TraceResult;

FILEHANDLE oapiOpenFile(const char* fname, FileAccessMode mode, PathRoot root) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return nullptr;
    }
    FILEHANDLE file = host->files().open(fname, mode, root);
    if (host->trace().on()) {
        host->trace().line("oapiOpenFile", fname, mode, root, TraceResult{}, file);
    }
    return file;
}

void oapiCloseFile(FILEHANDLE file, FileAccessMode mode) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    if (host->trace().on()) {
        host->trace().line("oapiCloseFile", file, mode);
    }
    host->files().close(file, mode);
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
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    if (host->trace().on()) {
        host->trace().line("oapiWriteLine", file, line);
    }
    host->files().writeLine(file, line);
}
