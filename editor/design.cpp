// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/design.h"

#include "edt/version.h"

namespace edt::design {

std::string versionLine() {
    return "Oskeln's Zelvar EDT File Editor - Version " + std::to_string(kVersionMajor) + "." +
           std::to_string(kVersionMinor) + "." + std::to_string(kVersionPatch);
}

} // namespace edt::design
