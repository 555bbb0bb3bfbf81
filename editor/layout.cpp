// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/layout.h"

#include <algorithm>
#include <cmath>

#include "editor/design.h"

namespace edt {
namespace {

constexpr float kSideMargin = 200;
constexpr float kBottomBand = 2800;
constexpr float kEditGap = 400;
constexpr float kEditHeight = 1500;
constexpr float kButtonGap = 30;
constexpr float kLabelGap = 90;
constexpr float kVersionOffset = 950;
// The design window's frame: its outer size less its client area.
constexpr float kFrameWidth = 125;
constexpr float kFrameHeight = 695;

} // namespace

int twipsToPixels(float twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

float pixelsToTwips(int pixels, int dpi) {
    return static_cast<float>(static_cast<double>(pixels) * 1440.0 / dpi);
}

RuledSize ruledSize(PixelSize outer, PixelSize client, int dpi) {
    return {
        std::min(pixelsToTwips(outer.width, dpi), pixelsToTwips(client.width, dpi) + kFrameWidth),
        std::min(pixelsToTwips(outer.height, dpi),
                 pixelsToTwips(client.height, dpi) + kFrameHeight)};
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
