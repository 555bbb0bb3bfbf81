// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "qt_print.h"
#include "window/file_open_dialog.h"

namespace edt {
namespace {

const QString kFilter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt");

TEST(NameFilters, KeepTheDescriptionsAndListNamesWithoutADot) {
    EXPECT_EQ(qtNameFilters(kFilter), QStringList({QStringLiteral("All Files (*.*) (*)"),
                                                   QStringLiteral("Text Files (*.txt) (*.txt)")}));
    EXPECT_EQ(qtNameFilters(QStringLiteral("EDT files|*.edt;*.EDT")),
              QStringList({QStringLiteral("EDT files (*.edt *.EDT)")}));
    EXPECT_TRUE(qtNameFilters(QString()).isEmpty());
}

TEST(DefaultExt, IsAddedOnlyToANameWithoutDotThatDoesNotExist) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile civ(dir.filePath(QStringLiteral("civ")));
    ASSERT_TRUE(civ.open(QIODevice::WriteOnly));
    civ.close();
    const QString ext = QStringLiteral("txt");
    EXPECT_EQ(withDefaultExt(dir.filePath(QStringLiteral("civ")), ext),
              dir.filePath(QStringLiteral("civ")));
    EXPECT_EQ(withDefaultExt(dir.filePath(QStringLiteral("notes")), ext),
              dir.filePath(QStringLiteral("notes.txt")));
    EXPECT_EQ(withDefaultExt(dir.filePath(QStringLiteral("email.edt")), ext),
              dir.filePath(QStringLiteral("email.edt")));
    EXPECT_EQ(withDefaultExt(dir.filePath(QStringLiteral("notes")), QString()),
              dir.filePath(QStringLiteral("notes")));
}

// Drives the real dialog: `script` runs once it is shown, inside its event loop.
class RealDialog : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        for (const char* name : {"civ", "email.edt", "notes.txt"}) {
            QFile file(dir_.filePath(QLatin1String(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name;
        }
        dialog_.setCancelError(true);
        dialog_.setDialogTitle("Open File ...");
        dialog_.setFlags(0x200806);
        dialog_.setFilter(kFilter.toStdString());
        dialog_.setFilterIndex(1);
        dialog_.setDefaultExt("txt");
        // email.edt was read in 1251 last time; anything else in 1252.
        dialog_.setCodePages({"Windows-1251", "Windows-1252"}, [](const std::string& path) {
            return QString::fromStdString(path).endsWith(QStringLiteral("email.edt"))
                       ? "Windows-1251"
                       : "Windows-1252";
        });
        previous_ = QDir::currentPath();
        QDir::setCurrent(dir_.path()); // the dialog starts in the working directory
    }
    void TearDown() override { QDir::setCurrent(previous_); }

    bool show(const std::function<void(QFileDialog*)>& script) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            EXPECT_NE(box, nullptr);
            if (box) {
                script(box);
                ran = true;
            }
        });
        const bool chosen = dialog_.ShowOpen();
        EXPECT_TRUE(ran);
        return chosen;
    }

    // The names the dialog lists right now, once its folder has been read.
    // Types a name into the dialog's name box and presses Open, as a user does.
    static void choose(QFileDialog* box, const QString& name) {
        auto* edit = box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(name);
        QMetaObject::invokeMethod(box, "accept", Qt::QueuedConnection);
    }

    static QStringList listed(QFileDialog* box) {
        auto* view = box->findChild<QListView*>(QStringLiteral("listView"));
        QStringList names;
        if (!view)
            return names;
        const QModelIndex root = view->rootIndex();
        for (int row = 0; row < view->model()->rowCount(root); ++row)
            names << view->model()->index(row, 0, root).data().toString();
        names.sort();
        return names;
    }

    QTemporaryDir dir_;
    FileOpenDialog dialog_;
    QString previous_;
};

TEST_F(RealDialog, ShowsItsSettingsAndListsNamesWithoutADot) {
    const bool chosen = show([this](QFileDialog* box) {
        EXPECT_EQ(box->objectName(), QStringLiteral("DialogBox"));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Open File ..."));
        EXPECT_TRUE(box->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(box->fileMode(), QFileDialog::AnyFile);
        EXPECT_EQ(box->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(box->directory().absolutePath(), QDir(dir_.path()).absolutePath());
        auto* types = box->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        EXPECT_EQ(types->currentIndex(), 0);
        EXPECT_EQ(types->currentText(), QStringLiteral("All Files (*.*)"));
        EXPECT_EQ(types->itemText(1), QStringLiteral("Text Files (*.txt)"));

        const QStringList all = {QStringLiteral("civ"), QStringLiteral("email.edt"),
                                 QStringLiteral("notes.txt")};
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed(box) == all; }))
            << listed(box).join(QLatin1Char(' ')).toStdString();
        box->selectNameFilter(box->nameFilters().at(1));
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed(box) == QStringList{"notes.txt"}; }))
            << listed(box).join(QLatin1Char(' ')).toStdString();
        box->selectNameFilter(box->nameFilters().at(0));

        // The character set: preset for no file, then for the file picked, then chosen.
        auto* codePage = box->findChild<QComboBox*>(QStringLiteral("CodePage"));
        ASSERT_NE(codePage, nullptr);
        EXPECT_EQ(codePage->currentText(), QStringLiteral("Windows-1252"));
        auto* name = box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name->setText(QStringLiteral("email.edt"));
        EXPECT_EQ(codePage->currentText(), QStringLiteral("Windows-1251"));
        name->setText(QStringLiteral("civ"));
        EXPECT_EQ(codePage->currentText(), QStringLiteral("Windows-1252"));
        codePage->setCurrentText(QStringLiteral("Windows-1251"));
        choose(box, QStringLiteral("civ"));
    });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(dialog_.FileName(), dir_.filePath(QStringLiteral("civ")).toStdString());
    EXPECT_EQ(dialog_.FileTitle(), "civ");
    EXPECT_EQ(dialog_.CodePage(), "Windows-1251");
}

TEST_F(RealDialog, TakesATypedNameOfAFileThatDoesNotExistAndAddsTheDefaultExt) {
    const bool chosen = show([](QFileDialog* box) { choose(box, QStringLiteral("missing")); });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(dialog_.FileName(), dir_.filePath(QStringLiteral("missing.txt")).toStdString());
    EXPECT_EQ(dialog_.FileTitle(), "missing.txt");
}

TEST_F(RealDialog, ReportsACancelAndKeepsTheLastChoice) {
    ASSERT_TRUE(show([](QFileDialog* box) { choose(box, QStringLiteral("email.edt")); }));
    const bool chosen = show([this](QFileDialog* box) {
        // The next ShowOpen starts in the folder of the last choice.
        EXPECT_EQ(box->directory().absolutePath(), QDir(dir_.path()).absolutePath());
        QMetaObject::invokeMethod(box, "reject", Qt::QueuedConnection);
    });
    EXPECT_FALSE(chosen);
    EXPECT_EQ(dialog_.FileTitle(), "email.edt");
}

TEST_F(RealDialog, RefusesANameInAFolderThatDoesNotExist) {
    QString warning;
    const bool chosen = show([&](QFileDialog* box) {
        auto* name = box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(dir_.filePath(QStringLiteral("no-such-folder/email.edt")));
        QTimer::singleShot(0, [&] {
            auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(message, nullptr);
            warning = message->text();
            message->close();
        });
        // Returns once the warning is closed.
        QMetaObject::invokeMethod(box, "accept", Qt::DirectConnection);
        EXPECT_TRUE(box->isVisible());
        QMetaObject::invokeMethod(box, "reject", Qt::QueuedConnection);
    });
    EXPECT_FALSE(chosen);
    EXPECT_TRUE(warning.contains(QStringLiteral("no-such-folder"))) << warning.toStdString();
    EXPECT_TRUE(warning.contains(QStringLiteral("does not exist")));
}

} // namespace
} // namespace edt
