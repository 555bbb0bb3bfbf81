// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

// What the resize rules set; everything not named here keeps its design value.
struct FormLayout {
    float listWidth;
    float listHeight; // as requested; the controls below follow the accepted height
    float editTop;
    float editWidth;
    float editHeight;
    float buttonTop;
    float buttonLeft;
    float labelTop; // Label1, RecordLabel, RecLabel and StringLen
    float versionTop;
};

// The rules are defined for an outer window of at least 200 x 2800 twips; below that
// they would ask for negative sizes and the layout is skipped.
bool layoutApplies(float outerWidth, float outerHeight);

// The height asked of List1 for an outer window height.
float requestedListHeight(float outerHeight);

// The whole layout for an outer window of W x H twips (frame, title bar and menu bar
// included) once List1 has accepted `acceptedListHeight`; its lower edge B places the
// controls below it.
FormLayout layoutForm(float outerWidth, float outerHeight, float acceptedListHeight);

} // namespace edt
