// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the resource scripts and the code. The program's icon has the lowest id,
// so that Explorer shows it for the .exe.
#define EDT_ICON_ID 1
