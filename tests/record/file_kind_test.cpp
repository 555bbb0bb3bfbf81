// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "record/file_kind.h"
#include "tests/support/test_support.h"

namespace edt {
namespace {

struct NameCase {
    const char* name;
    int recordLength;
    int firstField;
    const char* caption;
};

class KindByName : public testing::TestWithParam<NameCase> {};

TEST_P(KindByName, ChoosesLayoutAndCaption) {
    const NameCase& c = GetParam();
    const FileKind kind = kindForFileName(c.name);
    EXPECT_EQ(kind.recordLength, c.recordLength);
    EXPECT_EQ(kind.firstFieldLength, c.firstField);
    EXPECT_EQ(kind.limitCaption, c.caption);
}

INSTANTIATE_TEST_SUITE_P(
    Names, KindByName,
    testing::Values(NameCase{"strings.edt", 480, 0, "Record Length (Max 235):"},
                    NameCase{"email.edt", 640, 0, "Record Length (Max 315):"},
                    NameCase{"EMAIL.EDT", 640, 0, "Record Length (Max 315):"},
                    NameCase{"Email.Edt", 640, 0, "Record Length (Max 315):"},
                    NameCase{"aimbios.edt", 1120, 800, "Record Length (Max 395/150):"},
                    NameCase{"MercBios.edt", 1120, 800, "Record Length (Max 395/150):"},
                    NameCase{"files.edt", 800, 0, "Record Length (Max 395):"},
                    NameCase{"quests.edt", 160, 0, "Record Length (Max 75):"},
                    NameCase{"civilians.edt", 320, 0, "Record Length (Max 155):"},
                    NameCase{"CIV.EDT", 320, 0, "Record Length (Max 155):"},
                    NameCase{"civ", 320, 0, "Record Length (Max 155):"},
                    NameCase{"email.edt.bak", 480, 0, "Record Length (Max 235):"},
                    NameCase{"my_email.edt", 480, 0, "Record Length (Max 235):"},
                    NameCase{"", 480, 0, "Record Length (Max 235):"}),
    [](const testing::TestParamInfo<NameCase>& info) {
        return test::paramName(info.param.name, info.index);
    });

TEST(FileTitle, DropsTheFolder) {
    EXPECT_EQ(fileTitleOf("/games/data/EMAIL.EDT"), "EMAIL.EDT");
    EXPECT_EQ(fileTitleOf("C:\\games\\civ"), "civ");
    EXPECT_EQ(fileTitleOf("quests.edt"), "quests.edt");
}

struct CountCase {
    const char* name;
    std::uint64_t size;
    std::uint64_t entries;
};

class EntryCount : public testing::TestWithParam<CountCase> {};

TEST_P(EntryCount, RoundsHalfToEvenAndListsAtLeastOne) {
    const CountCase& c = GetParam();
    EXPECT_EQ(EntryLayout(kindForFileName(c.name), c.size).entryCount(), c.entries)
        << c.name << " of " << c.size << " bytes";
}

INSTANTIATE_TEST_SUITE_P(Sizes, EntryCount,
                         testing::Values(CountCase{"x.edt", 0, 1}, CountCase{"x.edt", 239, 1},
                                         CountCase{"x.edt", 240, 1}, // 0.5 rounds to 0
                                         CountCase{"x.edt", 241, 1}, CountCase{"x.edt", 720, 2},
                                         CountCase{"x.edt", 1200, 2}, // 2.5 rounds to 2
                                         CountCase{"x.edt", 1680, 4}, // 3.5 rounds to 4
                                         CountCase{"x.edt", 960, 2},
                                         CountCase{"email.edt", 1920, 3},
                                         CountCase{"mercbios.edt", 2240, 4},
                                         CountCase{"mercbios.edt", 0, 1},
                                         CountCase{"aimbios.edt", 1680, 4}),
                         [](const testing::TestParamInfo<CountCase>& info) {
                             return test::paramName(info.param.name, info.index);
                         });

TEST(EntryLayout, SplitKindsAlternateFields) {
    const EntryLayout layout(kindForFileName("mercbios.edt"), 2240);
    const std::uint64_t keys[] = {1, 801, 1121, 1921};
    const int lengths[] = {800, 320, 800, 320};
    for (std::uint64_t i = 0; i < 4; ++i) {
        EXPECT_EQ(layout.keyOf(i), keys[i]);
        EXPECT_EQ(layout.lengthOf(i), lengths[i]);
        EXPECT_EQ(layout.indexOfKey(keys[i]), static_cast<std::int64_t>(i));
    }
    for (std::uint64_t bad : {0ull, 2ull, 800ull, 1120ull, 2241ull, 2561ull, ~0ull})
        EXPECT_EQ(layout.indexOfKey(bad), -1) << bad;
}

} // namespace
} // namespace edt
