// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QTest>
#include <QTextDocument>
#include <cctype>

#include "form1_fixture.h"
#include "record/entry_line.h"
#include "record/file_kind.h"
#include "tests/support/entry_lines.h"
#include "tools/sample_files.h"

namespace edt::test {
namespace {

struct KindCase {
    const char* fileName;
    RecordKey keys[4];
    const char* caption;
};

void PrintTo(const KindCase& c, std::ostream* out) {
    *out << c.fileName;
}

class EditingCycle : public Form1Test, public testing::WithParamInterface<KindCase> {};

// Open, select, edit, count, write and write again, through real widget events, and
// only the bytes of the text and its terminator change.
TEST_P(EditingCycle, ChangesExactlyTheBytesOfTheText) {
    const KindCase& c = GetParam();
    const std::vector<std::string> texts = {"first entry", "Hi!", "third one", "fourth"};
    const QString path = makeFile(QString::fromLatin1(c.fileName), texts);
    QByteArray expected = bytesOf(path);

    open(path);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zelvar Email Editor - ") + path);
    EXPECT_EQ(form->CurrFileName, path);
    EXPECT_EQ(form->CurrFileTitle, QString::fromLatin1(c.fileName));
    EXPECT_EQ(recLabel->text(), QString::fromLatin1(c.caption));
    ASSERT_EQ(rowCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(row(i), QString::fromStdString(lineOf(EntryLine{c.keys[i], texts[i]})));
    }
    EXPECT_TRUE(list->selectionModel()->selectedRows().isEmpty());

    clickRow(1);
    const QString key = QString::fromStdString(formatKey(c.keys[1]));
    EXPECT_EQ(recordLabel->text(), key);
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("Hi!"));
    EXPECT_EQ(stringLen->text(), QStringLiteral("3"));

    typeText(QStringLiteral("New text, caf\u00e9 ok"));
    EXPECT_EQ(stringLen->text(), QStringLiteral("17"));
    clickWriteRecord();
    ASSERT_TRUE(reports.isEmpty()) << reports.join(QLatin1Char('\n')).toStdString();
    const qsizetype offset = static_cast<qsizetype>(c.keys[1] - 1);
    const QByteArray first = storedForm("New text, caf\xE9 ok");
    expected.replace(offset, first.size(), first);
    EXPECT_EQ(bytesOf(path), expected);
    EXPECT_EQ(row(1), QStringLiteral("[") + key + QString::fromUtf8("] New text, café ok"));
    EXPECT_EQ(recordLabel->text(), key);
    EXPECT_EQ(edit->toPlainText(), QString::fromUtf8("New text, café ok"));

    // The same entry again, shorter: the old bytes behind the new terminator stay.
    typeText(QStringLiteral("Bye"));
    clickWriteRecord();
    ASSERT_TRUE(reports.isEmpty()) << reports.join(QLatin1Char('\n')).toStdString();
    const QByteArray second = storedForm("Bye");
    expected.replace(offset, second.size(), second);
    EXPECT_EQ(bytesOf(path), expected);
    EXPECT_EQ(row(1), QStringLiteral("[") + key + QStringLiteral("] Bye"));
    EXPECT_EQ(row(0), QString::fromStdString(lineOf(EntryLine{c.keys[0], texts[0]})));
    EXPECT_EQ(row(2), QString::fromStdString(lineOf(EntryLine{c.keys[2], texts[2]})));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EditingCycle,
    testing::Values(KindCase{"email.edt", {1, 641, 1281, 1921}, "Record Length (Max 315):"},
                    KindCase{"aimbios.edt", {1, 801, 1121, 1921}, "Record Length (Max 395/150):"},
                    KindCase{"MercBios.EDT", {1, 801, 1121, 1921}, "Record Length (Max 395/150):"},
                    KindCase{"files.edt", {1, 801, 1601, 2401}, "Record Length (Max 395):"},
                    KindCase{"quests.edt", {1, 161, 321, 481}, "Record Length (Max 75):"},
                    KindCase{"civ", {1, 321, 641, 961}, "Record Length (Max 155):"},
                    KindCase{"civilians.edt", {1, 321, 641, 961}, "Record Length (Max 155):"},
                    KindCase{"strings.edt", {1, 481, 961, 1441}, "Record Length (Max 235):"}),
    [](const testing::TestParamInfo<KindCase>& info) {
        std::string name;
        for (const char* p = info.param.fileName; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST_F(Form1Test, SelectionDropsExactlyTheKeyBracketsAndOneBlank) {
    open(makeFile(QStringLiteral("email.edt"), {"Hi!", "", "  two blanks"}));
    clickRow(0);
    EXPECT_EQ(recordLabel->text(), QStringLiteral("0000001"));
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("Hi!"));
    EXPECT_EQ(stringLen->text(), QStringLiteral("3"));
    clickRow(1);
    EXPECT_EQ(recordLabel->text(), QStringLiteral("0000641"));
    EXPECT_EQ(edit->toPlainText(), QString());
    EXPECT_EQ(stringLen->text(), QStringLiteral("0"));
    clickRow(2);
    EXPECT_EQ(recordLabel->text(), QStringLiteral("0001281"));
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("  two blanks"));
    EXPECT_EQ(stringLen->text(), QStringLiteral("12"));
}

TEST_F(Form1Test, AnEmptiedTextIsStoredAsTheTerminatorAlone) {
    const QString path = makeFile(QStringLiteral("email.edt"), {"first", "Hi!"});
    QByteArray expected = bytesOf(path);
    open(path);
    clickRow(1);
    typeText(QString());
    EXPECT_EQ(stringLen->text(), QStringLiteral("0"));
    clickWriteRecord();
    EXPECT_TRUE(reports.isEmpty()) << reports.join(QLatin1Char('\n')).toStdString();
    expected.replace(640, 4, QByteArray(4, '\0'));
    EXPECT_EQ(bytesOf(path), expected);
    EXPECT_EQ(row(1), QStringLiteral("[0000641] "));
}

TEST_F(Form1Test, ArrowKeysSelectLikeClicks) {
    open(makeFile(QStringLiteral("quests.edt"), {"one", "two", "three"}));
    clickRow(0);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(recordLabel->text(), QStringLiteral("0000161"));
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("two"));
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(recordLabel->text(), QStringLiteral("0000321"));
    EXPECT_EQ(stringLen->text(), QStringLiteral("5"));
}

TEST_F(Form1Test, SelectingAnotherLineDiscardsAnUnwrittenEditWhenToldTo) {
    const QString path = makeFile(QStringLiteral("email.edt"), {"first", "second"});
    const QByteArray before = bytesOf(path);
    open(path);
    clickRow(0);
    typeText(QStringLiteral("edited"));
    form->setAsker([](const QString&) { return FormView::Answer::Discard; });
    clickRow(1);
    clickRow(0);
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("first"));
    EXPECT_EQ(row(0), QStringLiteral("[0000001] first"));
    EXPECT_EQ(bytesOf(path), before);
}

TEST_F(Form1Test, LineBreaksCountTwoAndLoneOnesSurviveAWriteBack) {
    const std::vector<std::string> texts = {"one\r\ntwo", "lone\rcr", "lone\nlf",
                                            "no\xA0"
                                            "break",
                                            "\r\n\r\n"};
    const QString path = makeFile(QStringLiteral("email.edt"), texts);
    const QByteArray before = bytesOf(path);
    open(path);

    clickRow(0);
    EXPECT_EQ(edit->document()->blockCount(), 2);
    EXPECT_EQ(stringLen->text(), QStringLiteral("8"));
    EXPECT_EQ(row(0), QString::fromUtf8("[0000001] one\u21B5two"));

    // Writing every entry back unchanged leaves the file as it was, byte for byte.
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
        clickRow(i);
        EXPECT_EQ(stringLen->text(), QString::number(texts[i].size())) << "row " << i;
        clickWriteRecord();
    }
    EXPECT_TRUE(reports.isEmpty()) << reports.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(bytesOf(path), before);

    // Enter adds a line break that counts and is stored as CR LF.
    clickRow(0);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, QStringLiteral("x"));
    EXPECT_EQ(stringLen->text(), QStringLiteral("11"));
    clickWriteRecord();
    EXPECT_TRUE(reports.isEmpty()) << reports.join(QLatin1Char('\n')).toStdString();
    QByteArray expected = before;
    const QByteArray stored = storedForm("one\r\ntwo\r\nx");
    expected.replace(0, stored.size(), stored);
    EXPECT_EQ(bytesOf(path), expected);
    EXPECT_TRUE(stored.contains(QByteArray("\x0D\x00\x0A\x00", 4)));
}

TEST_F(Form1Test, ASecondOpenKeepsTheSelectionShownButListsTheNewFile) {
    const QString first = makeFile(QStringLiteral("email.edt"), {"a1", "a2"});
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("other")));
    const QString second = makeFile(QStringLiteral("other/quests.edt"), {"b1", "b2", "b3"});
    const QByteArray firstBefore = bytesOf(first);
    const QByteArray secondBefore = bytesOf(second);
    open(first);
    clickRow(1);
    typeText(QStringLiteral("edited"));
    open(second); // asked first: Cancel keeps the file
    EXPECT_EQ(row(0), QStringLiteral("[0000001] a1"));
    ASSERT_EQ(reports.size(), 1);
    reports.clear();
    form->setAsker([](const QString&) { return FormView::Answer::Discard; });
    open(second); // Discard: the entry's own text back

    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zelvar Email Editor - ") + second);
    EXPECT_EQ(form->CurrFileTitle, QStringLiteral("quests.edt"));
    EXPECT_EQ(recLabel->text(), QStringLiteral("Record Length (Max 75):"));
    ASSERT_EQ(rowCount(), 3);
    EXPECT_EQ(row(0), QStringLiteral("[0000001] b1"));
    EXPECT_TRUE(list->selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(recordLabel->text(), QStringLiteral("0000641"));
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("a2"));
    EXPECT_EQ(stringLen->text(), QStringLiteral("2"));

    // The key shown belongs to the first file: nothing goes anywhere.
    typeText(QStringLiteral("edited"));
    clickWriteRecord();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("belongs to"))) << reports[0].toStdString();
    EXPECT_TRUE(reports[0].contains(first));
    EXPECT_EQ(bytesOf(first), firstBefore);
    EXPECT_EQ(bytesOf(second), secondBefore);
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("edited"));
}

TEST_F(Form1Test, OpeningTheSameFileAgainKeepsTheEditWritable) {
    const QString path = makeFile(QStringLiteral("email.edt"), {"a1", "a2"});
    open(path);
    clickRow(1);
    typeText(QStringLiteral("kept"));
    open(path);
    clickWriteRecord();
    EXPECT_TRUE(reports.isEmpty()) << reports.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(bytesOf(path).mid(640, 12), storedForm("kept"));
    EXPECT_EQ(row(1), QStringLiteral("[0000641] kept"));
}

// The code page chosen in the dialog reads the file, shows in the tooltips, is offered
// again for that file, and another choice relists it.
TEST_F(Form1Test, TheChosenCodePageReadsTheFileAndIsRemembered) {
    const QString path = makeFile(QStringLiteral("quests.edt"), {"\xCF\xF0\xE8\xE2\xE5\xF2"});
    dialog->codePage = "1251";
    open(path);
    EXPECT_EQ(row(0), QStringLiteral("[0000001] Привет"));
    EXPECT_EQ(list->toolTip(), QStringLiteral("Texts in Windows-1251"));
    EXPECT_EQ(std::count(dialog->codePages().begin(), dialog->codePages().end(), "KOI8-R"), 1);
    dialog->codePage.clear(); // as preset: the file's own
    open(path);
    EXPECT_EQ(dialog->CodePage(), "Windows-1251");
    dialog->codePage = "windows-1252";
    open(path);
    EXPECT_EQ(row(0), QStringLiteral("[0000001] Ïðèâåò"));
}

TEST_F(Form1Test, OpenSetsTheDialogUpInOrderEveryTime) {
    open(std::nullopt);
    open(std::nullopt);
    const QStringList once = {"CancelError", "DialogTitle", "Flags",   "Filter",
                              "FilterIndex", "DefaultExt",  "ShowOpen"};
    EXPECT_EQ(dialog->settings, once + once);
    EXPECT_TRUE(dialog->cancelError());
    EXPECT_EQ(dialog->dialogTitle(), "Open File ...");
    EXPECT_EQ(dialog->flags(), 0x200806u);
    EXPECT_EQ(dialog->filter(), "All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
    EXPECT_EQ(dialog->filterIndex(), 1);
    EXPECT_EQ(dialog->defaultExt(), "txt");
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zelvar EDT File Editor"));
}

TEST_F(Form1Test, ListsAFileOfManyEntriesAndWritesAtKeysOfEightDigits) {
    const int count = 70000; // the last key, 11199841, has eight digits
    std::vector<std::string> texts;
    texts.reserve(count);
    for (int i = 0; i < count; ++i)
        texts.push_back("entry " + std::to_string(i));
    const QString path = makeFile(QStringLiteral("quests.edt"), texts, 0);
    QByteArray expected = bytesOf(path);
    open(path);
    ASSERT_EQ(rowCount(), count);
    EXPECT_EQ(row(count - 1), QStringLiteral("[11199841] entry 69999"));

    clickRow(count - 1);
    EXPECT_EQ(recordLabel->text(), QStringLiteral("11199841"));
    typeText(QStringLiteral("last"));
    clickWriteRecord();
    EXPECT_TRUE(reports.isEmpty()) << reports.join(QLatin1Char('\n')).toStdString();
    const QByteArray stored = storedForm("last");
    expected.replace(11199840, stored.size(), stored);
    EXPECT_EQ(bytesOf(path), expected);
    EXPECT_EQ(row(count - 1), QStringLiteral("[11199841] last"));
}

} // namespace
} // namespace edt::test
