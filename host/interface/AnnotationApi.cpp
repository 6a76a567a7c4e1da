// The host interface's annotations.
#include "host/interface/HostContext.h"
#include "module/simulator/HostApi.h"

using aeroquin::host::HostContext;
using aeroquin::host::TraceResult;

NOTEHANDLE oapiCreateAnnotation(bool exclusive, double size, const VECTOR3& colour) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return nullptr;
    }
    NOTEHANDLE note = host->annotations().create(exclusive, size, colour);
    if (host->trace().on()) {
        host->trace().line("oapiCreateAnnotation", exclusive, size, colour.x, colour.y, colour.z,
                           TraceResult{}, note);
    }
    return note;
}

void oapiAnnotationSetPos(NOTEHANDLE hNote, double x1, double y1, double x2, double y2) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    if (host->trace().on()) {
        host->trace().line("oapiAnnotationSetPos", hNote, x1, y1, x2, y2);
    }
    host->annotations().setPos(hNote, x1, y1, x2, y2);
}

void oapiAnnotationSetText(NOTEHANDLE hNote, char* note) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    if (host->trace().on()) {
        host->trace().line("oapiAnnotationSetText", hNote, note);
    }
    host->annotations().setText(hNote, note);
}

bool oapiDelAnnotation(NOTEHANDLE hNote) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return false;
    }
    const bool removed = host->annotations().remove(hNote);
    if (host->trace().on()) {
        host->trace().line("oapiDelAnnotation", hNote, TraceResult{}, removed);
    }
    return removed;
}
