// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/editor_icon.h"

namespace edt {

QIcon editorIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/edt-editor.png").arg(size),
                     QSize(size, size));
    return icon;
}

} // namespace edt
