#include "cli/parse_key.h"

namespace edt::cli {

bool parseKey(std::string_view digits, RecordKey& key) {
    // Leading zeros do not count towards the 19 digits that always fit 64 bits.
    std::size_t first = 0;
    while (first + 1 < digits.size() && digits[first] == '0')
        ++first;
    if (digits.empty() || digits.size() - first > 19)
        return false;
    key = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        key = key * 10 + static_cast<RecordKey>(c - '0');
    }
    return true;
}

} // namespace edt::cli
