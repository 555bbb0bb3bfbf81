// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>

#include "editor/editor.h"

namespace edt {

// The lines of List1: one row per entry the editor lists, in file order. Formats a
// row's text only when the view asks for it, so that a file of hundreds of thousands
// of entries lists at once.
class EntryModel : public QAbstractListModel {
    Q_OBJECT

public:
    EntryModel(const Editor& editor, QObject* parent);

    // After a change of the editor's whole list (an open), or of one row's text (a
    // write). The rows are read only when a view asks, so the reset may follow the
    // change.
    void listChanged(int row = -1);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // A row's text; for screen readers (Qt::AccessibleTextRole) with the words "line
    // break" where the row shows the mark of one.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const Editor& editor_;
};

} // namespace edt
