// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace edt {

// The record layout of a file, chosen from its name (the file's contents say nothing
// about it). Split kinds hold two entries per record: a first and a second field.
struct FileKind {
    int recordLength = 480;
    int firstFieldLength = 0;  // 0 for one-field kinds
    int secondFieldLength = 0; // 0 for one-field kinds
    std::string limitCaption = "Record Length (Max 235):";

    bool isSplit() const { return firstFieldLength != 0; }
    int entriesPerRecord() const { return isSplit() ? 2 : 1; }
};

// The figure of the kind's limit caption for an entry, the first or second field's
// ("Max 395/150"; a one-field kind has one): what the design advertises, a few
// characters under what fits.
int captionLimit(const FileKind& kind, bool secondField);

// Chooses the kind from a file name without its folder (case does not matter).
FileKind kindForFileName(std::string_view fileTitle);

// The file name without its folder ("/a/b/email.edt" -> "email.edt").
std::string fileTitleOf(std::string_view path);

// The kind of the file at `path`, from its name: what a front end works out once and
// hands on with the path.
inline FileKind kindForPath(std::string_view path) {
    return kindForFileName(fileTitleOf(path));
}

// Where the entries of a file of a given kind and size lie. Keys are positions
// counted from 1. The count follows the record count rounded half to even, and a
// file always lists at least one entry (an empty file lists the entry at key 1).
class EntryLayout {
public:
    EntryLayout(const FileKind& kind, std::uint64_t fileSize);

    std::uint64_t entryCount() const { return entryCount_; }
    std::uint64_t keyOf(std::uint64_t index) const;
    int lengthOf(std::uint64_t index) const;
    // The bytes of the entry that the file holds: lengthOf(index), less what lies past
    // the end of a cut-off file; 0 for an entry wholly past it (every entry of an
    // empty file). A write stays within them, so that a file never grows.
    int presentOf(std::uint64_t index) const;

    // The index of the entry that starts at key, or -1 if no listed entry does.
    std::int64_t indexOfKey(std::uint64_t key) const;

private:
    FileKind kind_;
    std::uint64_t entryCount_;
    std::uint64_t fileSize_;
};

// The largest translation (CSV or PO) that a file of this kind and size could take:
// for every entry its longest text twice (PO holds the original too), each character
// escaped in at most five bytes, its key, and room for the lines around them. A
// larger one is refused unread.
std::uint64_t maxTranslationSize(const FileKind& kind, std::uint64_t fileSize);

} // namespace edt
