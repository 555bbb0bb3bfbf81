// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/file_open_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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

bool FileOpenDialog::ShowOpen(QWidget* parent) {
    PathCheckingFileDialog dialog(parent, dialogTitle(),
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
    const QStringList filters = qtNameFilters(filter());
    dialog.setNameFilters(filters);
    if (filterIndex() >= 1 && filterIndex() <= filters.size())
        dialog.selectNameFilter(filters[filterIndex() - 1]);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        setCancelled();
        return false;
    }
    const QString path =
        withDefaultExt(QFileInfo(dialog.selectedFiles().first()).absoluteFilePath(), defaultExt());
    directory_ = QFileInfo(path).absolutePath();
    setChosenFile(path);
    return true;
}

} // namespace edt
