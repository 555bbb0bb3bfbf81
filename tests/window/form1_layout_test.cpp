// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>
#include <map>

#include "form1_fixture.h"

namespace edt::test {
namespace {

// The layout as Form1 applies it, in pixels (15 twips each) of the area under the
// menu bar. The outer size is the frame's.
class Form1Layout : public Form1Test {
protected:
    void setOuterSize(QSize outer) {
        const QSize frame = form->frameGeometry().size() - form->size();
        form->resize(outer - frame);
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->frameGeometry().size() == outer; }));
    }
    QRect geometryOf(const char* name) const {
        return form->findChild<QWidget*>(QLatin1String(name))->geometry();
    }
    std::map<std::string, QRect> all() const {
        std::map<std::string, QRect> g;
        for (const char* name : {"List1", "EditWindow", "RecordLabel", "Label1", "btn_WriteRecord",
                                 "StringLen", "RecLabel", "VersionInfo"})
            g[name] = geometryOf(name);
        return g;
    }
};

TEST_F(Form1Layout, FollowsTheRulesFor9000By8100Twips) {
    setOuterSize({600, 540});
    EXPECT_EQ(geometryOf("List1"), QRect(3, 3, 587, 353));             // 8800 x 5300, B = 5340
    EXPECT_EQ(geometryOf("EditWindow"), QRect(3, 383, 587, 100));      // top 5740, 1500 high
    EXPECT_EQ(geometryOf("btn_WriteRecord"), QRect(514, 358, 76, 22)); // 7705, 5370
    EXPECT_EQ(geometryOf("Label1"), QRect(6, 362, 37, 16));            // labels at 5430
    EXPECT_EQ(geometryOf("RecordLabel"), QRect(48, 362, 73, 16));
    EXPECT_EQ(geometryOf("RecLabel"), QRect(141, 362, 166, 16));
    EXPECT_EQ(geometryOf("StringLen"), QRect(309, 362, 52, 16));
    EXPECT_EQ(geometryOf("VersionInfo"), QRect(6, 477, 556, 19)); // 8100 - 950
}

TEST_F(Form1Layout, WiderMovesOnlyWidthsAndTheButton) {
    setOuterSize({600, 540});
    const auto before = all();
    setOuterSize({700, 540});
    const auto after = all();
    EXPECT_EQ(after.at("List1"), before.at("List1").adjusted(0, 0, 100, 0));
    EXPECT_EQ(after.at("EditWindow"), before.at("EditWindow").adjusted(0, 0, 100, 0));
    EXPECT_EQ(after.at("btn_WriteRecord"), before.at("btn_WriteRecord").translated(100, 0));
    for (const char* name : {"RecordLabel", "Label1", "StringLen", "RecLabel", "VersionInfo"})
        EXPECT_EQ(after.at(name), before.at(name)) << name;
}

TEST_F(Form1Layout, TallerMovesTheRowUnderTheListAndTheVersionLine) {
    setOuterSize({600, 540});
    const auto before = all();
    setOuterSize({600, 600});
    const auto after = all();
    EXPECT_EQ(after.at("List1"), before.at("List1").adjusted(0, 0, 0, 60));
    for (const char* name : {"EditWindow", "btn_WriteRecord", "RecordLabel", "Label1", "StringLen",
                             "RecLabel", "VersionInfo"})
        EXPECT_EQ(after.at(name), before.at(name).translated(0, 60)) << name;
}

TEST_F(Form1Layout, IsAppliedWhenTheWindowIsFirstShown) {
    const QSize outer = form->frameGeometry().size();
    EXPECT_EQ(geometryOf("List1").width(), qRound((outer.width() * 15 - 200) / 15.0));
    EXPECT_EQ(geometryOf("List1").height(), qRound((outer.height() * 15 - 2800) / 15.0));
    EXPECT_EQ(geometryOf("VersionInfo").y(), qRound((outer.height() * 15 - 950) / 15.0));
}

TEST_F(Form1Layout, IsSkippedBelow200By2800TwipsAndWhenMinimised) {
    setOuterSize({600, 540});
    const auto before = all();
    // 2790 twips high and 195 twips wide: the rules would ask for negative sizes.
    form->resize(300, 186 - (form->frameGeometry().height() - form->height()));
    QTest::qWait(20);
    EXPECT_EQ(all(), before);
    form->setMinimumSize(0, 0);
    form->resize(13 - (form->frameGeometry().width() - form->width()), 400);
    QTest::qWait(20);
    EXPECT_EQ(all(), before);

    setOuterSize({600, 540});
    form->setWindowState(Qt::WindowMinimized);
    form->resize(800, 700);
    QTest::qWait(20);
    EXPECT_TRUE(form->isMinimized());
    EXPECT_EQ(all(), before);
}

} // namespace
} // namespace edt::test
