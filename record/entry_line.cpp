#include "record/entry_line.h"

#include <limits>

namespace edt {

std::string formatKey(RecordKey key) {
    std::string digits = std::to_string(key);
    if (digits.size() < 7)
        digits.insert(0, 7 - digits.size(), '0');
    return digits;
}

std::string EntryLine::str() const {
    std::string line;
    line.reserve(text.size() + 12);
    line += '[';
    line += formatKey(key);
    line += "] ";
    line += text;
    return line;
}

std::optional<EntryLine> EntryLine::parse(std::string_view line) {
    if (line.size() < 4 || line[0] != '[')
        return std::nullopt;
    const std::size_t close = line.find(']', 1);
    if (close == std::string_view::npos || close == 1 || close + 1 >= line.size() ||
        line[close + 1] != ' ')
        return std::nullopt;
    RecordKey key = 0;
    for (std::size_t i = 1; i < close; ++i) {
        const char c = line[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        const RecordKey digit = static_cast<RecordKey>(c - '0');
        if (key > (std::numeric_limits<RecordKey>::max() - digit) / 10)
            return std::nullopt;
        key = key * 10 + digit;
    }
    return EntryLine{key, std::string(line.substr(close + 2))};
}

} // namespace edt
