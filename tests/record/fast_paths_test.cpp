// SPDX-License-Identifier: GPL-3.0-or-later
// The bulk paths that decode millions of entries and format their keys, against the
// plain one-byte-at-a-time rules they replace.
#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <utility>

#include "record/entry_line.h"
#include "record/text_codec.h"
#include "tests/support/plain_rules.h"

namespace edt {
namespace {

using test::decodeByTheRule;

// Decodes with the input ending exactly at `available` (so that sanitizers see any
// over-read) and checks that nothing is written past `entryLength` characters.
std::string decodeFast(const std::string& bytes, std::size_t available, std::size_t entryLength) {
    const std::vector<unsigned char> input(bytes.begin(), bytes.begin() + available);
    std::string out(entryLength + 16, '#');
    const std::size_t size = decodeEntryTo(input.data(), available, entryLength, out.data());
    EXPECT_EQ(out.substr(entryLength), std::string(16, '#')) << "wrote past the entry";
    EXPECT_EQ(decodeEntry(input.data(), available, entryLength), out.substr(0, size));
    return out.substr(0, size);
}

TEST(FastDecode, EveryShapeOfEntryDecodesLikeTheRule) {
    for (const test::StoredEntry& e : test::entryShapes()) {
        SCOPED_TRACE(e.label);
        ASSERT_EQ(decodeFast(e.bytes, e.available, e.entryLength),
                  decodeByTheRule(e.bytes, e.available, e.entryLength));
    }
}

TEST(FastDecode, WriteKeyPadsToSevenDigitsAndShowsAllOfLargeKeys) {
    const std::pair<RecordKey, std::string> cases[] = {
        {0, "0000000"},
        {1, "0000001"},
        {9999999, "9999999"},
        {10000000, "10000000"},
        {std::numeric_limits<RecordKey>::max(), "18446744073709551615"}};
    for (const auto& [key, shown] : cases) {
        char buffer[24];
        char* end = writeKey(buffer, key);
        EXPECT_EQ(std::string(buffer, end), shown);
        EXPECT_EQ(formatKey(key), shown);
    }
}

TEST(FastDecode, WriteKeyShowsEveryKeyAsThePlainDecimalForm) {
    // Every digit count and every pair of last digits, against the standard formatting.
    std::vector<RecordKey> keys;
    for (RecordKey key = 0; key < 2000; ++key)
        keys.push_back(key);
    for (RecordKey power = 1000; power <= 1000000000000000000u; power *= 10)
        for (RecordKey near : {power - 1, power, power + 1, power * 9 + power / 3})
            keys.push_back(near);
    std::mt19937_64 random(7);
    for (int i = 0; i < 5000; ++i)
        keys.push_back(random() >> (random() % 64));
    for (const RecordKey key : keys) {
        std::string plain = std::to_string(key);
        if (plain.size() < 7)
            plain.insert(0, 7 - plain.size(), '0');
        char buffer[24];
        ASSERT_EQ(std::string(buffer, writeKey(buffer, key)), plain);
    }
}

} // namespace
} // namespace edt
