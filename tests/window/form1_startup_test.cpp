// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "form1_fixture.h"

namespace edt::test {
namespace {

TEST_F(Form1Test, StartsWithTheDesignCaptionsAndAnEmptyList) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zelvar EDT File Editor"));
    EXPECT_EQ(versionInfo->text(),
              QStringLiteral("Oskeln's Zelvar EDT File Editor - Version 1.0.1"));
    EXPECT_EQ(stringLen->text(), QStringLiteral("0")); // emptying "Text1" was counted
    EXPECT_EQ(recLabel->text(), QStringLiteral("Record Length (Max 315):"));
    EXPECT_EQ(recordLabel->text(), QString());
    EXPECT_EQ(label1->text(), QStringLiteral("Record:"));
    EXPECT_EQ(edit->toPlainText(), QString());
    EXPECT_EQ(rowCount(), 0);
    EXPECT_TRUE(form->CurrFileName.isEmpty());
    EXPECT_TRUE(form->CurrFileTitle.isEmpty());
    EXPECT_EQ(writeButton->text(), QStringLiteral("Write Record"));
    EXPECT_EQ(writeButton->toolTip(), QStringLiteral("Write Record"));
    EXPECT_EQ(QApplication::focusWidget(), list);
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(Form1Test, ListIsAModelViewWithUniformRowsAndOneSelection) {
    EXPECT_EQ(qobject_cast<QListWidget*>(list), nullptr);
    EXPECT_TRUE(list->uniformItemSizes());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(Form1Test, TextBoxWrapsHasNoScrollBarsAndNoLimit) {
    EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_TRUE(edit->tabChangesFocus());
    EXPECT_FALSE(edit->isReadOnly());
    const QString longText(2000, QLatin1Char('x'));
    edit->setPlainText(longText);
    EXPECT_EQ(edit->toPlainText(), longText);
    EXPECT_EQ(stringLen->text(), QStringLiteral("2000"));
}

TEST_F(Form1Test, UsesArialOf8Point25WithTheBoldLabels) {
    struct Expect {
        QWidget* widget;
        bool bold;
    };
    for (const Expect& e : {Expect{list, false}, Expect{edit, false}, Expect{recordLabel, true},
                            Expect{label1, false}, Expect{stringLen, true}, Expect{recLabel, false},
                            Expect{versionInfo, false}}) {
        const QFont font = e.widget->font();
        EXPECT_EQ(font.family(), QStringLiteral("Arial")) << e.widget->objectName().toStdString();
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25) << e.widget->objectName().toStdString();
        EXPECT_EQ(font.bold(), e.bold) << e.widget->objectName().toStdString();
        // fontconfig maps Arial to its metric twin when the real one is missing; any
        // other face changes the row heights.
        const QString face = QFontInfo(font).family();
        EXPECT_TRUE(face == QLatin1String("Arial") || face == QLatin1String("Liberation Sans"))
            << face.toStdString();
    }
}

TEST_F(Form1Test, LabelsTakeNoFocusAndTabCyclesListTextBoxButton) {
    for (QLabel* label : {recordLabel, label1, stringLen, recLabel, versionInfo})
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << label->objectName().toStdString();
    ASSERT_EQ(QApplication::focusWidget(), list);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), edit);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), writeButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), list);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), writeButton);
}

TEST_F(Form1Test, FileMenuHasOpenSeparatorExitWithAccessKeysAndNoShortcuts) {
    auto* file = form->findChild<QMenu*>(QStringLiteral("mnu_File"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->title(), QStringLiteral("&File"));
    ASSERT_EQ(form->menuBar()->actions().size(), 1);
    const QList<QAction*> items = file->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->objectName(), QStringLiteral("mnu_FileOpen"));
    EXPECT_EQ(items[0]->text(), QStringLiteral("&Open ..."));
    EXPECT_EQ(items[1]->objectName(), QStringLiteral("mnu_FileSpace1"));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->objectName(), QStringLiteral("mnu_FileExit"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("E&xit"));
    for (QAction* item : items) {
        EXPECT_TRUE(item->shortcut().isEmpty());
        EXPECT_TRUE(item->isEnabled() && item->isVisible());
        EXPECT_FALSE(item->isChecked());
    }
}

TEST_F(Form1Test, AltFThenOOpensTheDialog) {
    dialog->answers.push_back(std::nullopt);
    QTest::keyClick(form.get(), Qt::Key_F, Qt::AltModifier);
    auto* file = form->findChild<QMenu*>(QStringLiteral("mnu_File"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == file; }));
    QTest::keyClick(file, Qt::Key_O);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->shown == 1; }));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Form1Test, AltFThenXAndDiscardEndLeavingTheFileAsItWas) {
    const QString path = makeFile(QStringLiteral("email.edt"), {"Hi!", "second"});
    const QByteArray before = bytesOf(path);
    open(path);
    clickRow(1);
    typeText(QStringLiteral("changed but not written"));
    form->setAsker([](const QString&) { return FormView::Answer::Discard; });

    QTest::keyClick(form.get(), Qt::Key_F, Qt::AltModifier);
    auto* file = form->findChild<QMenu*>(QStringLiteral("mnu_File"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == file; }));
    QTest::keyClick(file, Qt::Key_X);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }));
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(Form1Test, ClosingTheFrameAsksNothing) {
    edit->setPlainText(QStringLiteral("unwritten"));
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(Form1Messages, ARefusalShowsAWarningBoxByDefault) {
    Form1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        box->close();
    });
    form.findChild<QPushButton*>(QStringLiteral("btn_WriteRecord"))->click();
    EXPECT_TRUE(shown.contains(QStringLiteral("No file is open"))) << shown.toStdString();
}

} // namespace
} // namespace edt::test
