#include "host/interface/Annotations.h"

#include <algorithm>
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
    notes_.push_back(std::move(note));
    return notes_.back().get();
}

Annotation* Annotations::find(NOTEHANDLE handle, const char* operation) {
    if (handle == nullptr) {
        return nullptr;
    }
    for (const auto& note : notes_) {
        if (note.get() == handle) {
            return note.get();
        }
    }
    if (std::find(deletedAtEnd_.begin(), deletedAtEnd_.end(), handle) != deletedAtEnd_.end()) {
        log_.host(std::string(operation) +
                  ": the annotation was already deleted at the simulation's end");
        return nullptr;
    }
    char text[96];
    std::snprintf(text, sizeof text, "%s: %p is not an annotation", operation, handle);
    log_.host(text);
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
    std::erase_if(notes_, [note](const auto& owned) { return owned.get() == note; });
    return true;
}

std::string_view Annotations::latestText() const {
    return latest_ == nullptr ? std::string_view{} : std::string_view{latest_->text};
}

void Annotations::deleteAtSimulationEnd() {
    for (const auto& note : notes_) {
        deletedAtEnd_.push_back(note.get());
    }
    latest_ = nullptr;
    notes_.clear();
}

void Annotations::releaseAll() {
    if (!notes_.empty()) {
        log_.host(std::to_string(notes_.size()) +
                  (notes_.size() == 1 ? " annotation was" : " annotations were") +
                  " left by the module; freed");
    }
    latest_ = nullptr;
    notes_.clear();
}

}  // namespace aeroquin::host
