// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLabel;

namespace edt {

// Makes `label` a note for screen readers (the find note): a notification, which
// they say when it shows, whatever has the focus.
void makeNote(QLabel* label);

// Has screen readers say the note shown again, as they did when it showed: also when
// the same text is told twice (a second "Not found").
void announce(QLabel* note);

} // namespace edt
