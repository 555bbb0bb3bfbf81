// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/os_result.h"

namespace edt::os {

// Where programs keep the state of their user (paths are UTF-8): $XDG_STATE_HOME, else
// ~/.local/state of $HOME or, without HOME, of the account's home folder; on Windows
// %LOCALAPPDATA%. Empty when the system says none of these.
std::string stateFolder();

// The absolute path of an existing file, links resolved (as fullPath gives it when
// it cannot be).
std::string resolvedPath(const std::string& path);

// Makes a folder and those above it that are missing.
Result makeFolders(const std::string& path);

// Makes the folder `path` (absolute) and those above it that are missing, each made
// private to the user and flushed into its parent. The last `own` folders of the path
// are the program's own: refused when another user owns one or one is a link, and made
// private again (0700) where they are not. The folders above them are trusted only as
// OpenSSH trusts a home: owned by the user or the system, and no other user may write
// into them (but where only the owner of a name may remove it, as in /tmp). The refusal
// names the folder and why. Windows keeps %LOCALAPPDATA% private by its access rules.
Result makePrivateFolders(const std::string& path, int own);

// Whether `path` names a regular file of this user's, not a link, with no other name,
// that no other user may write: a file the program made itself in its private folders.
bool isOwnPlainFile(const std::string& path);

// The names in a folder.
Result listFolder(const std::string& path, std::vector<std::string>& names);

// `name` inside `folder`, after the system's separator ('\\' on Windows), or after the
// one `folder` ends in.
std::string inFolder(const std::string& folder, const std::string& name);

// Whether `path` names a folder, or a link to one.
bool isFolder(const std::string& path);

// Whether anything has that name: a link counts, wherever it points.
bool exists(const std::string& path);

// A path made full against the working folder, "." and ".." taken out; as given when
// the system cannot tell the working folder.
std::string fullPath(const std::string& path);

} // namespace edt::os
