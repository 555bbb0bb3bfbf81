// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "record/status.h"

namespace edt::cli {

// The sentence edt-tool gives for a status: the record core's, with the hints of
// edt-tool's options, and the sentences of its own statuses and of translation files.
// A refused write (`ofWrite`) closes with what was not written.
std::string toolMessage(const Status& status, bool ofWrite = false);

// The sentence for one item of a translation: as toolMessage, led by the entry's key
// where the sentence does not name it.
std::string itemMessage(const Status& status);

struct FolderNote;
// The sentence for a folder's note (cli/game_folder.h).
std::string folderMessage(const FolderNote& note);

} // namespace edt::cli
