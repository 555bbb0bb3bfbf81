// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "record/status.h"

namespace edt::translate {

// A zip archive held in memory (through minizip), read one member at a time.
class ZipArchive {
public:
    // `bytes` must outlive the archive.
    explicit ZipArchive(std::string_view bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // False when the bytes are no zip archive.
    bool opened() const;

    // Unpacks the member `name` (case aside) into `out`; false in `found` when there is
    // none. Refused (XlsxPartTooLarge) when it claims, or turns out, to hold more than
    // `limit` bytes: unpacking stops there. A damaged or encrypted member is
    // UnreadableXlsx.
    Status read(const std::string& name, std::uint64_t limit, std::string& out, bool& found);

private:
    struct Source;
    std::unique_ptr<Source> source_;
    void* zip_ = nullptr; // an unzFile
};

} // namespace edt::translate
