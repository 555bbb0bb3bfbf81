#include "window/entry_model.h"

#include <algorithm>
#include <climits>

#include "window/display_text.h"

namespace edt {

void EntryModel::setEntries(std::vector<EntryLine> entries) {
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

void EntryModel::clear() {
    setEntries({});
}

int EntryModel::rowOfKey(RecordKey key) const {
    const auto it =
        std::lower_bound(entries_.begin(), entries_.end(), key,
                         [](const EntryLine& line, RecordKey k) { return line.key < k; });
    if (it == entries_.end() || it->key != key)
        return -1;
    return static_cast<int>(it - entries_.begin());
}

void EntryModel::setEntryText(int row, std::string text) {
    entries_[static_cast<std::size_t>(row)].text = std::move(text);
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

int EntryModel::rowCount(const QModelIndex& parent) const {
    // A list has rows at the top level only. Row counts beyond int cannot be shown.
    if (parent.isValid())
        return 0;
    return static_cast<int>(std::min<std::size_t>(entries_.size(), INT_MAX));
}

QVariant EntryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole)
        return {};
    return rowText(entry(index.row()));
}

} // namespace edt
