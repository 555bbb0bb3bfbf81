// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

#include "cli/tool.h"

namespace edt::cli {

// edt-tool backups FILE: lists FILE's backup copies, the oldest first, with their
// time and size, and which is the original (the file before its first write).
int backupsCommand(const std::string& path, const Settings& settings, std::FILE* out,
                   std::FILE* err);

// edt-tool restore FILE [BACKUP]: puts the newest copy, or the one named BACKUP (its
// name as backups lists it, or its path), back into FILE, after a copy of what FILE
// holds now; through the journal and the lock as any write.
int restoreCommand(const std::string& path, const std::string& backup, const Settings& settings,
                   std::FILE* out, std::FILE* err);

// edt-tool recover FILE [--discard]: plays back the journal of a write into FILE that
// was interrupted, as any command does first; one that cannot be played back stays
// and is named, or with `discard` is removed, leaving FILE as it is.
int recoverCommand(const std::string& path, bool discard, const Settings& settings, std::FILE* out,
                   std::FILE* err);

} // namespace edt::cli
