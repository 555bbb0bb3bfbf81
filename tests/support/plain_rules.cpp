// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/plain_rules.h"

#include <cmath>
#include <random>

namespace edt::test {

std::string decodeByTheRule(std::string_view bytes, std::size_t available,
                            std::size_t entryLength) {
    std::string text;
    int balance = 0;
    for (std::size_t i = 0; i < entryLength; ++i) {
        const auto b = i < available ? static_cast<unsigned char>(bytes[i]) : 0;
        balance += b == 0 ? 1 : -1;
        if (balance == 2)
            break;
        if (b != 0)
            text += static_cast<char>(b >= 33 ? b - 1 : b);
    }
    return text;
}

std::vector<RuleEntry> listByTheRules(std::string_view image, const FileKind& kind) {
    const bool split = kind.firstFieldLength != 0;
    // The default floating-point rounding is to the nearest, halves to even; the
    // quotient of two integers below 2^53 is exact at the halves.
    const double records = std::nearbyint(static_cast<double>(image.size()) / kind.recordLength);
    const auto count = static_cast<std::uint64_t>(records) * (split ? 2 : 1);
    std::vector<RuleEntry> entries;
    std::uint64_t start = 1;
    bool secondField = false;
    for (std::uint64_t number = 1;; ++number) {
        const int length = !split        ? kind.recordLength
                           : secondField ? kind.secondFieldLength
                                         : kind.firstFieldLength;
        const std::size_t from =
            static_cast<std::size_t>(std::min<std::uint64_t>(start - 1, image.size()));
        entries.push_back({start, length,
                           decodeByTheRule(image.substr(from), image.size() - from,
                                           static_cast<std::size_t>(length))});
        if (number + 1 > count)
            break;
        start += length;
        if (split)
            secondField = !secondField;
    }
    return entries;
}

std::string regularPairsThen(std::size_t pairs, const std::string& tail) {
    std::string bytes;
    for (std::size_t i = 0; i < pairs; ++i) {
        bytes += static_cast<char>(i % 7 == 0 ? 0xE9 : 0x21 + i % 90); // 0x21: a stored blank
        bytes += '\0';
    }
    return bytes + tail;
}

std::vector<StoredEntry> entryShapes() {
    std::vector<StoredEntry> shapes;
    // What can follow the regular pairs: the terminator, a character with a non-zero
    // high byte, a zero at an even position, a lone trailing character, nothing.
    const std::string tails[] = {std::string(4, '\0'), std::string("\x42\x02\0\0", 4),
                                 std::string("\0\x42\0\0\0", 5), std::string("\x42", 1),
                                 std::string()};
    for (std::size_t pairs = 0; pairs <= 40; ++pairs) {
        for (std::size_t t = 0; t < std::size(tails); ++t) {
            const std::string bytes = regularPairsThen(pairs, tails[t]);
            for (std::size_t available = 0; available <= bytes.size(); ++available) {
                for (std::size_t entryLength : {available, bytes.size(), bytes.size() + 9}) {
                    shapes.push_back({bytes, available, entryLength,
                                      "pairs " + std::to_string(pairs) + ", tail " +
                                          std::to_string(t) + ", available " +
                                          std::to_string(available) + ", entry " +
                                          std::to_string(entryLength)});
                }
            }
        }
    }
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        const std::size_t length = random() % 200;
        std::string bytes = regularPairsThen(random() % 60, "");
        while (bytes.size() < length)
            bytes += static_cast<char>(random() % 3 == 0 ? 0 : random() % 256);
        bytes.resize(length);
        const std::size_t available = random() % (length + 1);
        shapes.push_back({bytes, available, length, "random " + std::to_string(round)});
    }
    return shapes;
}

} // namespace edt::test
