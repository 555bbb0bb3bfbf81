// SPDX-License-Identifier: GPL-3.0-or-later
// What the window does beyond its design: a file opened from the command line or a
// drop, find, and the count turning red over the entry's limit.
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QTextCursor>
#include <QUrl>
#include <cstdio>

#include "form1_fixture.h"
#include "tests/support/test_support.h"

namespace edt::test {
namespace {

TEST_F(Form1Test, OpensAFileFromTheCommandLineOrADropAsFileOpenDoes) {
    const QString path = makeFile(QStringLiteral("quests.edt"), {"\xCF\xF0\xE8", "b"});
    QDir::setCurrent(dir.path());
    form->openPath(QStringLiteral("quests.edt"), &test::codePage("1251")); // relative
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zelvar Email Editor - ") + path);
    EXPECT_EQ(form->CurrFileTitle, QStringLiteral("quests.edt"));
    EXPECT_EQ(recLabel->text(), QStringLiteral("Record Length (Max 75):"));
    EXPECT_EQ(row(0), QStringLiteral("[0000001] При"));

    const QString other = makeFile(QStringLiteral("civ"), {"dropped"});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(other)});
    QDropEvent drop(QPointF(list->viewport()->rect().center()), Qt::CopyAction, &data,
                    Qt::LeftButton, Qt::NoModifier);
    // As the list's viewport passes a drop on (QApplication delivers none without a drag).
    EXPECT_TRUE(static_cast<QObject*>(form.get())->eventFilter(list->viewport(), &drop));
    EXPECT_EQ(form->CurrFileName, other);
    EXPECT_EQ(row(0), QStringLiteral("[0000001] dropped"));
    data.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile(other)}); // refused
    EXPECT_TRUE(static_cast<QObject*>(form.get())->eventFilter(list->viewport(), &drop));
    EXPECT_EQ(form->CurrFileName, other);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports.takeFirst().contains(QStringLiteral("one file at a time")));

    // A name that is not UTF-8, dropped and named on the command line: read by its
    // bytes; its Hebrew text from the right.
    const std::string name = dir.filePath(QStringLiteral("caf")).toStdString() + "\xE9.edt";
    std::rename(makeFile(QStringLiteral("hebrew.edt"), {"\xF9\xEC\xE5\xED 12", "b"}).toLocal8Bit(),
                name.c_str());
    data.setUrls({QUrl::fromEncoded(QUrl::fromLocalFile(dir.path()).toEncoded() + "/caf%E9.edt")});
    EXPECT_TRUE(static_cast<QObject*>(form.get())->eventFilter(list->viewport(), &drop));
    form->openPath(name, &test::codePage("1255"));
    EXPECT_EQ(form->windowTitle(), QString::fromStdString("Zelvar Email Editor - " + name));
    clickRow(0);
    EXPECT_GT(edit->cursorRect(QTextCursor(edit->document())).x(), edit->width() / 2);
    clickRow(1);
    EXPECT_LT(edit->cursorRect(QTextCursor(edit->document())).x(), edit->width() / 2);
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u' ').toStdString();
    std::remove(name.c_str()); // which QTemporaryDir cannot name

    form->openPath(dir.filePath(QStringLiteral("missing.edt")));
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("No such file"))) << reports[0].toStdString();
    // The program itself: help and version, and a code page it refuses.
    const QString program = QStringLiteral(EDT_EDITOR_PROGRAM);
    for (const auto& [args, status, says] :
         {std::tuple{QStringList{"--version"}, 0, "edt-editor 1.0.1"},
          std::tuple{QStringList{"--help"}, 0, "[--codepage NAME] [--no-backup] [FILE]"},
          std::tuple{QStringList{"--codepage", "UTF-8", "x"}, 2, "several bytes"}}) {
        QProcess run;
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(program, args);
        ASSERT_TRUE(run.waitForFinished());
        EXPECT_EQ(run.exitCode(), status);
        EXPECT_TRUE(run.readAll().contains(says)) << says;
    }
}

TEST_F(Form1Test, FindGoesFromMatchToMatchAndAsksBeforeDroppingAnEdit) {
    open(makeFile(QStringLiteral("email.edt"), {"Zelvar one", "other", "two ZELVAR"}));
    auto* field = form->findChild<QLineEdit*>(QStringLiteral("FindField"));
    auto* note = form->findChild<QLabel*>(QStringLiteral("FindNote"));
    ASSERT_TRUE(field && note);
    EXPECT_FALSE(field->isVisible());
    QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(field->hasFocus());
    QTest::keyClicks(field, QStringLiteral("zelvar"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(recordLabel->text(), QStringLiteral("0000001"));
    QTest::keyClick(field, Qt::Key_F3);
    EXPECT_EQ(recordLabel->text(), QStringLiteral("0001281"));
    QTest::keyClick(field, Qt::Key_F3);
    EXPECT_EQ(recordLabel->text(), QStringLiteral("0000001"));
    EXPECT_EQ(note->text(), QStringLiteral("From the top again"));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(field->isVisible());
    EXPECT_TRUE(list->hasFocus());

    // An unwritten change: asked, and staying keeps it.
    typeText(QStringLiteral("changed"));
    QStringList asked;
    form->setAsker([&](const QString& question) {
        asked << question;
        return FormView::Answer::Cancel;
    });
    QTest::keyClick(form.get(), Qt::Key_F3, Qt::ShiftModifier);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].contains(QStringLiteral("0000001"))) << asked[0].toStdString();
    EXPECT_EQ(recordLabel->text(), QStringLiteral("0000001"));
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("changed"));
    // F3 showed the field again, Tab passes it by; "No" left the note as it was.
    EXPECT_TRUE(field->isVisible());
    EXPECT_EQ(field->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(note->text(), QStringLiteral("From the top again"));
    // It keeps to the list's top-right corner when the window grows.
    form->resize(form->width() + 90, form->height());
    const QRect rows(list->viewport()->mapTo(field->parentWidget(), QPoint()),
                     list->viewport()->size());
    EXPECT_EQ(field->geometry().topRight(), rows.topRight());
}

TEST_F(Form1Test, KeysWriteAndStepAndNoKeyDropsAnEdit) {
    const QString path = makeFile(QStringLiteral("email.edt"), {"one", "two", "three"});
    open(path);
    // The first Down selects the first entry; letters typed in the list leave it there.
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClicks(list, QStringLiteral("["));
    QTest::keyClicks(list, QStringLiteral("T"), Qt::ShiftModifier);
    typeText(QStringLiteral("uno"));
    QTest::keyClick(edit, Qt::Key_W, Qt::AltModifier); // an access key, not a letter
    QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(bytesOf(path).contains(storedForm("uno")));
    // Asked before the change is left: Cancel keeps the line, the text and the caret.
    typeText(QStringLiteral("dos"));
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(reports.size(), 1);
    EXPECT_EQ(list->selectionModel()->selectedRows().value(0).row(), 0);
    EXPECT_EQ(edit->textCursor().position(), 2);
    form->setAsker([](const QString&) { return FormView::Answer::Discard; });
    QTest::keyClick(edit, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(recordLabel->text(), QStringLiteral("0000641"));
    EXPECT_TRUE(edit->hasFocus());
    typeText(QStringLiteral("zwei"));
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(bytesOf(path).contains(storedForm("zwei")));
    // F3 after a Ctrl+click took the selection away finds the match in that line.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualRect(list->model()->index(1, 0)).center());
    QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(form->findChild<QLineEdit*>(QStringLiteral("FindField")),
                     QStringLiteral("we"));
    QTest::keyClick(form.get(), Qt::Key_F3);
    EXPECT_EQ(list->selectionModel()->selectedRows().value(0).row(), 1);
}

TEST_F(Form1Test, TheCountTurnsRedWhileTheTextDoesNotFit) {
    open(makeFile(QStringLiteral("quests.edt"), {"a", "b"})); // 78 characters an entry
    clickRow(1);
    const QColor normal = stringLen->palette().color(QPalette::WindowText);
    typeText(QString(79, QLatin1Char('y')));
    EXPECT_NE(stringLen->palette().color(QPalette::WindowText), normal);
    EXPECT_EQ(stringLen->toolTip(), QStringLiteral("Entry 0000161 holds at most 78 characters."));
    EXPECT_EQ(stringLen->text(), QStringLiteral("79"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(stringLen->palette().color(QPalette::WindowText), normal);
    EXPECT_TRUE(stringLen->toolTip().isEmpty());
}

} // namespace
} // namespace edt::test
