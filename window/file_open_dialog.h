// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "editor/open_dialog.h"

class QWidget;

namespace edt {

// The open-file dialog on top of Qt's own (never the platform's native one, so that
// it looks and behaves the same everywhere and tests can drive it). It remembers the
// folder of the last choice for the next ShowOpen; at first it shows the working
// directory. The dialog widget is named "DialogBox", shown over `parent`.
class FileOpenDialog : public OpenDialog {
public:
    explicit FileOpenDialog(QWidget* parent = nullptr) : parent_(parent) {}
    bool ShowOpen() override;

private:
    QWidget* parent_;
    QString directory_;
};

// Qt name filters for a filter text of description and pattern pairs. A filter shows
// its description unchanged, while "*.*" becomes "*": on Linux "*.*" would hide every
// name without a dot.
QStringList qtNameFilters(const QString& filter);

// `path` with "." + `ext` added when its name has no dot and no file of that name
// exists (so an existing file named "civ" is opened as it is).
QString withDefaultExt(const QString& path, const QString& ext);

} // namespace edt
