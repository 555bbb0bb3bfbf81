// SPDX-License-Identifier: GPL-3.0-or-later
// The reader on any bytes: decodeEntries under every kind, and readFile on the same
// bytes in a file, both compared with a plain model of the listing rules.
#include <cctype>

#include "fuzz/fuzz_support.h"
#include "record/reader.h"
#include "tests/support/entry_lines.h"
#include "tests/support/plain_rules.h"

namespace {

std::vector<edt::EntryLine> modelLines(std::string_view image, const edt::FileKind& kind) {
    std::vector<edt::EntryLine> lines;
    for (auto& entry : edt::test::listByTheRules(image, kind))
        lines.push_back({entry.start, std::move(entry.text)});
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    for (const char* name : edt::fuzz::kKindNames) {
        const edt::FileKind kind = edt::kindForFileName(name);
        FUZZ_CHECK(edt::test::decodeEntries(data, size, kind) == modelLines(image, kind));
    }

    // The same bytes as a file, under one kind's name (in upper case now and then).
    const std::uint8_t pick = size ? data[0] : 0;
    const char* lowerName = edt::fuzz::kKindNames[pick % edt::fuzz::kKindCount];
    std::string name = lowerName;
    if (pick & 0x80) {
        for (char& c : name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const std::string path = edt::fuzz::scratchDir() + "/" + name;
    edt::fuzz::writeWholeFile(path, image);
    const edt::ReadResult read = edt::readFile(path, edt::kindForPath(name));
    FUZZ_CHECK(read.status.ok());
    FUZZ_CHECK(read.identity.size == size);
    FUZZ_CHECK(read.kind.recordLength == edt::kindForFileName(lowerName).recordLength);
    FUZZ_CHECK(read.entries == modelLines(image, read.kind));
    return 0;
}
