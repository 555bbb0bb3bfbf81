// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/safe_writer.h"

#include "platform/folders.h"
#include "record/journal.h"

namespace edt {
namespace {

class Steps : public WriteSteps {
public:
    Steps(Backups& backups, const std::string& folder, const std::string& path, bool backUpAgain)
        : backups_(backups), folder_(folder), path_(path), journal_(folder, path),
          again_(backUpAgain) {}

    std::optional<Status> locked(const os::File& file) override {
        return folder_.empty() ? std::nullopt : journal_.recover(file);
    }
    Status beforeFirstByte(const os::File& file, const FileIdentity& before,
                           const std::vector<Change>& changes,
                           std::optional<Status>& note) override {
        if (folder_.empty())
            return Status::error(StatusCode::NoStateFolder, path_);
        Status status = backups_.beforeWrite(file, path_, note, again_);
        if (status.ok())
            status = journal_.begin(before, changes);
        return status;
    }
    void finished(bool settled) override {
        if (settled)
            journal_.end();
    }

private:
    Backups& backups_;
    const std::string& folder_;
    const std::string& path_;
    Journal journal_;
    bool again_;
};

} // namespace

SafeWriter SafeWriter::forUser(bool noBackup) {
    const std::string state = os::stateFolder();
    return SafeWriter(Backups::forUser(noBackup),
                      state.empty() ? state : state + "/edt-editor/journals");
}

WriteResult SafeWriter::write(const std::string& path, const FileKind& kind,
                              const std::vector<EntryWrite>& writes, const CodePage& codePage,
                              const FileIdentity* expected) {
    Steps steps(backups_, journals_, path, false);
    return writeEntries(path, kind, writes, codePage, expected, &steps);
}

WriteResult SafeWriter::writeRecord(const std::string& path, const FileKind& kind, RecordKey key,
                                    std::string_view text, const CodePage& codePage,
                                    const FileIdentity* expected) {
    Steps steps(backups_, journals_, path, false);
    return edt::writeRecord(path, kind, key, text, codePage, expected, &steps);
}

WriteResult SafeWriter::restore(const std::string& path, const Backups::Copy& copy) {
    std::string content;
    os::Result read = os::readWholeFile(copy.path, content);
    if (!read.ok()) {
        WriteResult result;
        result.status = Status::system(std::move(read), copy.path);
        return result;
    }
    Steps steps(backups_, journals_, path, true);
    return writeContent(path, content, &steps);
}

std::optional<Status> SafeWriter::recover(const std::string& path) const {
    if (journals_.empty())
        return std::nullopt;
    const Journal journal(journals_, path);
    if (!journal.exists())
        return std::nullopt;
    os::File file;
    const os::Result opened = file.open(path, os::File::Mode::Update);
    if (!opened.ok())
        return journal.unusable(
            "the file cannot be opened for writing (" +
            (opened.reason.empty() ? std::string("not a file") : opened.reason) + ")");
    // A journal whose file is locked belongs to a write going on now.
    if (!file.lock(0))
        return journal.unusable("another program is writing the file now");
    return journal.recover(file);
}

bool SafeWriter::discardJournal(const std::string& path) const {
    if (journals_.empty())
        return false;
    const Journal journal(journals_, path);
    if (!journal.exists())
        return false;
    journal.end();
    return true;
}

} // namespace edt
