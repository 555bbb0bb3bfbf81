// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/entry_line.h"

#include <cstring>

namespace edt {

char* writeKey(char* out, RecordKey key) {
    // Two digits per division, from the right: a listing formats one key per line.
    static const char kDigitPairs[] = "00010203040506070809101112131415161718192021222324"
                                      "25262728293031323334353637383940414243444546474849"
                                      "50515253545556575859606162636465666768697071727374"
                                      "75767778798081828384858687888990919293949596979899";
    std::size_t count = 7; // digits shown: at least seven, zero-padded
    for (RecordKey rest = key / 10000000; rest != 0; rest /= 10)
        ++count;
    char* const end = out + count;
    char* first = end;
    for (; key >= 100; key /= 100) {
        first -= 2;
        std::memcpy(first, kDigitPairs + 2 * (key % 100), 2);
    }
    if (key >= 10) {
        first -= 2;
        std::memcpy(first, kDigitPairs + 2 * key, 2);
    } else {
        *--first = static_cast<char>('0' + key);
    }
    while (first != out)
        *--first = '0';
    return end;
}

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

std::string formatKey(RecordKey key) {
    char digits[20];
    return std::string(digits, writeKey(digits, key));
}

} // namespace edt
