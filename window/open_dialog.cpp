// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/open_dialog.h"

#include <QFileInfo>

namespace edt {

void OpenDialog::setChosenFile(const QString& path) {
    fileName_ = path;
    fileTitle_ = QFileInfo(path).fileName();
}

void OpenDialog::setCancelled() {
    if (!cancelError_) {
        fileName_.clear();
        fileTitle_.clear();
    }
}

} // namespace edt
