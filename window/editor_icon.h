// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace edt {

// The program's own icon, drawn for it (data/icons/edt-editor.svg), at 16 to 256
// pixels with transparency, embedded as a Qt resource.
QIcon editorIcon();

} // namespace edt
