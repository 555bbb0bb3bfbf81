// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"

#include <QAction>
#include <QFile>
#include <QTest>

#include "record/file_kind.h"
#include "tools/sample_files.h"

namespace edt::test {

void ScriptedOpenDialog::setCancelError(bool on) {
    settings << QStringLiteral("CancelError");
    OpenDialog::setCancelError(on);
}
void ScriptedOpenDialog::setDialogTitle(const std::string& title) {
    settings << QStringLiteral("DialogTitle");
    OpenDialog::setDialogTitle(title);
}
void ScriptedOpenDialog::setFlags(std::uint32_t flags) {
    settings << QStringLiteral("Flags");
    OpenDialog::setFlags(flags);
}
void ScriptedOpenDialog::setFilter(const std::string& filter) {
    settings << QStringLiteral("Filter");
    OpenDialog::setFilter(filter);
}
void ScriptedOpenDialog::setFilterIndex(int index) {
    settings << QStringLiteral("FilterIndex");
    OpenDialog::setFilterIndex(index);
}
void ScriptedOpenDialog::setDefaultExt(const std::string& ext) {
    settings << QStringLiteral("DefaultExt");
    OpenDialog::setDefaultExt(ext);
}

bool ScriptedOpenDialog::ShowOpen() {
    ++shown;
    settings << QStringLiteral("ShowOpen");
    if (answers.empty()) {
        ADD_FAILURE() << "the dialog was shown with no answer scripted";
        setCancelled();
        return false;
    }
    const std::optional<QString> answer = answers.front();
    answers.pop_front();
    if (!answer) {
        setCancelled();
        return false;
    }
    // The chooser as the real dialog presets it, unless the script picks a code page.
    const std::string path = answer->toStdString();
    setChosenFile(path, codePage.empty() ? presetFor(path) : codePage);
    return true;
}

void Form1Test::SetUp() {
    ASSERT_TRUE(dir.isValid());
    auto scripted = std::make_unique<ScriptedOpenDialog>();
    dialog = scripted.get();
    form = std::make_unique<Form1>(std::move(scripted));
    form->setReporter([this](const QString& message) { reports << message; });
    // No modal box can hold a test up: questions are reported and cancelled.
    form->setAsker([this](const QString& question) {
        reports << question;
        return FormView::Answer::Cancel;
    });
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

    list = form->findChild<QListView*>(QStringLiteral("List1"));
    edit = form->findChild<QPlainTextEdit*>(QStringLiteral("EditWindow"));
    recordLabel = form->findChild<QLabel*>(QStringLiteral("RecordLabel"));
    stringLen = form->findChild<QLabel*>(QStringLiteral("StringLen"));
    recLabel = form->findChild<QLabel*>(QStringLiteral("RecLabel"));
    versionInfo = form->findChild<QLabel*>(QStringLiteral("VersionInfo"));
    label1 = form->findChild<QLabel*>(QStringLiteral("Label1"));
    writeButton = form->findChild<QPushButton*>(QStringLiteral("btn_WriteRecord"));
    ASSERT_TRUE(list && edit && recordLabel && stringLen && recLabel && versionInfo && label1 &&
                writeButton);
}

void Form1Test::TearDown() {
    form.reset();
}

QString Form1Test::makeFile(const QString& name, const std::vector<std::string>& texts,
                            unsigned char filler) {
    const QString path = dir.filePath(name);
    const FileKind kind = kindForFileName(fileTitleOf(name.toStdString()));
    const bool written = samples::writeWholeFile(QFile::encodeName(path).toStdString(),
                                                 samples::makeImage(kind, texts, filler));
    EXPECT_TRUE(written) << "cannot write " << path.toStdString();
    return path;
}

QByteArray Form1Test::bytesOf(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void Form1Test::open(const std::optional<QString>& path) {
    dialog->answers.push_back(path);
    form->findChild<QAction*>(QStringLiteral("mnu_FileOpen"))->trigger();
}

void Form1Test::clickRow(int index) {
    const QModelIndex item = list->model()->index(index, 0);
    list->scrollTo(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
}

void Form1Test::typeText(const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : text) {
        // QTest knows keys for ASCII only; other characters arrive as typed text.
        if (c.unicode() < 128)
            QTest::keyClick(edit, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void Form1Test::clickWriteRecord() {
    QTest::mouseClick(writeButton, Qt::LeftButton);
}

QString Form1Test::row(int index) const {
    return list->model()->index(index, 0).data().toString();
}

int Form1Test::rowCount() const {
    return list->model()->rowCount();
}

QByteArray storedForm(const std::string& text) {
    QByteArray bytes;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        bytes += static_cast<char>(c > 32 ? c + 1 : c);
        bytes += '\0';
    }
    bytes += QByteArray(4, '\0');
    return bytes;
}

} // namespace edt::test
