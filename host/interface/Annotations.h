// The module's on-screen text boxes. The host owns every annotation; whatever the module does
// not delete is freed at the end of the run. Only the terminal display draws them.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/interface/HandleTable.h"
#include "host/interface/HostLog.h"
#include "module/simulator/HostApi.h"

namespace aeroquin::host {

struct Annotation {
    bool exclusive = false;
    double size = 1.0;                              // relative text size
    VECTOR3 colour{{0.0, 0.0, 0.0}};                // red, green, blue, 0..1
    std::array<double, 4> box{0.0, 0.0, 1.0, 1.0};  // left, top, right, bottom, screen fractions
    std::string text;
};

class Annotations {
  public:
    // `log` receives the host: lines and must outlive this. Without a graphics client (start
    // argument 0) no annotation is ever made: create answers null, as in the simulator.
    Annotations(HostLog& log, bool graphics) : log_(log), graphics_(graphics) {}
    Annotations(const Annotations&) = delete;
    Annotations& operator=(const Annotations&) = delete;
    Annotations(Annotations&&) = delete;
    Annotations& operator=(Annotations&&) = delete;
    ~Annotations() = default;

    NOTEHANDLE create(bool exclusive, double size, const VECTOR3& colour);
    // Null is accepted silently by all three; remove answers false for it.
    void setPos(NOTEHANDLE handle, double x1, double y1, double x2, double y2);
    void setText(NOTEHANDLE handle, const char* text);
    // A foreign handle, or one of an annotation already deleted, answers false with a host:
    // line.
    bool remove(NOTEHANDLE handle);

    // The text most recently set on a live annotation; empty when none.
    [[nodiscard]] std::string_view latestText() const;
    // The simulation ends: every annotation goes, silently, as the simulator deletes them
    // before its simulation-end callback. The handles are remembered so that the module's own
    // deletion afterwards answers false with a host: line that says why.
    void deleteAtSimulationEnd();
    // Frees what the module left, with a host: line.
    void releaseAll();

  private:
    Annotation* find(NOTEHANDLE handle, const char* operation);

    HostLog& log_;
    bool graphics_;
    bool nullReported_ = false;
    std::vector<NOTEHANDLE> deletedAtEnd_;  // compared only, never followed
    HandleTable<Annotation> notes_{0xA0770000};
    const Annotation* latest_ = nullptr;
};

}  // namespace aeroquin::host
