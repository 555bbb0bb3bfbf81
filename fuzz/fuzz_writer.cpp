// SPDX-License-Identifier: GPL-3.0-or-later
// The writer: any text at any key of a generated file, with or without the identity
// taken when it was listed, and with the file changed meanwhile. The outcome must be
// exactly what the rules predict: a refusal with the file byte for byte as it was,
// or a write that changed only [key - 1, key - 1 + 2n + 4) and reads back as the text.
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fuzz/fuzz_support.h"
#include "record/message.h"
#include "record/writer.h"
#include "tests/support/plain_rules.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace {

using edt::StatusCode;
using edt::fuzz::ByteStream;
using ModelEntry = edt::test::RuleEntry;

std::string makeImage(ByteStream& in, const edt::FileKind& kind) {
    const std::size_t size = in.u16() % (3 * kind.recordLength + 2);
    std::string image;
    switch (in.byte() % 3) {
    case 0: // real-looking entries, cut or padded to the size
        image = edt::samples::makeImage(kind, edt::samples::sampleTexts(kind, 6), in.byte());
        image.resize(size, static_cast<char>(in.byte()));
        break;
    case 1: // one byte throughout
        image.assign(size, static_cast<char>(in.byte()));
        break;
    default: { // a repeated pattern of eight bytes
        const std::uint64_t pattern = in.u64();
        for (std::size_t i = 0; i < size; ++i)
            image += static_cast<char>(pattern >> (8 * (i % 8)));
    }
    }
    return image;
}

// Mostly the key of a listed entry, now and then one beside it, else any number.
edt::RecordKey chooseKey(ByteStream& in, const std::vector<ModelEntry>& entries) {
    const std::uint8_t mode = in.byte();
    if (mode >= 224)
        return in.u64();
    const ModelEntry& entry = entries[in.u16() % entries.size()];
    switch (mode % 8) {
    case 5:
        return entry.start - 1;
    case 6:
        return entry.start + 1;
    case 7:
        return entry.start + static_cast<std::uint64_t>(entry.length) / 2;
    default:
        return entry.start;
    }
}

// The text from the rest of the input: often cleared of the two unstorable codes so
// that writes happen, sometimes repeated to run past the entry.
std::string chooseText(ByteStream& in) {
    const std::uint8_t mode = in.byte();
    std::string text(in.rest());
    if (mode & 1) {
        for (char& c : text) {
            if (c == '\0' || c == '\xff')
                c = 'a';
        }
    }
    const unsigned copies = (mode >> 1) % 8;
    if (copies > 1 && !text.empty()) {
        const std::string once = text;
        for (unsigned i = 1; i < copies * 40 && text.size() < 2000; ++i)
            text += once;
    }
    return text;
}

edt::FileIdentity statIdentity(const std::string& path) {
    edt::FileIdentity id;
    FUZZ_CHECK(edt::os::identityAt(path, id));
    return id;
}

// What another program did to the file after it was listed; returns the bytes the
// file holds afterwards.
std::string changeBehindOurBack(std::uint8_t how, const std::string& target,
                                const std::string& image) {
    switch (how % 4) {
    case 0: { // lengthened
        const std::string longer = image + "x";
        edt::fuzz::writeWholeFile(target, longer);
        return longer;
    }
    case 1: { // shortened (an empty file cannot be: lengthened)
        const std::string shorter = image.empty() ? "x" : image.substr(0, image.size() - 1);
        edt::fuzz::writeWholeFile(target, shorter);
        return shorter;
    }
    case 2: { // same bytes, touched a second later
        struct timespec times[2] = {{0, UTIME_OMIT}, {0, 0}};
        struct stat info {};
        FUZZ_CHECK(::stat(target.c_str(), &info) == 0);
        times[1] = info.st_mtim;
        times[1].tv_sec += 1;
        FUZZ_CHECK(::utimensat(AT_FDCWD, target.c_str(), times, 0) == 0);
        return image;
    }
    default: { // replaced by a new file of the same bytes
        const std::string fresh = target + ".new";
        edt::fuzz::writeWholeFile(fresh, image);
        FUZZ_CHECK(::rename(fresh.c_str(), target.c_str()) == 0);
        return image;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteStream in(data, size);
    const std::uint8_t setup = in.byte();
    const std::string name = edt::fuzz::kKindNames[setup % edt::fuzz::kKindCount];
    const edt::FileKind kind = edt::kindForFileName(name);
    const bool throughLink = setup & 0x80;
    const int identityMode = (setup >> 3) % 4; // none, as listed, wrong, changed since

    const std::string image = makeImage(in, kind);
    const std::vector<ModelEntry> entries = edt::test::listByTheRules(image, kind);
    const edt::RecordKey key = chooseKey(in, entries);
    const std::uint8_t wrongField = in.byte();
    const std::string text = chooseText(in);

    // The file, named by its kind's name or reached through a link of that name.
    const std::string& dir = edt::fuzz::scratchDir();
    const std::string path = dir + "/" + name;
    const std::string target = throughLink ? dir + "/target" : path;
    ::unlink(path.c_str());
    ::unlink(target.c_str());
    edt::fuzz::writeWholeFile(target, image);
    if (throughLink)
        FUZZ_CHECK(::symlink("target", path.c_str()) == 0);

    edt::FileIdentity listed = statIdentity(path);
    std::string before = image;
    if (identityMode == 2) {
        switch (wrongField % 4) {
        case 0:
            listed.device ^= 1;
            break;
        case 1:
            listed.inode ^= 1;
            break;
        case 2:
            listed.size += 1;
            break;
        default:
            listed.modifiedNs -= 1;
            break;
        }
    } else if (identityMode == 3) {
        before = changeBehindOurBack(wrongField, target, image);
    }
    const struct stat beforeInfo = [&] {
        struct stat info {};
        FUZZ_CHECK(::stat(target.c_str(), &info) == 0);
        return info;
    }();

    const edt::WriteResult result =
        edt::writeRecord(path, edt::kindForPath(name), key, text, edt::test::codePage(),
                         identityMode ? &listed : nullptr);
    const std::string after = edt::fuzz::readWholeFile(target);

    // The outcome the rules predict, checked in the writer's order.
    const ModelEntry* entry = nullptr;
    for (const ModelEntry& e : entries) {
        if (e.start == key)
            entry = &e;
    }
    StatusCode expected = StatusCode::Ok;
    if (identityMode >= 2)
        expected = StatusCode::FileChanged;
    else if (!entry)
        expected = StatusCode::BadKey;
    else if (text.find('\0') != std::string::npos || text.find('\xff') != std::string::npos)
        expected = StatusCode::UnstorableCharacter;
    else {
        // A write stays within the bytes of the entry the file holds.
        const std::size_t length = static_cast<std::size_t>(entry->length);
        const std::size_t present =
            std::min(length, before.size() > key - 1 ? before.size() - (key - 1) : 0);
        if (present < 4)
            expected = StatusCode::EntryPastEnd;
        else if (2 * text.size() + 4 > present)
            expected = present < length ? StatusCode::EntryCutOff : StatusCode::TextTooLong;
    }
    if (result.status.code != expected) {
        std::fprintf(stderr, "expected status %d, got %d: %s\n", static_cast<int>(expected),
                     static_cast<int>(result.status.code), edt::describe(result.status).c_str());
        FUZZ_CHECK(result.status.code == expected);
    }

    if (!result.status.ok()) {
        FUZZ_CHECK(!edt::describe(result.status).empty());
        FUZZ_CHECK(after == before); // not one byte changed
        struct stat info {};
        FUZZ_CHECK(::stat(target.c_str(), &info) == 0);
        FUZZ_CHECK(info.st_ino == beforeInfo.st_ino);
        return 0;
    }

    // Written: exactly the text's bytes and terminator, the rest as it was.
    std::string predicted = before;
    const std::size_t offset = key - 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        predicted[offset + 2 * i] = static_cast<char>(c > 32 ? c + 1 : c);
        predicted[offset + 2 * i + 1] = '\0';
    }
    predicted.replace(offset + 2 * text.size(), 4, 4, '\0');
    FUZZ_CHECK(after == predicted);
    FUZZ_CHECK(result.line.key == key && result.line.text == text);

    // The entry lists as the text written, and the file is the same file (in place).
    bool found = false;
    for (const ModelEntry& e : edt::test::listByTheRules(after, kind)) {
        if (e.start == key) {
            FUZZ_CHECK(e.text == text);
            found = true;
        }
    }
    FUZZ_CHECK(found);
    FUZZ_CHECK(result.identity == statIdentity(target));
    FUZZ_CHECK(result.identity.inode == beforeInfo.st_ino);
    return 0;
}
