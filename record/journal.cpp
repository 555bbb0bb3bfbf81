// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/journal.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>

#include "platform/folders.h"
#include "platform/output_file.h"
#include "record/file_kind.h"
#include "record/playback.h"

namespace edt {
namespace {

// Version 2 names the super-journal of a write into several files; version 1 (no
// such name) is still read.
constexpr char kMagic[] = "EDTJRNL2";
constexpr char kMagicOne[] = "EDTJRNL1";
constexpr std::size_t kChunk = std::size_t{1} << 20;

std::uint64_t fnv1a(std::uint64_t hash, const char* data, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
        hash = (hash ^ static_cast<unsigned char>(data[i])) * 0x100000001b3ULL;
    return hash;
}
constexpr std::uint64_t kFnvStart = 0xcbf29ce484222325ULL;

std::string hexOf(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

std::string timeText(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", std::localtime(&t));
    return text;
}

// Streams the journal into its file in large pieces (positioned writes), with the
// checksum of everything before it at the end.
class Writer {
public:
    explicit Writer(const os::File& file) : file_(file) {}
    void raw(const char* data, std::size_t length) {
        hash_ = fnv1a(hash_, data, length);
        append(data, length);
    }
    void number(std::uint64_t value) {
        char bytes[8];
        for (int i = 0; i < 8; ++i)
            bytes[i] = static_cast<char>(value >> (8 * i));
        raw(bytes, 8);
    }
    void bytes(const std::string& data) {
        number(data.size());
        raw(data.data(), data.size());
    }
    os::Result finish() {
        number(hash_);
        flush();
        return result_;
    }

private:
    void append(const char* data, std::size_t length) {
        while (length > 0 && result_.ok()) {
            const std::size_t n = std::min(length, kChunk - buffer_.size());
            buffer_.append(data, n);
            data += n;
            length -= n;
            if (buffer_.size() == kChunk)
                flush();
        }
    }
    void flush() {
        if (result_.ok() && !buffer_.empty())
            result_ = file_.writeAt(offset_, buffer_.data(), buffer_.size());
        offset_ += buffer_.size();
        buffer_.clear();
    }

    const os::File& file_;
    std::string buffer_;
    std::uint64_t offset_ = 0;
    std::uint64_t hash_ = kFnvStart;
    os::Result result_;
};

// Reads back what Writer wrote, from `at` up to `end`; false at any inconsistency.
class Reader {
public:
    Reader(const std::string& data, std::size_t at, std::size_t end)
        : data_(data), at_(at), end_(end) {}
    bool number(std::uint64_t& value) {
        if (end_ - at_ < 8)
            return false;
        value = 0;
        for (int i = 0; i < 8; ++i)
            value |= std::uint64_t{static_cast<unsigned char>(data_[at_ + i])} << (8 * i);
        at_ += 8;
        return true;
    }
    bool bytes(std::string& out) {
        std::uint64_t length = 0;
        if (!number(length) || length > end_ - at_)
            return false;
        out.assign(data_, at_, length);
        at_ += length;
        return true;
    }
    bool atEnd() const { return at_ == end_; }

private:
    const std::string& data_;
    std::size_t at_;
    std::size_t end_;
};

struct Content {
    std::string path;
    os::FileIdentity before;
    std::int64_t time = 0;
    std::string super; // the super-journal's name in the journals' folder, if any
    std::vector<Change> changes;
};

// Reads the journal's header: the file's path and identity, the time; false when even
// that is not there. Checked by nothing: parse() checks the whole.
bool parseHeader(const std::string& data, Content& out, Reader& in, std::uint64_t& count) {
    const std::size_t magic = sizeof kMagic - 1;
    std::uint64_t time = 0, modified = 0;
    const bool one = data.compare(0, magic, kMagicOne) == 0;
    if (data.size() < magic || (data.compare(0, magic, kMagic) != 0 && !one) ||
        !in.bytes(out.path) || !in.number(out.before.device) || !in.number(out.before.inode) ||
        !in.number(out.before.size) || !in.number(modified) || !in.number(time) ||
        (!one && !in.bytes(out.super)) || !in.number(count))
        return false;
    out.before.modifiedNs = static_cast<std::int64_t>(modified);
    out.time = static_cast<std::int64_t>(time);
    return true;
}

// False for a journal that is torn or damaged.
bool parse(const std::string& data, Content& out) {
    const std::size_t magic = sizeof kMagic - 1;
    if (data.size() < magic + 8)
        return false;
    const std::size_t end = data.size() - 8;
    std::uint64_t stored = 0, count = 0;
    if (!Reader(data, end, data.size()).number(stored) ||
        stored != fnv1a(kFnvStart, data.data(), end))
        return false;
    Reader in(data, magic, end);
    if (!parseHeader(data, out, in, count))
        return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        Change change;
        if (!in.number(change.offset) || !in.bytes(change.before) || !in.bytes(change.after))
            return false;
        out.changes.push_back(std::move(change));
    }
    return in.atEnd();
}

// Whether the journal may be played back into the file: it names this file (the path
// it was written through is this one, or reaches the same file still), and no span it
// would put back lies outside the file as it was then.
bool fits(const Content& journal, const std::string& fullPath) {
    os::FileIdentity there;
    if (journal.path != fullPath &&
        !(os::identityAt(journal.path, there) && there.sameFile(journal.before)))
        return false;
    for (const Change& change : journal.changes) {
        if (change.offset > journal.before.size ||
            change.before.size() > journal.before.size - change.offset)
            return false;
    }
    return true;
}

Status failure(StatusCode code, os::Result result, const std::string& path, std::string detail) {
    Status status = Status::system(std::move(result), path);
    status.code = code;
    status.detail = std::move(detail);
    return status;
}

} // namespace

std::string stateNameOf(const std::string& fullPath) {
    return hexOf(fnv1a(kFnvStart, fullPath.data(), fullPath.size())) + "-" + fileTitleOf(fullPath);
}

namespace {

// The journal in `folder` of the file `id` written through another path (a hard link,
// a bind mount), if there is one: its header names that file's device and inode.
std::string journalOfSameFile(const std::string& folder, const os::FileIdentity& id) {
    std::vector<std::string> names;
    if (!os::listFolder(folder, names).ok())
        return {};
    for (const std::string& name : names) {
        const std::string path = folder + "/" + name;
        os::File file;
        std::string head(4096 + 64, '\0');
        std::size_t got = 0;
        if (name.size() < 8 || name.compare(name.size() - 8, 8, ".journal") != 0 ||
            !os::isOwnPlainFile(path) || !file.open(path, os::File::Mode::Read).ok() ||
            !file.readAt(0, head.data(), head.size(), got).ok())
            continue;
        head.resize(got);
        Content header;
        Reader in(head, sizeof kMagic - 1, head.size());
        std::uint64_t count = 0;
        if (parseHeader(head, header, in, count) && header.before.sameFile(id))
            return path;
    }
    return {};
}

// Makes `path` in `folder` (the journals' folder, made private with the one above it
// where missing) as a new file, never over anything there, writes it through `write`
// and flushes it with its name: without the folder's flush a power cut could lose it.
// What a failure leaves half made goes.
os::Result makeDurably(const std::string& folder, const std::string& path,
                       const std::function<os::Result(os::File&)>& write) {
    os::File file;
    os::Result result = os::makePrivateFolders(folder, 2);
    if (result.ok())
        result = file.open(path, os::File::Mode::Create);
    if (!result.ok())
        return result; // nothing made, and what is there is not ours to remove
    result = write(file);
    if (result.ok())
        result = file.sync();
    file.close();
    if (result.ok())
        result = os::syncFolder(folder);
    if (!result.ok())
        os::removeFile(path);
    return result;
}

} // namespace

Journal::Journal(const std::string& folder, const std::string& path)
    : folder_(folder), filePath_(path), fullPath_(os::resolvedPath(path)),
      journalPath_(folder_ + "/" + stateNameOf(fullPath_) + ".journal") {
    os::FileIdentity id;
    if (!folder_.empty() && !os::exists(journalPath_) && os::identityAt(fullPath_, id)) {
        const std::string other = journalOfSameFile(folder_, id);
        if (!other.empty())
            journalPath_ = other;
    }
}

bool Journal::exists() const {
    return os::exists(journalPath_);
}

Status Journal::begin(const os::FileIdentity& before, const std::vector<Change>& changes,
                      const std::string& super) const {
    os::Result result = makeDurably(folder_, journalPath_, [&](os::File& file) {
        Writer out(file);
        out.raw(kMagic, sizeof kMagic - 1);
        out.bytes(fullPath_);
        out.number(before.device);
        out.number(before.inode);
        out.number(before.size);
        out.number(static_cast<std::uint64_t>(before.modifiedNs));
        out.number(static_cast<std::uint64_t>(std::time(nullptr)));
        out.bytes(super);
        out.number(changes.size());
        for (const Change& change : changes) {
            out.number(change.offset);
            out.bytes(change.before);
            out.bytes(change.after);
        }
        return out.finish();
    });
    if (result.ok())
        return Status::success();
    return failure(StatusCode::JournalFailed, std::move(result), filePath_, journalPath_);
}

void Journal::end() const {
    os::removeFile(journalPath_);
    os::syncFolder(folder_);
}

Status Journal::unusable(std::string why) const {
    Status status = Status::error(StatusCode::JournalUnusable, filePath_);
    status.detail = journalPath_;
    status.was = std::move(why);
    return status;
}

std::optional<Status> Journal::recover(const os::File& file) const {
    if (!exists())
        return std::nullopt;
    // Only a journal of this user's own making is played back: one planted in its place
    // could otherwise write anything anywhere into the file.
    if (!os::isOwnPlainFile(journalPath_))
        return unusable("it is not a plain file of this user's own");
    std::string data;
    os::Result result = os::readWholeFile(journalPath_, data);
    if (!result.ok())
        return unusable("it cannot be read: " + result.reason);
    os::FileIdentity now;
    result = file.identity(now);
    Content journal;
    if (!parse(data, journal)) {
        // Cut short while it was written: the file changes only after the whole journal
        // is on the disk, so a file that is still as the header found it never did.
        Content header;
        Reader in(data, sizeof kMagic - 1, data.size());
        std::uint64_t count = 0;
        const std::string magic(kMagic, sizeof kMagic - 1);
        const bool headed = parseHeader(data, header, in, count);
        if ((headed && result.ok() && now == header.before) ||
            (!headed && data.size() < 512 && magic.compare(0, data.size(), data, 0, 8) == 0)) {
            end();
            if (headed && !header.super.empty() &&
                header.super.find_first_of("/\\") == std::string::npos)
                SuperJournal::endIfDone(folder_, header.super);
            return std::nullopt;
        }
        return unusable("it is damaged");
    }
    std::string().swap(data);
    if (!fits(journal, fullPath_))
        return unusable("it is not a journal of this file");
    if (journal.super.find_first_of("/\\") != std::string::npos || journal.super == "..")
        return unusable("it is damaged");
    if (!journal.super.empty() && !os::exists(folder_ + "/" + journal.super)) {
        end(); // the write reached every file of its set
        return std::nullopt;
    }
    Status status = Status::error(StatusCode::WriteRolledBack, filePath_);
    status.detail = timeText(journal.time);
    if (result.ok() && !now.sameFile(journal.before)) {
        status.code = StatusCode::JournalDiscarded;
        end();
        return status;
    }
    const PlayBack done =
        playBack(file, journal.changes, journal.changes.size(), journal.before.size);
    status.count = done.putBack;
    status.limit = done.others;
    if (!done.failure.empty())
        return failure(StatusCode::RollbackFailed, os::Result::failure(os::Op::Write, done.failure),
                       filePath_, status.detail);
    end();
    if (!journal.super.empty())
        SuperJournal::endIfDone(folder_, journal.super);
    return status;
}

namespace {
constexpr char kSuperMagic[] = "EDTSUPR1\n";
}

Status SuperJournal::begin(const std::string& folder, const std::vector<std::string>& journals,
                           SuperJournal& out) {
    std::string content = kSuperMagic;
    std::uint64_t hash = kFnvStart;
    for (const std::string& journal : journals) {
        const std::string name = journal.substr(journal.find_last_of('/') + 1);
        content += name + "\n";
        hash = fnv1a(hash, name.data(), name.size());
    }
    // Unique among the writes of this user: the set's journals and the time.
    const std::string now =
        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    hash = fnv1a(hash, now.data(), now.size());
    out.folder_ = folder;
    out.name_ = hexOf(hash) + ".super";
    // Made as a journal is: new, never over anything there, flushed with its name.
    os::Result result = makeDurably(folder, folder + "/" + out.name_, [&](os::File& file) {
        return file.writeAt(0, content.data(), content.size());
    });
    if (result.ok())
        return Status::success();
    return failure(StatusCode::JournalFailed, std::move(result), folder, folder + "/" + out.name_);
}

void SuperJournal::end() const {
    os::removeFile(folder_ + "/" + name_);
    os::syncFolder(folder_);
}

void SuperJournal::endIfDone(const std::string& folder, const std::string& name) {
    const std::string path = folder + "/" + name;
    std::string content;
    const std::size_t magic = sizeof kSuperMagic - 1;
    if (!os::isOwnPlainFile(path) || !os::readWholeFile(path, content).ok() ||
        content.compare(0, magic, kSuperMagic) != 0)
        return;
    for (std::size_t at = magic; at < content.size();) {
        const std::size_t end = content.find('\n', at);
        if (end == std::string::npos || os::exists(folder + "/" + content.substr(at, end - at)))
            return;
        at = end + 1;
    }
    os::removeFile(path);
    os::syncFolder(folder);
}

} // namespace edt
