#include "window/layout.h"

#include <cmath>

namespace edt {
namespace {

constexpr float kSideMargin = 200;
constexpr float kBottomBand = 2800;
constexpr float kEditGap = 400;
constexpr float kEditHeight = 1500;
constexpr float kButtonGap = 30;
constexpr float kLabelGap = 90;
constexpr float kVersionOffset = 950;

} // namespace

int twipsToPixels(float twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

float pixelsToTwips(int pixels) {
    return static_cast<float>(pixels) * kTwipsPerPixel;
}

bool layoutApplies(float outerWidth, float outerHeight) {
    return outerWidth >= kSideMargin && outerHeight >= kBottomBand;
}

float requestedListHeight(float outerHeight) {
    return outerHeight - kBottomBand;
}

FormLayout layoutForm(float outerWidth, float outerHeight, float acceptedListHeight) {
    FormLayout layout{};
    layout.listWidth = outerWidth - kSideMargin;
    layout.listHeight = requestedListHeight(outerHeight);
    const float listBottom = design::kList1.top + acceptedListHeight; // B
    layout.editTop = listBottom + kEditGap;
    layout.editWidth = outerWidth - kSideMargin;
    layout.editHeight = kEditHeight;
    layout.buttonTop = listBottom + kButtonGap;
    layout.buttonLeft = design::kList1.left + layout.listWidth - design::kWriteRecord.width;
    layout.labelTop = listBottom + kLabelGap;
    layout.versionTop = outerHeight - kVersionOffset;
    return layout;
}

} // namespace edt
