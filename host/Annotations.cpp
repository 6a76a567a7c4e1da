#include "host/Annotations.h"

#include <algorithm>
#include <cstdio>

namespace aeroquin::host {

NOTEHANDLE Annotations::create(bool exclusive, double size, const VECTOR3& colour) {
    auto note = std::make_unique<Annotation>();
    note->exclusive = exclusive;
    note->size = size;
    note->colour = colour;
    notes_.push_back(std::move(note));
    return notes_.back().get();
}

Annotation* Annotations::find(NOTEHANDLE handle, const char* operation) {
    for (const auto& note : notes_) {
        if (note.get() == handle) {
            return note.get();
        }
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
    if (handle == nullptr) {
        return false;
    }
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
