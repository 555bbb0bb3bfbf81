// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/entry_lines.h"

#include <algorithm>

#include "record/text_codec.h"

namespace edt::test {

std::string lineOf(const EntryLine& entry) {
    return "[" + formatKey(entry.key) + "] " + entry.text;
}

std::optional<EntryLine> parseLine(std::string_view line) {
    if (line.size() < 4 || line[0] != '[')
        return std::nullopt;
    const std::size_t close = line.find(']', 1);
    if (close == std::string_view::npos || close == 1 || close + 1 >= line.size() ||
        line[close + 1] != ' ')
        return std::nullopt;
    RecordKey key = 0;
    if (!parseKey(line.substr(1, close - 1), key))
        return std::nullopt;
    return EntryLine{key, std::string(line.substr(close + 2))};
}

std::vector<EntryLine> decodeEntries(const unsigned char* data, std::size_t size,
                                     const FileKind& kind) {
    const EntryLayout layout(kind, size);
    std::vector<EntryLine> entries;
    entries.reserve(static_cast<std::size_t>(layout.entryCount()));
    for (std::uint64_t i = 0; i < layout.entryCount(); ++i) {
        const std::uint64_t offset = layout.keyOf(i) - 1;
        const std::size_t available =
            offset < size ? static_cast<std::size_t>(size - offset) : std::size_t{0};
        entries.push_back(
            {layout.keyOf(i), decodeEntry(data + std::min<std::uint64_t>(offset, size), available,
                                          layout.lengthOf(i))});
    }
    return entries;
}

} // namespace edt::test
