#include "module/output/FeedbackDisplayer.h"

#include "module/simulator/WriteLog.h"

namespace aeroquin {

namespace {

constexpr double kTextSize = 1.0;
constexpr VECTOR3 kTextColour{{0.8, 0.8, 0.1}};  // RGB 0..1, yellow
// Screen fractions: the middle two fifths of the width, the fifth around the centre.
constexpr double kBoxLeft = 0.3;
constexpr double kBoxTop = 0.4;
constexpr double kBoxRight = 0.7;
constexpr double kBoxBottom = 0.6;

}  // namespace

FeedbackDisplayer::FeedbackDisplayer(std::int32_t displayMode)
    : annotation_(oapiCreateAnnotation(true, kTextSize, kTextColour)), displayMode_(displayMode) {
    if (annotation_ != nullptr) {
        oapiAnnotationSetPos(annotation_, kBoxLeft, kBoxTop, kBoxRight, kBoxBottom);
    }
}

FeedbackDisplayer::~FeedbackDisplayer() {
    // The host accepts a null handle here.
    oapiDelAnnotation(annotation_);
    annotation_ = nullptr;
}

void FeedbackDisplayer::show(const std::string& status) {
    // Called every frame, mostly with the same text: one comparison and nothing else then.
    if (status == text_) {
        return;
    }
    text_ = status;
    // The host takes mutable texts but only reads them: our own copy goes.
    writeLog(text_, buffer_);
    if (simulator::showsAnnotations(displayMode_) && annotation_ != nullptr) {
        oapiAnnotationSetText(annotation_, text_.data());
    }
}

}  // namespace aeroquin
