// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/design.h"

#include "edt/version.h"

namespace edt::design {

std::string versionLine() {
    return "Oskeln's Zelvar EDT File Editor - Version " + std::to_string(kVersionMajor) + "." +
           std::to_string(kVersionMinor) + "." + std::to_string(kVersionPatch);
}

void setUpOpenDialog(OpenDialog& dialog) {
    dialog.setCancelError(kCancelError);
    dialog.setDialogTitle(kDialogTitle);
    dialog.setFlags(kDialogFlags);
    dialog.setFilter(kDialogFilter);
    dialog.setFilterIndex(kDialogFilterIndex);
    dialog.setDefaultExt(kDialogDefaultExt);
}

} // namespace edt::design
