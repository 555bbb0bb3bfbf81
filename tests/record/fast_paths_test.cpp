// The bulk paths that list millions of entries (decoding, key formatting, escaping,
// the listing's buffer) against the plain one-byte-at-a-time rules they replace.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <random>
#include <utility>

#include "cli/escape.h"
#include "cli/list_command.h"
#include "cli/listed_text.h"
#include "record/reader.h"
#include "record/text_codec.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

// The decoding rule, one byte at a time: the text ends where the running zero
// balance (+1 per zero byte, -1 per other byte) reaches 2; bytes past `available`
// read as zero.
std::string decodeByTheRule(const std::string& bytes, std::size_t available,
                            std::size_t entryLength) {
    std::string text;
    int balance = 0;
    for (std::size_t i = 0; i < entryLength; ++i) {
        const auto b = i < available ? static_cast<unsigned char>(bytes[i]) : 0;
        if (b == 0) {
            if (++balance == 2)
                break;
        } else {
            --balance;
            text += static_cast<char>(b > 32 ? b - 1 : b);
        }
    }
    return text;
}

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

// A run of `pairs` regular pairs (character, zero), then `tail`.
std::string regularThen(std::size_t pairs, const std::string& tail) {
    std::string bytes;
    for (std::size_t i = 0; i < pairs; ++i) {
        bytes += static_cast<char>(i % 7 == 0 ? 0xE9 : 0x21 + i % 90); // 0x21: a stored blank
        bytes += '\0';
    }
    return bytes + tail;
}

TEST(FastDecode, RegularRunsOfEveryLengthEndLikeTheRule) {
    // What can follow the regular pairs: the terminator, a character with a non-zero
    // high byte, a zero at an even position, a lone trailing character, nothing.
    const std::vector<std::string> tails = {std::string(4, '\0'), std::string("\x42\x02\0\0", 4),
                                            std::string("\0\x42\0\0\0", 5), std::string("\x42", 1),
                                            std::string()};
    for (std::size_t pairs = 0; pairs <= 40; ++pairs) {
        for (std::size_t t = 0; t < tails.size(); ++t) {
            const std::string bytes = regularThen(pairs, tails[t]);
            for (std::size_t available = 0; available <= bytes.size(); ++available) {
                for (std::size_t entryLength : {available, bytes.size(), bytes.size() + 9}) {
                    SCOPED_TRACE("pairs " + std::to_string(pairs) + ", tail " + std::to_string(t) +
                                 ", available " + std::to_string(available) + ", entry " +
                                 std::to_string(entryLength));
                    ASSERT_EQ(decodeFast(bytes, available, entryLength),
                              decodeByTheRule(bytes, available, entryLength));
                }
            }
        }
    }
}

TEST(FastDecode, RandomEntriesDecodeLikeTheRule) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        const std::size_t length = random() % 200;
        std::string bytes = regularThen(random() % 60, "");
        // Mostly zeros and small codes, so that every way of ending is common.
        while (bytes.size() < length)
            bytes += static_cast<char>(random() % 3 == 0 ? 0 : random() % 256);
        bytes.resize(length);
        const std::size_t available = random() % (length + 1);
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(decodeFast(bytes, available, length), decodeByTheRule(bytes, available, length));
    }
}

// The listing's decode-and-escape in one pass, with the input ending exactly at
// `available` and the room it is promised marked, so that over-reads (sanitizers) and
// writes past the room show.
std::string listFast(const std::string& bytes, std::size_t available, std::size_t entryLength) {
    const std::vector<unsigned char> input(bytes.begin(), bytes.begin() + available);
    const std::size_t room = cli::kMaxEscapedChar * entryLength + cli::kEscapeSlack;
    std::string out(room + 8, '#');
    std::vector<char> scratch(entryLength);
    char* end =
        cli::writeListedText(out.data(), input.data(), available, entryLength, scratch.data());
    EXPECT_EQ(out.substr(room), std::string(8, '#')) << "wrote past its room";
    return std::string(out.data(), end);
}

// What the listing must show: the text decoded by the rule, then escaped.
std::string listByTheRule(const std::string& bytes, std::size_t available,
                          std::size_t entryLength) {
    return cli::escape(decodeByTheRule(bytes, available, entryLength));
}

TEST(FastListedText, RegularRunsOfEveryLengthEndLikeTheRule) {
    const std::vector<std::string> tails = {std::string(4, '\0'), std::string("\x42\x02\0\0", 4),
                                            std::string("\0\x42\0\0\0", 5), std::string("\x42", 1),
                                            std::string()};
    for (std::size_t pairs = 0; pairs <= 40; ++pairs) {
        for (std::size_t t = 0; t < tails.size(); ++t) {
            const std::string bytes = regularThen(pairs, tails[t]);
            for (std::size_t available = 0; available <= bytes.size(); ++available) {
                for (std::size_t entryLength : {available, bytes.size(), bytes.size() + 9}) {
                    SCOPED_TRACE("pairs " + std::to_string(pairs) + ", tail " + std::to_string(t) +
                                 ", available " + std::to_string(available) + ", entry " +
                                 std::to_string(entryLength));
                    ASSERT_EQ(listFast(bytes, available, entryLength),
                              listByTheRule(bytes, available, entryLength));
                }
            }
        }
    }
}

TEST(FastListedText, EveryByteAtEveryPositionOfARunListsLikeTheRule) {
    // Each stored byte as the character of a regular pair and as the high byte that
    // breaks the run, at each position of a run longer than one bulk step.
    for (int b = 0; b < 256; ++b) {
        for (std::size_t position = 0; position < 20; ++position) {
            for (bool asHighByte : {false, true}) {
                std::string bytes = regularThen(20, std::string(4, '\0'));
                bytes[2 * position + (asHighByte ? 1 : 0)] = static_cast<char>(b);
                SCOPED_TRACE("byte " + std::to_string(b) + " at pair " + std::to_string(position) +
                             (asHighByte ? " (high)" : " (low)"));
                ASSERT_EQ(listFast(bytes, bytes.size(), bytes.size()),
                          listByTheRule(bytes, bytes.size(), bytes.size()));
            }
        }
    }
}

TEST(FastListedText, RandomEntriesListLikeTheRule) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 3000; ++round) {
        const std::size_t length = random() % 200;
        std::string bytes = regularThen(random() % 60, "");
        while (bytes.size() < length)
            bytes += static_cast<char>(random() % 3 == 0 ? 0 : random() % 256);
        bytes.resize(length);
        const std::size_t available = random() % (length + 1);
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(listFast(bytes, available, length), listByTheRule(bytes, available, length));
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

TEST(FastEscape, EveryByteAtEveryPositionEscapesAsAlone) {
    // Each byte's escaped form must not depend on its neighbours, nothing may be
    // written past the promised room, and the text must come back.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    std::vector<std::string> texts;
    for (std::size_t length = 0; length <= all.size(); length += 17)
        for (std::size_t start = 0; start + length <= all.size(); start += 61)
            texts.push_back(all.substr(start, length));
    for (std::size_t length = 1; length <= 20; ++length)
        texts.push_back(std::string(length, '\x81')); // the longest form only: "\x81"

    for (const std::string& text : texts) {
        std::string expected;
        for (char c : text)
            expected += cli::escape(std::string(1, c));
        const std::size_t room = cli::kMaxEscapedChar * text.size() + cli::kEscapeSlack;
        std::string out(room + 8, '#');
        char* end = cli::escapeInto(out.data(), text);
        EXPECT_EQ(out.substr(room), std::string(8, '#')) << "wrote past its room";
        ASSERT_EQ(std::string(out.data(), end), expected);
        std::string back;
        ASSERT_TRUE(cli::unescape(expected, back).ok());
        EXPECT_EQ(back, text);
    }
}

TEST(FastListing, LongListingsEqualTheLineByLineForm) {
    // Several read blocks and several output flushes, with unterminated entries and
    // texts full of characters that need escapes; for both kinds of layout.
    for (const char* name : {"strings.edt", "aimbios.edt"}) {
        const FileKind kind = kindForFileName(name);
        std::vector<std::string> texts = samples::sampleTexts(kind, 12000);
        for (std::size_t i = 0; i < texts.size(); i += 97)
            texts[i] = std::string(400, static_cast<char>(i % 2 ? '\\' : '\x85')); // too long
        const std::string image = samples::makeImage(kind, texts);
        test::TempDir dir;
        const std::string path = dir.file(name);
        test::writeBytes(path, image);

        std::string expected = kind.limitCaption + "\n";
        for (const EntryLine& line : decodeEntries(
                 reinterpret_cast<const unsigned char*>(image.data()), image.size(), kind))
            expected += "[" + formatKey(line.key) + "] " + cli::escape(line.text) + "\n";

        std::FILE* out = std::fopen(dir.file("listing").c_str(), "wb");
        ASSERT_NE(out, nullptr);
        ASSERT_EQ(cli::listCommand(path, out, stderr), 0);
        std::fclose(out);
        const std::string listing = test::readBytes(dir.file("listing"));
        ASSERT_EQ(listing.size(), expected.size()) << name;
        EXPECT_TRUE(listing == expected) << name; // no 6 MB diff on failure
    }
}

} // namespace
} // namespace edt
