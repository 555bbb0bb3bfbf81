// SPDX-License-Identifier: GPL-3.0-or-later
// EntryLine: parsing any line, and building a line from any key and text.
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "record/entry_line.h"
#include "tests/support/entry_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // Any line: parse, and if it parses, building it again gives the same entry.
    if (const auto line = edt::test::parseLine(input)) {
        const std::size_t close = input.find(']');
        FUZZ_CHECK(close != std::string_view::npos && input.substr(close + 2) == line->text);
        // The seven-digit case is the fixed-width rule: text after the first ten
        // characters.
        if (close == 8)
            FUZZ_CHECK(input.substr(10) == line->text);
        const auto again = edt::test::parseLine(edt::test::lineOf(*line));
        FUZZ_CHECK(again && *again == *line);
    }

    // Any key (a position: below 10^19) and text: the line carries both back.
    edt::fuzz::ByteStream stream(data, size);
    const edt::EntryLine built{stream.u64() % 10000000000000000000u, std::string(stream.rest())};
    const std::string text = edt::test::lineOf(built);
    const std::string key = edt::formatKey(built.key);
    FUZZ_CHECK(key.size() >= 7 && std::strtoull(key.c_str(), nullptr, 10) == built.key);
    FUZZ_CHECK(text.compare(0, key.size() + 3, "[" + key + "] ") == 0);
    const auto parsed = edt::test::parseLine(text);
    FUZZ_CHECK(parsed && *parsed == built);
    return 0;
}
