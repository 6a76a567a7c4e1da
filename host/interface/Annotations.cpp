#include "host/interface/Annotations.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

namespace aeroquin::host {

NOTEHANDLE Annotations::create(bool exclusive, double size, const VECTOR3& colour) {
    if (!graphics_) {
        if (!nullReported_) {
            nullReported_ = true;
            log_.host(
                "oapiCreateAnnotation: no graphics client (--display none, start argument "
                "0); answered null, as the simulator does");
        }
        return nullptr;
    }
    auto note = std::make_unique<Annotation>();
    note->exclusive = exclusive;
    note->size = size;
    note->colour = colour;
    return notes_.add(std::move(note));
}

Annotation* Annotations::find(NOTEHANDLE handle, const char* operation) {
    const auto found = notes_.find(handle);
    if (found.state == HandleTable<Annotation>::State::live ||
        found.state == HandleTable<Annotation>::State::null) {
        return found.object;
    }
    if (std::find(deletedAtEnd_.begin(), deletedAtEnd_.end(), handle) != deletedAtEnd_.end()) {
        log_.host(std::string(operation) +
                  ": the annotation was already deleted at the simulation's end");
        return nullptr;
    }
    std::array<char, 112> text{};
    std::snprintf(text.data(), text.size(),
                  found.state == HandleTable<Annotation>::State::ended
                      ? "%s: %p is the handle of an annotation already deleted"
                      : "%s: %p is not an annotation",
                  operation, handle);
    log_.host(text.data());
    return nullptr;
}

void Annotations::setPos(NOTEHANDLE handle, double x1, double y1, double x2, double y2) {
    if (Annotation* note = find(handle, "oapiAnnotationSetPos")) {
        note->box[0] = x1;
        note->box[1] = y1;
        note->box[2] = x2;
        note->box[3] = y2;
    }
}

void Annotations::setText(NOTEHANDLE handle, const char* text) {
    if (Annotation* note = find(handle, "oapiAnnotationSetText")) {
        // assign keeps the capacity: no allocation once the text has been this long.
        note->text.assign(text == nullptr ? "" : text);
        latest_ = note;
    }
}

bool Annotations::remove(NOTEHANDLE handle) {
    const Annotation* note = find(handle, "oapiDelAnnotation");
    if (note == nullptr) {
        return false;
    }
    if (latest_ == note) {
        latest_ = nullptr;
    }
    notes_.take(handle);
    return true;
}

std::string_view Annotations::latestText() const {
    return latest_ == nullptr ? std::string_view{} : std::string_view{latest_->text};
}

void Annotations::deleteAtSimulationEnd() {
    for (const auto& [id, note] : notes_.live()) {
        static_cast<void>(note);
        deletedAtEnd_.push_back(notes_.handleOf(id));
    }
    latest_ = nullptr;
    notes_.clear();
}

void Annotations::releaseAll() {
    if (!notes_.live().empty()) {
        const std::size_t count = notes_.live().size();
        log_.host(std::to_string(count) + (count == 1 ? " annotation was" : " annotations were") +
                  " left by the module; freed");
    }
    latest_ = nullptr;
    notes_.clear();
}

}  // namespace aeroquin::host
