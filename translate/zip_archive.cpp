// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/zip_archive.h"
#include "translate/translate_status.h"

#include <algorithm>
#include <cstring>

#include <minizip/unzip.h>

namespace edt::translate {

// minizip reads through these functions: the archive's bytes stand in for a file. A
// read that comes short is an error: minizip takes a short read of a field with no
// error as its end (UNZ_EOF, which equals UNZ_OK) and goes on with the field unset.
struct ZipArchive::Source {
    std::string_view bytes;
    std::uint64_t at = 0;
    bool cut = false;

    static voidpf open(voidpf opaque, const void*, int) { return opaque; }
    static uLong read(voidpf, voidpf stream, void* buffer, uLong size) {
        auto* self = static_cast<Source*>(stream);
        const std::uint64_t left =
            self->bytes.size() - std::min<std::uint64_t>(self->at, self->bytes.size());
        const auto n = static_cast<uLong>(std::min<std::uint64_t>(left, size));
        std::memcpy(buffer, self->bytes.data() + self->at, n);
        self->at += n;
        self->cut = self->cut || n < size;
        return n;
    }
    static uLong write(voidpf, voidpf, const void*, uLong) { return 0; }
    static ZPOS64_T tell(voidpf, voidpf stream) { return static_cast<Source*>(stream)->at; }
    static long seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
        auto* self = static_cast<Source*>(stream);
        std::uint64_t base = 0;
        if (origin == ZLIB_FILEFUNC_SEEK_CUR)
            base = self->at;
        else if (origin == ZLIB_FILEFUNC_SEEK_END)
            base = self->bytes.size();
        if (offset > self->bytes.size() - std::min<std::uint64_t>(base, self->bytes.size()))
            return -1;
        self->at = base + offset;
        return 0;
    }
    static int close(voidpf, voidpf) { return 0; }
    static int error(voidpf, voidpf stream) { return static_cast<Source*>(stream)->cut ? 1 : 0; }
};

ZipArchive::ZipArchive(std::string_view bytes) : source_(std::make_unique<Source>()) {
    source_->bytes = bytes;
    zlib_filefunc64_def functions{};
    functions.zopen64_file = Source::open;
    functions.zread_file = Source::read;
    functions.zwrite_file = Source::write;
    functions.ztell64_file = Source::tell;
    functions.zseek64_file = Source::seek;
    functions.zclose_file = Source::close;
    functions.zerror_file = Source::error;
    functions.opaque = source_.get();
    zip_ = unzOpen2_64("", &functions);
}

ZipArchive::~ZipArchive() {
    if (zip_)
        unzClose(zip_);
}

bool ZipArchive::opened() const {
    return zip_ != nullptr;
}

Status ZipArchive::read(const std::string& name, std::uint64_t limit, std::string& out,
                        bool& found) {
    out.clear();
    found = false;
    const auto damaged = [&name](const char* what) {
        Status status = Status::error(translate::Code::UnreadableXlsx);
        status.detail = "its part " + name + " " + what;
        return status;
    };
    Status tooLarge = Status::error(translate::Code::XlsxPartTooLarge);
    tooLarge.detail = name;
    tooLarge.limit = limit;
    constexpr int kCaseInsensitive = 2;
    if (!zip_ || unzLocateFile(zip_, name.c_str(), kCaseInsensitive) != UNZ_OK)
        return Status::success();
    found = true;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return damaged("cannot be read");
    if (info.flag & 1)
        return damaged("is encrypted");
    if (info.uncompressed_size > limit)
        return tooLarge;
    if (unzOpenCurrentFile(zip_) != UNZ_OK)
        return damaged("cannot be unpacked");
    char buffer[16384];
    int n = 0;
    // The size the archive claims is not trusted: unpacking stops at the limit.
    while ((n = unzReadCurrentFile(zip_, buffer, sizeof buffer)) > 0) {
        if (out.size() + static_cast<std::size_t>(n) > limit) {
            unzCloseCurrentFile(zip_);
            out.clear();
            return tooLarge;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
    const int closed = unzCloseCurrentFile(zip_);
    if (n < 0 || closed != UNZ_OK)
        return damaged("is damaged");
    return Status::success();
}

} // namespace edt::translate
