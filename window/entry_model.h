#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

#include "record/entry_line.h"

namespace edt {

// The lines of List1: one row per entry of the open file, in file order. Holds the
// entries as the reader made them and formats a row's text only when the view asks
// for it, so that a file of hundreds of thousands of entries lists at once.
class EntryModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    // Replaces all rows in one step (one model reset).
    void setEntries(std::vector<EntryLine> entries);
    void clear();

    const EntryLine& entry(int row) const { return entries_[static_cast<std::size_t>(row)]; }

    // The row of the entry with this key, or -1. Keys rise with the rows.
    int rowOfKey(RecordKey key) const;

    // Puts a new text into one row (after a write) and tells the view.
    void setEntryText(int row, std::string text);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<EntryLine> entries_;
};

} // namespace edt
