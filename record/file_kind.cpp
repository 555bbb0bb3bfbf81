// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/file_kind.h"

#include <algorithm>
#include <cstdlib>

namespace edt {

FileKind kindForFileName(std::string_view fileTitle) {
    // ASCII only: std::tolower follows the locale, and in a Turkish one 'I' does not
    // become 'i', so "EMAIL.EDT" would lose its kind and be listed at wrong positions.
    std::string name(fileTitle);
    std::transform(name.begin(), name.end(), name.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });

    // Each test overwrites the default on its own; at most one can match.
    FileKind kind;
    if (name == "email.edt")
        kind = {640, 0, 0, "Record Length (Max 315):"};
    if (name == "aimbios.edt")
        kind = {1120, 800, 320, "Record Length (Max 395/150):"};
    if (name == "mercbios.edt")
        kind = {1120, 800, 320, "Record Length (Max 395/150):"};
    if (name == "files.edt")
        kind = {800, 0, 0, "Record Length (Max 395):"};
    if (name == "quests.edt")
        kind = {160, 0, 0, "Record Length (Max 75):"};
    if (name.compare(0, 3, "civ") == 0)
        kind = {320, 0, 0, "Record Length (Max 155):"};
    return kind;
}

std::string fileTitleOf(std::string_view path) {
    const auto slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

namespace {

// File size / record length, rounded to the nearest whole number, halves to even.
std::uint64_t roundedRecordCount(std::uint64_t fileSize, std::uint64_t recordLength) {
    const std::uint64_t whole = fileSize / recordLength;
    const std::uint64_t rest = fileSize % recordLength;
    if (rest * 2 > recordLength || (rest * 2 == recordLength && whole % 2 == 1))
        return whole + 1;
    return whole;
}

} // namespace

int captionLimit(const FileKind& kind, bool secondField) {
    const std::string& caption = kind.limitCaption;
    const std::size_t slash = caption.find('/');
    const std::size_t at =
        caption.find_first_of("0123456789", secondField && slash != std::string::npos ? slash : 0);
    return at == std::string::npos ? 0 : std::atoi(caption.c_str() + at);
}

EntryLayout::EntryLayout(const FileKind& kind, std::uint64_t fileSize)
    : kind_(kind), fileSize_(fileSize) {
    const std::uint64_t records =
        roundedRecordCount(fileSize, static_cast<std::uint64_t>(kind.recordLength));
    // The first entry is always listed, even for an empty file.
    entryCount_ = std::max<std::uint64_t>(1, records * kind.entriesPerRecord());
}

std::uint64_t EntryLayout::keyOf(std::uint64_t index) const {
    if (!kind_.isSplit())
        return 1 + index * kind_.recordLength;
    const std::uint64_t record = index / 2;
    return 1 + record * kind_.recordLength + (index % 2 ? kind_.firstFieldLength : 0);
}

int EntryLayout::lengthOf(std::uint64_t index) const {
    if (!kind_.isSplit())
        return kind_.recordLength;
    return index % 2 ? kind_.secondFieldLength : kind_.firstFieldLength;
}

int EntryLayout::presentOf(std::uint64_t index) const {
    const std::uint64_t start = keyOf(index) - 1;
    const std::uint64_t inFile = start < fileSize_ ? fileSize_ - start : 0;
    return static_cast<int>(std::min<std::uint64_t>(inFile, lengthOf(index)));
}

std::int64_t EntryLayout::indexOfKey(std::uint64_t key) const {
    if (key == 0)
        return -1;
    const std::uint64_t offset = key - 1;
    const std::uint64_t record = offset / kind_.recordLength;
    const std::uint64_t within = offset % kind_.recordLength;
    std::uint64_t index = 0;
    if (within == 0)
        index = record * kind_.entriesPerRecord();
    else if (kind_.isSplit() && within == static_cast<std::uint64_t>(kind_.firstFieldLength))
        index = record * 2 + 1;
    else
        return -1;
    if (index >= entryCount_)
        return -1;
    return static_cast<std::int64_t>(index);
}

} // namespace edt
