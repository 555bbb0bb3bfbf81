// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/entry_model.h"

#include <algorithm>
#include <climits>

#include "editor/edit_text.h"
#include "record/shown_text.h"

namespace edt {

EntryModel::EntryModel(const Editor& editor, QObject* parent)
    : QAbstractListModel(parent), editor_(editor) {}

void EntryModel::listChanged(int row) {
    if (row < 0) {
        beginResetModel();
        return endResetModel();
    }
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::AccessibleTextRole});
}

int EntryModel::rowCount(const QModelIndex& parent) const {
    // A list has rows at the top level only. Row counts beyond int cannot be shown.
    if (parent.isValid())
        return 0;
    return static_cast<int>(std::min<std::size_t>(editor_.entries().size(), INT_MAX));
}

QVariant EntryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    const CodePage& codePage = *editor_.codePage();
    QString row = QString::fromStdU16String(
        rowText(editor_.entries()[static_cast<std::size_t>(index.row())], codePage));
    // A screen reader says the line break the mark stands for; the mark is no
    // character of the code page, so nothing else in the row is replaced.
    if (role == Qt::AccessibleTextRole)
        row.replace(QChar(marksFor(codePage).lineBreak), QStringLiteral(" line break "));
    return row;
}

} // namespace edt
