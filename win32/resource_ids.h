// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the resource scripts and the code. The program's icon has the lowest id,
// so that Explorer shows it for the .exe.
#define EDT_ICON_ID 1

// The open dialog's extra box: the character set (a template of the Explorer dialog).
#define EDT_OPEN_TEMPLATE_ID 100
#define EDT_CODE_PAGE_LABEL_ID 1101
#define EDT_CODE_PAGE_BOX_ID 1102
