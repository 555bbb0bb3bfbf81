// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/os_result.h"

namespace edt::os {

// Where programs keep the state of their user (paths are UTF-8): $XDG_STATE_HOME, else
// ~/.local/state; on Windows %LOCALAPPDATA%. Empty when the system says neither.
std::string stateFolder();

// Makes a folder and those above it that are missing.
Result makeFolders(const std::string& path);

// The names in a folder.
Result listFolder(const std::string& path, std::vector<std::string>& names);

bool exists(const std::string& path);

// A path made full against the working folder, "." and ".." taken out; as given when
// the system cannot tell the working folder.
std::string fullPath(const std::string& path);

} // namespace edt::os
