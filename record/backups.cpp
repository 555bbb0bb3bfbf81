// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/backups.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <tuple>

#include "platform/folders.h"
#include "platform/output_file.h"
#include "record/file_kind.h"
#include "record/journal.h"

namespace edt {
namespace {

constexpr char kPathName[] = "path";

std::string now() {
    const std::time_t t = std::time(nullptr);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", std::localtime(&t));
    return text;
}

// A backup's name as its time and its number within that second (1 without "-N");
// none when `name` is no backup of `title`.
std::optional<std::pair<std::string, long>> timeOf(const std::string& name,
                                                   const std::string& title) {
    static const std::string form = "dddd-dd-dd_dd-dd-dd";
    if (name.size() < title.size() + 1 + form.size() || name.compare(0, title.size(), title) != 0 ||
        name[title.size()] != '.')
        return std::nullopt;
    const std::string time = name.substr(title.size() + 1, form.size());
    for (std::size_t i = 0; i < form.size(); ++i) {
        if ((form[i] == 'd') != (std::isdigit(static_cast<unsigned char>(time[i])) != 0) ||
            (form[i] != 'd' && time[i] != form[i]))
            return std::nullopt;
    }
    const std::string number = name.substr(title.size() + 1 + form.size());
    if (number.empty())
        return std::make_pair(time, 1L);
    if (number.size() < 2 || number.size() > 9 || number[0] != '-' ||
        !std::all_of(number.begin() + 1, number.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    return std::make_pair(time, std::stol(number.substr(1)));
}

Status failed(os::Result result, const std::string& path, const std::string& folder) {
    Status status = Status::system(std::move(result), path);
    status.code = StatusCode::BackupFailed;
    status.detail = folder;
    return status;
}

// The backups in `folder` of the file named `title`, oldest first. With `tidy` (the file
// locked for writing), what else is there but its path is a copy that a killed run
// left half made, and goes.
std::vector<std::string> backupsIn(const std::string& folder, const std::string& title, bool tidy) {
    std::vector<std::string> names;
    std::vector<std::pair<std::pair<std::string, long>, std::string>> mine;
    if (!os::listFolder(folder, names).ok())
        return {};
    for (const std::string& name : names) {
        const auto time = timeOf(name, title);
        // A link or a file of another's is no copy of ours: never listed nor restored.
        if (time && os::isOwnPlainFile(folder + "/" + name))
            mine.push_back({*time, name});
        else if (tidy && name != kPathName && !time)
            os::removeFile(folder + "/" + name);
    }
    std::sort(mine.begin(), mine.end());
    names.clear();
    for (auto& [time, name] : mine)
        names.push_back(std::move(name));
    return names;
}

} // namespace

Backups Backups::forUser(bool off) {
    const std::string state = os::stateFolder();
    return Backups(state.empty() ? state : state + "/edt-editor/backups", !off);
}

std::string Backups::folderOf(const std::string& path) const {
    return folder_ + "/" + stateNameOf(os::resolvedPath(path));
}

Status Backups::beforeWrite(const os::File& file, const std::string& path,
                            std::optional<Status>& note, bool again) {
    note.reset();
    os::FileIdentity id;
    if (!enabled_ || !file.identity(id).ok() || (!again && done_.count({id.device, id.inode})))
        return Status::success();
    if (id.size > kMaxSize) {
        done_.insert({id.device, id.inode});
        note = Status::error(StatusCode::BackupTooLarge, path);
        note->count = id.size;
        note->limit = kMaxSize;
        return Status::success();
    }
    const std::string folder = folderOf(path);
    const std::string title = fileTitleOf(os::resolvedPath(path));
    std::string content(static_cast<std::size_t>(id.size), '\0');
    std::size_t got = 0;
    // The backups' folder, the one above it and the file's own are the program's.
    os::Result result = os::makePrivateFolders(folder, 3);
    if (result.ok())
        result = file.readAt(0, content.data(), content.size(), got);
    content.resize(got);
    const std::string full = os::resolvedPath(path) + "\n";
    if (result.ok() && !os::exists(folder + "/" + kPathName))
        result = os::writeNewFile(folder + "/" + kPathName, full.data(), full.size(), 0600);
    const std::string stamp = now();
    std::string copy = folder + "/" + title + "." + stamp;
    for (int n = 2; os::exists(copy); ++n)
        copy = folder + "/" + title + "." + stamp + "-" + std::to_string(n);
    if (result.ok())
        result = os::writeNewFile(copy, content.data(), content.size(), file.permissions());
    if (!result.ok())
        return failed(std::move(result), path, folder);
    done_.insert({id.device, id.inode});

    // The first copy is the file before the program ever wrote it: it stays.
    const std::vector<std::string> names = backupsIn(folder, title, true);
    for (std::size_t i = 1; i + kKept < names.size(); ++i)
        os::removeFile(folder + "/" + names[i]);
    return Status::success();
}

std::vector<Backups::Copy> Backups::list(const std::string& path) const {
    std::vector<Copy> copies;
    if (folder_.empty())
        return copies;
    const std::string folder = folderOf(path);
    for (const std::string& name : backupsIn(folder, fileTitleOf(os::resolvedPath(path)), false)) {
        Copy copy{name, folder + "/" + name, 0, copies.empty()};
        os::FileIdentity id;
        if (os::identityAt(copy.path, id))
            copy.size = id.size;
        copies.push_back(std::move(copy));
    }
    return copies;
}

Status Backups::find(const std::string& path, const std::string& name, Copy& out) const {
    const std::vector<Copy> copies = list(path);
    for (auto copy = copies.rbegin(); copy != copies.rend(); ++copy) {
        if (name.empty() || copy->name == name || copy->path == name) {
            out = *copy;
            return Status::success();
        }
    }
    Status status = Status::error(StatusCode::NoBackup, path);
    status.detail = name;
    return status;
}

} // namespace edt
