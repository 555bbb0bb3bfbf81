// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <optional>

#include "editor/design.h"

namespace edt {

// Twips (1/1440 inch) to pixels at `dpi` dots per inch, to the nearest whole pixel
// (negative lengths included), and back. At 96 dpi, 15 twips make one pixel.
int twipsToPixels(float twips, int dpi = 96);
float pixelsToTwips(int pixels, int dpi = 96);

// A window's size in pixels.
struct PixelSize {
    int width;
    int height;
};

// W and H, the window size the resize rules read, in twips.
struct RuledSize {
    float width;
    float height;
};

// W and H for a window whose outer size (frame, title bar and menu bar included) and
// client area (below the menu bar) measure `outer` and `client` pixels at `dpi`: the
// outer size, but with no more frame than the design's window has around its client
// area, 125 twips across and 695 down. Frames that count invisible resize borders
// (Windows 10 and 11) or are drawn thicker would otherwise push the controls out.
RuledSize ruledSize(PixelSize outer, PixelSize client, int dpi = 96);

// The controls the resize rules move, in the order FormPlaces has their places.
namespace placed {
enum : std::size_t {
    List1,
    EditWindow,
    WriteRecord,
    Label1,
    RecordLabel,
    RecLabel,
    StringLen,
    VersionInfo,
    Count
};
} // namespace placed
using FormPlaces = std::array<design::TwipsRect, placed::Count>;

// Every control at its design place.
constexpr FormPlaces kDesignPlaces{design::kList1,     design::kEditWindow,  design::kWriteRecord,
                                   design::kLabel1,    design::kRecordLabel, design::kRecLabel,
                                   design::kStringLen, design::kVersionInfo};

// The resize rules for an outer window of W x H twips (`size`: frame, title bar and
// menu bar included). List1 is asked for its place through `fitList`, which returns
// the height it accepted; the list's lower edge B then places the controls below it.
// None for a window under 200 x 2800 twips, where the rules would ask for negative
// sizes and the layout is skipped.
std::optional<FormPlaces>
placeControls(RuledSize size, const std::function<float(const design::TwipsRect& list)>& fitList);

} // namespace edt
