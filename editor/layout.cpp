// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/layout.h"

#include <algorithm>
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

std::optional<FormPlaces>
placeControls(RuledSize size, const std::function<float(const design::TwipsRect& list)>& fitList) {
    const float w = size.width, h = size.height;
    if (w < kSideMargin || h < kBottomBand)
        return std::nullopt;
    FormPlaces places = kDesignPlaces;
    design::TwipsRect& list = places[placed::List1];
    list.width = w - kSideMargin;
    list.height = h - kBottomBand;
    const float listBottom = list.top + fitList(list); // B
    places[placed::EditWindow] = {design::kEditWindow.left, listBottom + kEditGap, w - kSideMargin,
                                  kEditHeight};
    design::TwipsRect& button = places[placed::WriteRecord];
    button.left = list.left + list.width - button.width;
    button.top = listBottom + kButtonGap;
    for (const auto label :
         {placed::Label1, placed::RecordLabel, placed::RecLabel, placed::StringLen})
        places[label].top = listBottom + kLabelGap;
    places[placed::VersionInfo].top = h - kVersionOffset;
    return places;
}

} // namespace edt
