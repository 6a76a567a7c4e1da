#include "module/vessel/CaptureSample.h"

#include "module/vessel/RowText.h"

namespace aeroquin {

std::string CaptureSample::toText() const {
    std::string text;
    RowText().write(*this, text);
    return text;
}

}  // namespace aeroquin
