// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/file_open_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include "editor/design.h"

namespace edt {
namespace {

// QFileDialog in AnyFile mode takes a typed name in a folder that does not exist;
// with kPathMustExist such a name is refused and the dialog stays open.
class PathCheckingFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void setPathMustExist(bool on) { pathMustExist_ = on; }

    void accept() override {
        const QStringList files = selectedFiles();
        if (pathMustExist_ && !files.isEmpty()) {
            const QFileInfo chosen(files.first());
            if (!chosen.isDir() && !QFileInfo(chosen.absolutePath()).isDir()) {
                QMessageBox::warning(this, windowTitle(),
                                     QStringLiteral("The folder \"%1\" does not exist.")
                                         .arg(QDir::toNativeSeparators(chosen.absolutePath())));
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    bool pathMustExist_ = false;
};

} // namespace

QStringList qtNameFilters(const QString& filter) {
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        // Qt takes the patterns from the last parentheses and, with
        // HideNameFilterDetails, shows what comes before them.
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

QString withDefaultExt(const QString& path, const QString& ext) {
    const QFileInfo info(path);
    if (ext.isEmpty() || info.fileName().contains(QLatin1Char('.')) || info.exists())
        return path;
    return path + QLatin1Char('.') + ext;
}

bool FileOpenDialog::ShowOpen() {
    PathCheckingFileDialog dialog(parent_, QString::fromStdString(dialogTitle()),
                                  directory_.isEmpty() ? QDir::currentPath() : directory_);
    dialog.setObjectName(QStringLiteral("DialogBox"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Without kFileMustExist the name of a file that does not exist is accepted.
    dialog.setFileMode(flags() & design::kFileMustExist ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    dialog.setPathMustExist(flags() & design::kPathMustExist);
    // The read-only, long-name and overwrite flags need nothing here: Qt's dialog has
    // no read-only box, always uses long names and does not save.
    const QStringList filters = qtNameFilters(QString::fromStdString(filter()));
    dialog.setNameFilters(filters);
    if (filterIndex() >= 1 && filterIndex() <= filters.size())
        dialog.selectNameFilter(filters[filterIndex() - 1]);

    // The character set, in a row of its own under the file type: preset for the file
    // picked (as it was read last time), or for none.
    auto* codePageBox = new QComboBox(&dialog);
    codePageBox->setObjectName(QStringLiteral("CodePage"));
    for (const std::string& name : codePages())
        codePageBox->addItem(QString::fromStdString(name));
    codePageBox->setCurrentText(QString::fromStdString(presetFor({})));
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        auto* label = new QLabel(QStringLiteral("&Character set:"), &dialog);
        label->setBuddy(codePageBox);
        grid->addWidget(label, row, 0);
        grid->addWidget(codePageBox, row, 1);
    }
    // A file picked in the list or typed shows in the name box.
    if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        QObject::connect(name, &QLineEdit::textChanged, codePageBox,
                         [this, &dialog, codePageBox](const QString& text) {
                             const QFileInfo file(dialog.directory(), text);
                             if (!text.isEmpty() && file.isFile())
                                 codePageBox->setCurrentText(QString::fromStdString(
                                     presetFor(file.absoluteFilePath().toStdString())));
                         });
    }

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        setCancelled();
        return false;
    }
    const QString path =
        withDefaultExt(QFileInfo(dialog.selectedFiles().first()).absoluteFilePath(),
                       QString::fromStdString(defaultExt()));
    directory_ = QFileInfo(path).absolutePath();
    setChosenFile(path.toStdString(), codePageBox->currentText().toStdString());
    return true;
}

} // namespace edt
