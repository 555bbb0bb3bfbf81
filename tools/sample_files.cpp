// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sample_files.h"

#include <fstream>

#include "record/text_codec.h"

namespace edt::samples {

std::string makeImage(const FileKind& kind, const std::vector<std::string>& texts,
                      unsigned char filler) {
    const std::size_t perRecord = static_cast<std::size_t>(kind.entriesPerRecord());
    const std::size_t records = (texts.size() + perRecord - 1) / perRecord;
    std::string image(records * static_cast<std::size_t>(kind.recordLength),
                      static_cast<char>(filler));
    const EntryLayout layout(kind, image.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::size_t offset = static_cast<std::size_t>(layout.keyOf(i) - 1);
        const std::size_t length = static_cast<std::size_t>(layout.lengthOf(i));
        std::string bytes = encodeText(texts[i]);
        if (bytes.size() > length)
            bytes.resize(length); // unterminated: runs to the end of the entry
        image.replace(offset, bytes.size(), bytes);
    }
    return image;
}

std::string sampleText(std::uint64_t index, int maxChars) {
    static const char* const kWords[] = {
        "mission", "Zelvar",   "the",     "report",  "supplies", "north", "gate",
        "merc",    "contract", "payment", "arrived", "tonight",  "café",  "naïve",
        "déjà",    "vu",       "€100",    "guard",   "station",  "radio", "\"urgent\"",
        "Señor",   "über",     "map",     "sector",  "A-12",     "10%",   "(see file)"};
    constexpr std::size_t kWordCount = sizeof kWords / sizeof kWords[0];
    // A small deterministic generator so that samples are the same on every machine.
    std::uint64_t state = index * 6364136223846793005ULL + 1442695040888963407ULL;
    auto next = [&state]() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state >> 33);
    };
    const int target = static_cast<int>(next() % static_cast<std::uint32_t>(maxChars + 1));
    std::string text;
    while (true) {
        std::string word;
        // Words are UTF-8 in this table; store them as Windows-1252.
        const std::string utf8 = kWords[next() % kWordCount];
        for (std::size_t i = 0; i < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            if (lead < 0x80) {
                word += utf8[i++];
            } else if (utf8.compare(i, 3, "\xE2\x82\xAC") == 0) {
                word += '\x80'; // euro sign
                i += 3;
            } else {
                const auto next2 = static_cast<unsigned char>(utf8[i + 1]);
                word += static_cast<char>(((lead & 0x1F) << 6) | (next2 & 0x3F));
                i += 2;
            }
        }
        const std::string separator = text.empty() ? "" : (next() % 9 == 0 ? "\r\n" : " ");
        if (static_cast<int>(text.size() + separator.size() + word.size()) > target)
            break;
        text += separator + word;
    }
    return text;
}

std::vector<std::string> sampleTexts(const FileKind& kind, std::uint64_t count) {
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        const int entryLength = kind.isSplit()
                                    ? (i % 2 ? kind.secondFieldLength : kind.firstFieldLength)
                                    : kind.recordLength;
        texts.push_back(sampleText(i, maxCharsForEntry(entryLength)));
    }
    return texts;
}

bool writeWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

} // namespace edt::samples
