// SPDX-License-Identifier: GPL-3.0-or-later
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "qt_print.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"
#include "window/entry_model.h"

namespace edt {
namespace {

// An editor that has listed a file of the kind `name` gives, one entry per text.
struct Listed {
    Listed(const std::string& name, const std::vector<std::string>& texts) {
        test::writeBytes(dir.file(name), samples::makeImage(kindForFileName(name), texts));
        EXPECT_TRUE(editor.open(dir.file(name), kindForPath(name), test::codePage()).ok());
        model.listChanged();
    }
    test::TempDir dir;
    Editor editor;
    EntryModel model{editor, nullptr};
};

TEST(EntryModel, ListsTheEditorsEntriesAsRowsInOneReset) {
    Listed listed("email.edt", {"first", "Hi!", "a\r\nb"});
    EntryModel& model = listed.model;
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(0)).toString(), QStringLiteral("[0000001] first"));
    EXPECT_EQ(model.data(model.index(1)).toString(), QStringLiteral("[0000641] Hi!"));
    EXPECT_EQ(model.data(model.index(2)).toString(), QString::fromUtf8("[0001281] a\u21B5b"));
    EXPECT_FALSE(model.data(model.index(0), Qt::EditRole).isValid());
    EXPECT_FALSE(model.data(model.index(3)).isValid());
    EXPECT_EQ(model.rowCount(model.index(0)), 0); // a list has no children

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.listChanged(1);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 1);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 1);

    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    listed.editor.open(listed.dir.file("gone.edt"), kindForPath("gone.edt"), test::codePage());
    model.listChanged();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(EntryModel, AViewShowsHundredsOfThousandsOfRows) {
    const int count = 300000;
    Listed listed("quests.edt", std::vector<std::string>(count, "entry text"));
    EntryModel& model = listed.model;
    QListView view;
    view.setUniformItemSizes(true);
    view.setModel(&model);
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const QModelIndex last = model.index(count - 1);
    view.scrollTo(last);
    const QRect rect = view.visualRect(last);
    EXPECT_TRUE(view.viewport()->rect().contains(rect.center()));
    EXPECT_EQ(view.indexAt(rect.center()), last);
    EXPECT_EQ(model.data(last).toString(), QStringLiteral("[47999841] entry text"));
}

} // namespace
} // namespace edt
