#include "record/entry_line.h"

#include <limits>

namespace edt {

char* writeKey(char* out, RecordKey key) {
    char digits[20]; // 2^64 - 1 has 20 digits
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + key % 10);
        key /= 10;
    } while (key != 0);
    for (int pad = count; pad < 7; ++pad)
        *out++ = '0';
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

std::string formatKey(RecordKey key) {
    char digits[20];
    return std::string(digits, writeKey(digits, key));
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
