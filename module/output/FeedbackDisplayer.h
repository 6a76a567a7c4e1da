// The status text on screen and in the host log.
#pragma once

#include <cstdint>
#include <string>

#include "module/simulator/HostApi.h"

namespace aeroquin {

// Owns the annotation from construction to destruction. Acts only when the text changes.
class FeedbackDisplayer {
  public:
    // `displayMode` is the simulator's render mode; 0 means texts are only logged.
    explicit FeedbackDisplayer(std::int32_t displayMode);
    FeedbackDisplayer(const FeedbackDisplayer&) = delete;
    FeedbackDisplayer& operator=(const FeedbackDisplayer&) = delete;
    FeedbackDisplayer(FeedbackDisplayer&&) = delete;
    FeedbackDisplayer& operator=(FeedbackDisplayer&&) = delete;
    virtual ~FeedbackDisplayer();

    void show(const std::string& status);

  private:
    NOTEHANDLE annotation_ = nullptr;
    std::int32_t displayMode_ = 0;
    std::string text_;
    std::string buffer_;  // the log's copy of a text with '%', its capacity kept
};

}  // namespace aeroquin
