// SPDX-License-Identifier: GPL-3.0-or-later
// edt-tool list's one-pass path, on every vector path this CPU runs and in every code
// page the system offers: for any stored bytes of any entry length, it writes exactly
// what the scalar path writes, which is what decoding by the running-balance rule and
// then escaping writes, and stays inside the room it promises; the same for the CSV
// export's records against the translators' text (toTranslatorText) through
// csv::appendField.
//   byte 0: entry length (160, 320, 480, 640, 800: value % 5), and bit 3: the rest are
//           characters, each stored with its zero byte (so that runs are long and a
//           zero character is a terminator)
//   byte 1: the code page, by its place in CodePage::available()
//   rest:   the stored bytes; an entry longer than them is cut by the end of the file
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli/listed_text.h"
#include "fuzz/fuzz_support.h"
#include "record/code_page.h"
#include "record/escaped_text.h"
#include "record/shown_text.h"
#include "record/text_codec.h"
#include "record/vector_path.h"
#include "translate/csv.h"
#include "translate/csv_records.h"
#include "translate/translator_text.h"

namespace {

using edt::Escaper;

struct Writers {
    std::unique_ptr<Escaper> escaper;
    std::unique_ptr<edt::translate::CsvRecords> csv;
};

// The writers of each path, the scalar one first, for the code page at `index`.
const std::vector<Writers>& writersFor(std::uint8_t index) {
    static const std::vector<std::string> names = edt::CodePage::available();
    static std::map<std::size_t, std::vector<Writers>> made;
    FUZZ_CHECK(!names.empty());
    const std::size_t at = index % names.size();
    auto& writers = made[at];
    if (writers.empty()) {
        const edt::CodePage* page = nullptr;
        FUZZ_CHECK(edt::CodePage::named(names[at], page).ok());
        for (const edt::VectorPath path : edt::availablePaths())
            writers.push_back({std::make_unique<Escaper>(*page, path),
                               std::make_unique<edt::translate::CsvRecords>(*page, path)});
    }
    return writers;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    static constexpr std::size_t kEntryLengths[] = {160, 320, 480, 640, 800};
    const std::size_t entryLength = kEntryLengths[(data[0] & 7) % 5];
    std::string stored(reinterpret_cast<const char*>(data + 2), size - 2);
    if (data[0] & 8) {
        std::string pairs;
        for (const char c : stored)
            pairs += {c, '\0'};
        stored = pairs;
    }
    // The stored bytes in an allocation of their own exact size, so that the sanitizers
    // see any read past them (the rest of the entry lies past the end of the file).
    const std::size_t available = std::min(stored.size(), entryLength);
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[available ? available : 1]);
    std::copy(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(available), bytes.get());

    const auto& writers = writersFor(data[1]);
    const std::string text = edt::decodeEntry(bytes.get(), available, entryLength);
    const std::string expected = writers.front().escaper->escape(text);
    std::string field;
    edt::translate::csv::appendField(field,
                                     edt::shownUtf8(text, writers.front().escaper->codePage()));
    const std::string expectedCsv = "0000641,315," + field + ',' + field + "\r\n";
    const std::size_t room = edt::translate::CsvRecords::room(entryLength);
    std::unique_ptr<char[]> out(new char[room]);
    std::unique_ptr<char[]> scratch(new char[entryLength]);
    for (const Writers& writer : writers) {
        const char* end = edt::cli::writeListedText(out.get(), bytes.get(), available, entryLength,
                                                    scratch.get(), *writer.escaper);
        FUZZ_CHECK(end >= out.get() &&
                   end <= out.get() + Escaper::kMaxEscapedChar * entryLength + Escaper::kSlack);
        FUZZ_CHECK(std::string(static_cast<const char*>(out.get()), end) == expected);
        end = writer.csv->write(out.get(), 641, 315, bytes.get(), available, entryLength,
                                scratch.get());
        FUZZ_CHECK(end >= out.get() && end <= out.get() + room);
        FUZZ_CHECK(std::string(static_cast<const char*>(out.get()), end) == expectedCsv);
    }
    return 0;
}
