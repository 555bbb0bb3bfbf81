// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "editor/design.h"
#include "editor/layout.h"

namespace edt {
namespace {

// What the rules set; everything not named here keeps its design value.
struct FormLayout {
    float listWidth, listHeight; // as requested; the controls below follow the accepted height
    float editTop, editWidth, editHeight;
    float buttonTop, buttonLeft;
    float labelTop; // Label1, RecordLabel, RecLabel and StringLen
    float versionTop;
};

struct LayoutCase {
    const char* name;
    float w, h, acceptedListHeight;
    FormLayout expected;
};

void PrintTo(const LayoutCase& c, std::ostream* out) {
    *out << c.name;
}

class LayoutRules : public testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutRules, GiveTheGeometryOfTheRules) {
    const LayoutCase& c = GetParam();
    const FormLayout& e = c.expected;
    // List1's place is the one asked of it through fitList.
    const std::optional<FormPlaces> places =
        placeControls({c.w, c.h}, [&](const design::TwipsRect&) { return c.acceptedListHeight; });
    ASSERT_TRUE(places);
    FormPlaces expected = kDesignPlaces;
    expected[placed::List1] = {45, 45, e.listWidth, e.listHeight};
    expected[placed::EditWindow] = {45, e.editTop, e.editWidth, e.editHeight};
    expected[placed::WriteRecord].top = e.buttonTop;
    expected[placed::WriteRecord].left = e.buttonLeft;
    for (const auto label :
         {placed::Label1, placed::RecordLabel, placed::RecLabel, placed::StringLen})
        expected[label].top = e.labelTop;
    expected[placed::VersionInfo].top = e.versionTop;
    for (std::size_t i = 0; i < placed::Count; ++i) {
        const design::TwipsRect &r = (*places)[i], &x = expected[i];
        EXPECT_EQ(std::vector<float>({r.left, r.top, r.width, r.height}),
                  std::vector<float>({x.left, x.top, x.width, x.height}))
            << "control " << i;
    }
}

// Fields: listWidth, listHeight, editTop, editWidth, editHeight, buttonTop, buttonLeft,
// labelTop, versionTop.
INSTANTIATE_TEST_SUITE_P(
    Cases, LayoutRules,
    testing::Values(
        // The worked example: 9000 x 8000, the list takes the whole height.
        LayoutCase{
            "Example", 9000, 8000, 5200, {8800, 5200, 5645, 8800, 1500, 5275, 7705, 5335, 7050}},
        // A list that keeps only whole rows: the controls below follow it, the
        // version line still follows H.
        LayoutCase{"ShortenedList",
                   9000,
                   8000,
                   5100,
                   {8800, 5200, 5545, 8800, 1500, 5175, 7705, 5235, 7050}},
        // Exactly 2800 high: the list gets no height, B = 45.
        LayoutCase{"LowestWindow", 9000, 2800, 0, {8800, 0, 445, 8800, 1500, 75, 7705, 135, 1850}},
        // Exactly 200 wide: no width, and the button's left goes negative.
        LayoutCase{
            "NarrowestWindow", 200, 8000, 5200, {0, 5200, 5645, 0, 1500, 5275, -1095, 5335, 7050}},
        // 1500 wider than the example: list, text box and button follow; the rest stays.
        LayoutCase{
            "Wider", 10500, 8000, 5200, {10300, 5200, 5645, 10300, 1500, 5275, 9205, 5335, 7050}},
        // 1500 taller: the row under the list moves by the list's gain, the version
        // line by the whole change.
        LayoutCase{
            "Taller", 9000, 9500, 6700, {8800, 6700, 7145, 8800, 1500, 6775, 7705, 6835, 8550}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

struct SizeCase {
    const char* name;
    PixelSize outer, client;
    int dpi;
    RuledSize expected;
};

class RuledSizes : public testing::TestWithParam<SizeCase> {};

TEST_P(RuledSizes, AreTheOuterSizeWithAtMostTheDesignFrame) {
    const SizeCase& c = GetParam();
    const RuledSize size = ruledSize(c.outer, c.client, c.dpi);
    EXPECT_EQ(size.width, c.expected.width);
    EXPECT_EQ(size.height, c.expected.height);
}

// The design client area is 564 x 461 pixels at 96 dpi, 846 x 692 at 144, 1128 x 922
// at 192.
INSTANTIATE_TEST_SUITE_P(
    Cases, RuledSizes,
    testing::Values(
        // No window manager: the window is the menu bar and the client area.
        SizeCase{"Frameless", {564, 481}, {564, 461}, 96, {8460, 7215}},
        // Borders of 4 and a caption and menu bar of 19 each: within the design frame.
        SizeCase{"ClassicFrame", {572, 507}, {564, 461}, 96, {8580, 7605}},
        // Windows 10 counts its invisible resize borders: 16 x 59 pixels of frame. W and H
        // are then the design client area's plus 125 x 695, as on a classic frame.
        SizeCase{"Windows10", {580, 520}, {564, 461}, 96, {8585, 7610}},
        SizeCase{"Windows10At144", {870, 781}, {846, 692}, 144, {8585, 7615}},
        SizeCase{"Windows10At192", {1160, 1040}, {1128, 922}, 192, {8585, 7610}},
        // A frame taller than the design's but no wider (a thick title bar).
        SizeCase{"TallTitleBar", {566, 521}, {564, 461}, 96, {8490, 7610}}),
    [](const testing::TestParamInfo<SizeCase>& info) { return info.param.name; });

TEST(LayoutLimits, AppliesFrom200By2800Only) {
    int asked = 0; // the list is left alone where the rules do not apply
    const auto fit = [&](const design::TwipsRect& list) { return ++asked, list.height; };
    EXPECT_TRUE(placeControls({200, 2800}, fit));
    EXPECT_FALSE(placeControls({199, 2800}, fit));
    EXPECT_FALSE(placeControls({200, 2799}, fit));
    EXPECT_FALSE(placeControls({0, 0}, fit)); // a minimised window
    EXPECT_FALSE(placeControls({-30, 9000}, fit));
    EXPECT_EQ(asked, 1);
}

TEST(Twips, FifteenMakeOnePixelRoundedToTheNearest) {
    EXPECT_EQ(twipsToPixels(45), 3);
    EXPECT_EQ(twipsToPixels(8430), 562);
    EXPECT_EQ(twipsToPixels(7), 0);
    EXPECT_EQ(twipsToPixels(8), 1);
    EXPECT_EQ(twipsToPixels(-1095), -73);
    EXPECT_EQ(twipsToPixels(0), 0);
    EXPECT_EQ(pixelsToTwips(564), 8460);
    // The design client area.
    EXPECT_EQ(twipsToPixels(design::kClientWidth), 564);
    EXPECT_EQ(twipsToPixels(design::kClientHeight), 461);
    // At 144 dots per inch (150 %), as the Windows window converts them.
    EXPECT_EQ(twipsToPixels(8430, 144), 843);
    EXPECT_EQ(pixelsToTwips(843, 144), 8430);
}

} // namespace
} // namespace edt
