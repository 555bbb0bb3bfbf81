// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

#include "cli/tool.h"
#include "record/file_kind.h"

namespace edt::cli {

// edt-tool update FILE LL.po: the translation brought up to date with FILE's texts now,
// as msgmerge --update --previous does, matched by key (translate/po_update.h). The
// originals are read in the code page the PO names, unless --codepage says another.
// The PO is replaced whole, its previous content kept as LL.po~; an unreadable one is
// refused with its problems listed, and nothing is written.
int updateCommand(const std::string& path, const FileKind& kind, const std::string& poPath,
                  const Settings& settings, std::FILE* out, std::FILE* err);

// The same for every EDT file of `folder` with the PO of its name in `poFolder` (in any
// case). An EDT file without one gets a new PO in the Language of the others; a PO
// whose EDT file is gone is named and left as it is. Every PO is read and brought up to
// date first: if any cannot be, all problems are listed and no PO is written.
int updateFolderCommand(const std::string& folder, const std::string& poFolder,
                        const Settings& settings, std::FILE* out, std::FILE* err);

} // namespace edt::cli
