// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "editor/open_dialog.h"

// The editor window's design values, the same for every toolkit: positions and sizes
// in twips (1/1440 inch) measured from the top-left corner of the area under the menu
// bar, captions, the File menu and the open dialog's settings.
namespace edt::design {

struct TwipsRect {
    float left;
    float top;
    float width;
    float height;
};

constexpr float kClientWidth = 8460;
constexpr float kClientHeight = 6915;
constexpr TwipsRect kList1{45, 45, 8430, 4470};
constexpr TwipsRect kEditWindow{45, 4950, 8385, 1680};
constexpr TwipsRect kRecordLabel{720, 4635, 1095, 240};
constexpr TwipsRect kLabel1{90, 4635, 555, 240};
constexpr TwipsRect kWriteRecord{7245, 4545, 1140, 330};
constexpr TwipsRect kStringLen{4635, 4635, 780, 240};
constexpr TwipsRect kRecLabel{2115, 4635, 2490, 240};
constexpr TwipsRect kVersionInfo{90, 6660, 8340, 285};

// Beyond the design: the find field over the list's top-right corner, inside its
// border and clear of its scroll bar, with its note to its left.
constexpr float kFindWidth = 2400, kFindHeight = 300, kFindNoteWidth = 1800;

// Arial 8.25 pt for the list, the text box and the labels.
constexpr const char* kFontFace = "Arial";
constexpr float kFontPoints = 8.25f;

constexpr const char* kStartCaption = "Zelvar EDT File Editor";
constexpr const char* kOpenCaptionPrefix = "Zelvar Email Editor - ";
// Beyond the design: after the path of a file that cannot be written.
constexpr const char* kReadOnlyCaptionSuffix = " (read-only)";
constexpr const char* kStartLimitCaption = "Record Length (Max 315):";
constexpr const char* kRecordCaption = "Record:";
constexpr const char* kWriteRecordCaption = "Write Record";
constexpr const char* kTextBoxStartText = "Text1";

// The File menu: "&" marks the access key.
constexpr const char* kFileMenu = "&File";
constexpr const char* kOpenItem = "&Open ...";
constexpr const char* kExitItem = "E&xit";

// The open dialog's settings, set in this order before every Open.
constexpr bool kCancelError = true;
constexpr const char* kDialogTitle = "Open File ...";
constexpr std::uint32_t kOverwritePrompt = 0x2; // acts in save dialogs only
constexpr std::uint32_t kHideReadOnly = 0x4;
constexpr std::uint32_t kPathMustExist = 0x800;
constexpr std::uint32_t kFileMustExist = 0x1000;
constexpr std::uint32_t kLongNames = 0x200000;
constexpr std::uint32_t kDialogFlags =
    kOverwritePrompt | kHideReadOnly | kPathMustExist | kLongNames; // 0x200806
// Description and pattern pairs divided by bars.
constexpr const char* kDialogFilter = "All Files (*.*)|*.*|Text Files (*.txt)|*.txt";
constexpr int kDialogFilterIndex = 1;
constexpr const char* kDialogDefaultExt = "txt";

// Gives the open dialog these settings, in this order.
void setUpOpenDialog(OpenDialog& dialog);

// "Oskeln's Zelvar EDT File Editor - Version " and the program's version: 1.0.1.
std::string versionLine();

} // namespace edt::design
