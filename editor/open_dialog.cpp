// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/open_dialog.h"

#include "record/file_kind.h"

namespace edt {

void OpenDialog::setChosenFile(const std::string& path, const std::string& codePage) {
    fileName_ = path;
    fileTitle_ = fileTitleOf(path);
    codePage_ = codePage;
}

void OpenDialog::setCancelled() {
    if (!cancelError_) {
        fileName_.clear();
        fileTitle_.clear();
    }
}

} // namespace edt
