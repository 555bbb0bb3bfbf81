#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "qt_print.h"
#include "window/entry_model.h"

namespace edt {
namespace {

std::vector<EntryLine> threeEntries() {
    return {{1, "first"}, {641, "Hi!"}, {1281, "a\r\nb"}};
}

TEST(EntryModel, ListsEntriesInOrderAsRows) {
    EntryModel model;
    model.setEntries(threeEntries());
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(0)).toString(), QStringLiteral("[0000001] first"));
    EXPECT_EQ(model.data(model.index(1)).toString(), QStringLiteral("[0000641] Hi!"));
    EXPECT_EQ(model.data(model.index(2)).toString(), QString::fromUtf8("[0001281] a\u21B5b"));
    EXPECT_EQ(model.entry(2).text, "a\r\nb"); // the true text stays available
    EXPECT_FALSE(model.data(model.index(0), Qt::EditRole).isValid());
    EXPECT_FALSE(model.data(model.index(3)).isValid());
    EXPECT_EQ(model.rowCount(model.index(0)), 0); // a list has no children
}

TEST(EntryModel, FillsAndClearsInOneResetEach) {
    EntryModel model;
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    model.setEntries(threeEntries());
    model.clear();
    EXPECT_EQ(resets.count(), 2);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(EntryModel, FindsRowsByKey) {
    EntryModel model;
    model.setEntries(threeEntries());
    EXPECT_EQ(model.rowOfKey(1), 0);
    EXPECT_EQ(model.rowOfKey(641), 1);
    EXPECT_EQ(model.rowOfKey(1281), 2);
    EXPECT_EQ(model.rowOfKey(0), -1);
    EXPECT_EQ(model.rowOfKey(640), -1);
    EXPECT_EQ(model.rowOfKey(642), -1);
    EXPECT_EQ(model.rowOfKey(99999), -1);
    model.clear();
    EXPECT_EQ(model.rowOfKey(1), -1);
}

TEST(EntryModel, ReplacingOneTextUpdatesOnlyThatRow) {
    EntryModel model;
    model.setEntries(threeEntries());
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setEntryText(1, "Bye");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 1);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 1);
    EXPECT_EQ(model.data(model.index(1)).toString(), QStringLiteral("[0000641] Bye"));
    EXPECT_EQ(model.entry(0).text, "first");
    EXPECT_EQ(model.entry(2).text, "a\r\nb");
}

TEST(EntryModel, AViewShowsHundredsOfThousandsOfRows) {
    std::vector<EntryLine> entries;
    const int count = 300000;
    entries.reserve(count);
    for (int i = 0; i < count; ++i)
        entries.push_back({1 + static_cast<RecordKey>(i) * 160, "entry text"});
    EntryModel model;
    model.setEntries(std::move(entries));
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
