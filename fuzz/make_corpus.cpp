// SPDX-License-Identifier: GPL-3.0-or-later
// edt-make-fuzz-corpus DIR: writes the starting inputs of every fuzz target into
// DIR/<target>/input-NN. The committed corpus in fuzz/corpus/ came from this program.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "record/reader.h"
#include "record/text_codec.h"
#include "tests/support/test_support.h"
#include "tests/support/workbook.h"
#include "tools/sample_files.h"
#include "translate/xlsx.h"

namespace {

using Inputs = std::vector<std::string>;

std::string le16(unsigned value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

edt::FileKind kindAt(std::size_t i) {
    return edt::kindForFileName(edt::fuzz::kKindNames[i]);
}

Inputs readerInputs() {
    Inputs inputs = {"", std::string(1, '\x49'), std::string(481, '\0'), std::string(960, '\xff')};
    for (std::size_t k = 0; k < edt::fuzz::kKindCount; ++k) {
        const edt::FileKind kind = kindAt(k);
        std::string image = edt::samples::makeImage(kind, edt::samples::sampleTexts(kind, 3));
        inputs.push_back(image);
        inputs.push_back(image.substr(0, image.size() - kind.recordLength / 2)); // a half record
        // Unterminated entries: the text runs to the end of each entry.
        inputs.push_back(edt::samples::makeImage(kind, {std::string(400, 'A'), "B"}, 0x41));
    }
    return inputs;
}

Inputs entryLineInputs() {
    return {"[0000641] Hi!",
            "[0000001] ",
            "[12345678] a key of eight digits",
            "[18446744073709551615] the largest key",
            "[18446744073709551616] one more",
            "[] no digits",
            "[0000641]no blank",
            "[00a0641] letter",
            "0000641] no bracket",
            std::string("\x81\x02\0\0\0\0\0\0text after a binary key", 30)};
}

// One writer input: see fuzz_writer.cpp for the order the values are taken in.
std::string writerInput(std::size_t kind, unsigned identityMode, bool link, unsigned size,
                        unsigned keyMode, unsigned entry, unsigned textMode,
                        const std::string& text) {
    std::string in;
    in += static_cast<char>(kind | (identityMode << 3) | (link ? 0x80 : 0));
    in += le16(size);
    in += '\0';   // image from sample entries
    in += '\0';   // filler behind terminators
    in += '\x20'; // padding byte
    in += static_cast<char>(keyMode);
    in += le16(entry);
    in += '\0'; // which identity field is wrong / what changed the file
    in += static_cast<char>(textMode);
    return in + text;
}

Inputs writerInputs() {
    Inputs inputs;
    for (std::size_t k = 0; k < edt::fuzz::kKindCount; ++k) {
        const unsigned size = 2 * kindAt(k).recordLength;
        inputs.push_back(writerInput(k, 0, false, size, 0, 1, 1, "Hi!"));
        inputs.push_back(writerInput(k, 1, k % 2, size, 0, 0, 1, "Line\r\nbreak \x80 caf\xe9"));
        inputs.push_back(writerInput(k, 0, false, size, 0, 1, 1 | (7 << 1), "too long "));
    }
    inputs.push_back(writerInput(0, 0, false, 960, 0, 0, 0, std::string("nul\0", 4)));
    inputs.push_back(writerInput(0, 0, false, 960, 0, 0, 0, "\xff"));
    inputs.push_back(writerInput(0, 0, false, 960, 5, 0, 1, "key 0"));
    inputs.push_back(writerInput(0, 0, false, 960, 6, 0, 1, "inside"));
    inputs.push_back(writerInput(0, 2, false, 960, 0, 0, 1, "stale"));
    inputs.push_back(writerInput(1, 3, true, 1280, 0, 1, 1, "changed"));
    inputs.push_back(writerInput(5, 0, false, 0, 0, 0, 1, "empty file"));
    inputs.push_back(writerInput(0, 0, false, 700, 0, 1, 1, "last entry reaches past the end"));
    inputs.push_back(writerInput(0, 0, false, 960, 0xff, 0, 1, "") + std::string(8, '\xff'));
    return inputs;
}

Inputs charsetInputs() {
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte += static_cast<char>(b);
    return {"plain",
            "caf\xc3\xa9 \xe2\x82\xac"
            "100",
            "\xe4\xb8\xad",
            "\xc0\x80",
            "\xed\xa0\x80",
            "\xf4\x90\x80\x80",
            "\xc2",
            everyByte};
}

Inputs escapeInputs() {
    return {"Hi\\r\\nthere\\t\\\\",     "\\x00\\x7f\\x81\\xFF", "\\q", "\\x4", "\\", "\\x",
            "caf\xc3\xa9 \xe2\x82\xac", "\xe4\xb8\xad",         "\xff"};
}

// The first byte picks the entry length (160, 320, 480, 640, 800) and whether the rest
// are characters or stored bytes, the second the code page; see fuzz_listing.cpp.
Inputs listingInputs() {
    using edt::encodeText;
    std::string everyByte;
    for (int b = 255; b >= 0; --b)
        everyByte += static_cast<char>(b);
    const auto in = [](int entry, int page, const std::string& rest) {
        return std::string{static_cast<char>(entry), static_cast<char>(page)} + rest;
    };
    return {in(0, 0, encodeText("Hi!")),
            in(2, 1, encodeText("caf\xe9 \\ \"q\"\r\nnext\tline \x81\x7f\x01")),
            in(0, 2, std::string(160, 'B')),
            in(4, 3, std::string(500, '\x61') + std::string(2, '\0')),
            in(1, 4, std::string("\x41\0\0\x42\0\0\x43", 7)),
            in(3, 5, std::string("\x49\x02\0\x6a\xff\xff\0\0", 8)),
            in(2, 6, ""),
            in(8 + 4, 7, everyByte),
            in(8 + 2, 8, everyByte.substr(0, 100) + std::string(1, '\0') + everyByte),
            in(8 + 0, 9, "A plain line\r\nwith caf\xe9 and \x80 and a cut at the en"),
            in(8 + 1, 10, std::string(40, '\x85') + std::string(1, '\0') + "after")};
}

// Exports of a sample file, as translators' tools and spreadsheets change them.
Inputs csvInputs() {
    return {"key,max,source (Windows-1252),text\r\n0000001,315,\"a\nb\",\"x\ny\"\r\n",
            "key;text\r\n1;caf\xC3\xA9\r\n641;\"quoted; \"\"twice\"\"\"\r\n",
            "text\tkey\r\nneu\t1\n",
            "\xEF\xBB\xBFkey,text\r\n1,\"open\r\n",
            "key,text\r\n1,caf\xE9\r\n",
            "key,text\r\n1,cut",
            "key,source,text,extra\r\n1,,\xE2\x86\x90\xE2\x86\x93,\r\n"};
}

Inputs poInputs() {
    const edt::FileKind kind = edt::kindForFileName("email.edt");
    const std::string first = edt::samples::sampleTexts(kind, 4)[0];
    const std::string header = "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; "
                               "charset=UTF-8\\n\"\n\"Language: pl\\n\"\n\"X-EDT-Code-Page: "
                               "Windows-1252\\n\"\n\n";
    std::string original; // as a PO string: the sample's first text in UTF-8
    for (const char c : edt::test::codePage().toUtf8(first)) {
        if (c == '\r')
            continue;
        original += c == '\n'  ? std::string("\\n")
                    : c == '"' ? std::string("\\\"")
                               : std::string(1, c);
    }
    const std::string message = "msgctxt \"0000001\"\nmsgid \"" + original + "\"\nmsgstr \"";
    return {header + message + "Tekst\"\n",
            header + "#, fuzzy\n" + message + "Tekst\"\n",
            header + "msgctxt \"0000001\"\nmsgid \"another original\"\nmsgstr \"Tekst\"\n",
            header + message + std::string(400, 'x') + "\"\n",
            header + message + "Tek",
            header + "msgctxt \"0000002\"\nmsgid \"x\"\nmsgstr \"y\"\n",
            header + message + "\xD1\x8F \xE2\x86\x90\\r\\n\"\n"};
}

// Our exports of sample files, and the tests' workbooks.
Inputs xlsxInputs() {
    Inputs inputs;
    for (const char* name : {"email.edt", "quests.edt", "civ"}) {
        const edt::FileKind kind = edt::kindForFileName(name);
        const std::string path = edt::fuzz::scratchDir() + "/" + name;
        edt::fuzz::writeWholeFile(
            path, edt::samples::makeImage(kind, edt::samples::sampleTexts(kind, 4)));
        std::string content;
        edt::translate::exportXlsx(edt::readFile(path, kind), edt::test::codePage(), content);
        inputs.push_back(content);
    }
    for (const auto& [name, workbook] : edt::test::sampleWorkbooks())
        inputs.push_back(workbook);
    return inputs;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: edt-make-fuzz-corpus DIR\n");
        return 2;
    }
    const std::pair<const char*, Inputs> targets[] = {
        {"fuzz_reader", readerInputs()}, {"fuzz_entry_line", entryLineInputs()},
        {"fuzz_writer", writerInputs()}, {"fuzz_charset", charsetInputs()},
        {"fuzz_escape", escapeInputs()}, {"fuzz_listing", listingInputs()},
        {"fuzz_csv", csvInputs()},       {"fuzz_po_import", poInputs()},
        {"fuzz_xlsx", xlsxInputs()},
    };
    for (const auto& [target, inputs] : targets) {
        const std::filesystem::path dir = std::filesystem::path(argv[1]) / target;
        std::filesystem::create_directories(dir);
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "input-%02zu", i);
            std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
            out.write(inputs[i].data(), static_cast<std::streamsize>(inputs[i].size()));
            if (!out) {
                std::fprintf(stderr, "edt-make-fuzz-corpus: cannot write %s\n",
                             (dir / name).c_str());
                return 1;
            }
        }
    }
    return 0;
}
