#pragma once

namespace edt {

// Window geometry is given in twips (1/1440 inch). Qt works in device-independent
// pixels and scales them for high-DPI screens itself, so 15 twips make one pixel.
constexpr float kTwipsPerPixel = 15.0f;

// Nearest whole pixel for a length in twips (negative lengths included).
int twipsToPixels(float twips);
float pixelsToTwips(int pixels);

struct TwipsRect {
    float left;
    float top;
    float width;
    float height;
};

// Design geometry of Form1's controls, measured from the top-left corner of the area
// under the menu bar.
namespace design {
constexpr float kClientWidth = 8460;
constexpr float kClientHeight = 6915;
constexpr TwipsRect kList1{45, 45, 8430, 4470};
constexpr TwipsRect kEditWindow{45, 4950, 8385, 1680};
constexpr TwipsRect kRecordLabel{720, 4635, 1095, 240};
constexpr TwipsRect kLabel1{90, 4635, 555, 240};
constexpr TwipsRect kWriteRecord{7245, 4545, 1140, 330};
constexpr TwipsRect kStringLen{4635, 4635, 780, 240};
constexpr TwipsRect kRecLabel{2115, 4635, 2490, 240};
constexpr TwipsRect kVersionInfo{90, 6660, 8340, 285};
} // namespace design

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
