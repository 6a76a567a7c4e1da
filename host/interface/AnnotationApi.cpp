// The host interface's annotations.
#include "host/interface/HostCall.h"
#include "module/simulator/HostApi.h"

using aeroquin::host::hostCall;
using aeroquin::host::HostContext;

NOTEHANDLE oapiCreateAnnotation(bool exclusive, double size, const VECTOR3& colour) {
    return hostCall<NOTEHANDLE>(
        "oapiCreateAnnotation",
        [&](HostContext& host) { return host.annotations().create(exclusive, size, colour); },
        exclusive, size, colour.x, colour.y, colour.z);
}

void oapiAnnotationSetPos(NOTEHANDLE hNote, double x1, double y1, double x2, double y2) {
    hostCall(
        "oapiAnnotationSetPos",
        [&](HostContext& host) { host.annotations().setPos(hNote, x1, y1, x2, y2); }, hNote, x1, y1,
        x2, y2);
}

void oapiAnnotationSetText(NOTEHANDLE hNote, char* note) {
    hostCall(
        "oapiAnnotationSetText",
        [&](HostContext& host) { host.annotations().setText(hNote, note); }, hNote, note);
}

bool oapiDelAnnotation(NOTEHANDLE hNote) {
    return hostCall<bool>(
        "oapiDelAnnotation", [&](HostContext& host) { return host.annotations().remove(hNote); },
        hNote);
}
