// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace edt {

// Twips (1/1440 inch) to pixels at `dpi` dots per inch, to the nearest whole pixel
// (negative lengths included), and back. At 96 dpi, 15 twips make one pixel.
int twipsToPixels(float twips, int dpi = 96);
float pixelsToTwips(int pixels, int dpi = 96);

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
