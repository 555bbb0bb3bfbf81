// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/state_folder.h"

#include "platform/folders.h"

namespace edt {

StateFolder StateFolder::forUser(bool noBackup) {
    const std::string state = os::stateFolder();
    return StateFolder(Backups::forUser(noBackup),
                       state.empty() ? state : state + "/edt-editor/journals");
}

} // namespace edt
