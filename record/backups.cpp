// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/backups.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <vector>

#include "platform/file.h"
#include "platform/folders.h"
#include "platform/output_file.h"
#include "record/file_kind.h"

namespace edt {
namespace {

std::string now() {
    const std::time_t t = std::time(nullptr);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", std::localtime(&t));
    return text;
}

// Whether `name` is a backup of `title`: the title, a full stop, then the time as now()
// gives it (and "-N" where two fell in one second).
bool isBackupOf(const std::string& name, const std::string& title) {
    static const std::string form = "dddd-dd-dd_dd-dd-dd";
    if (name.size() < title.size() + 1 + form.size() || name.compare(0, title.size(), title) != 0 ||
        name[title.size()] != '.')
        return false;
    const std::string time = name.substr(title.size() + 1);
    for (std::size_t i = 0; i < time.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(time[i]));
        if (i < form.size() ? (form[i] == 'd') != digit || (!digit && time[i] != form[i])
                            : !digit && !(i == form.size() && time[i] == '-'))
            return false;
    }
    return true;
}

Status failed(os::Result result, const std::string& path, const std::string& folder) {
    Status status = Status::system(std::move(result), path);
    status.code = StatusCode::BackupFailed;
    status.detail = folder;
    return status;
}

} // namespace

Backups Backups::forUser(bool off) {
    const std::string state = os::stateFolder();
    if (off || state.empty())
        return Backups("");
    return Backups(state + "/edt-editor/backups");
}

Status Backups::beforeWrite(const std::string& path, std::optional<Status>& note) {
    note.reset();
    os::FileIdentity id;
    if (folder_.empty() || !os::identityAt(path, id) || done_.count({id.device, id.inode}))
        return Status::success(); // a missing file is the writer's to refuse
    if (id.size > kMaxSize) {
        done_.insert({id.device, id.inode});
        note = Status::error(StatusCode::BackupTooLarge, path);
        note->count = id.size;
        note->limit = kMaxSize;
        return Status::success();
    }
    std::string content;
    os::Result result = os::makeFolders(folder_);
    if (result.ok())
        result = os::readWholeFile(path, content);
    const std::string title = fileTitleOf(path);
    std::string copy = folder_ + "/" + title + "." + now();
    for (int n = 2; os::exists(copy); ++n)
        copy = folder_ + "/" + title + "." + now() + "-" + std::to_string(n);
    if (result.ok())
        result = os::writeWholeFile(copy, content.data(), content.size());
    if (!result.ok())
        return failed(std::move(result), path, folder_);
    done_.insert({id.device, id.inode});

    // The newest of this name are kept; their names sort by their time.
    std::vector<std::string> names, mine;
    if (os::listFolder(folder_, names).ok()) {
        for (const std::string& name : names) {
            if (isBackupOf(name, title))
                mine.push_back(name);
        }
        std::sort(mine.begin(), mine.end());
        for (std::size_t i = 0; i + kKept < mine.size(); ++i)
            os::removeFile(folder_ + "/" + mine[i]);
    }
    return Status::success();
}

} // namespace edt
