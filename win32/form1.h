// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "editor/design.h"
#include "editor/editor.h"
#include "record/status.h"
#include "win32/entry_list.h"
#include "win32/form_fonts.h"
#include "win32/open_file_dialog.h"
#include "win32/windows_api.h"

namespace edt::win32 {

// The editor's one window on Windows: the list of entries, the label row, the text
// box, the Write Record button, the version line and the File menu, placed in twips
// at the DPI of the monitor it is on. Moves text between these controls and the
// editor core, which holds the state and the commands' logic, as the Qt window does.
class Form1 {
public:
    // Creates the window, hidden, with its design values, and runs its Load.
    explicit Form1(HINSTANCE instance);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Shows the window centred on its monitor, List1 focused.
    void show(int showCommand);
    HWND handle() const { return hwnd_; }

    // The open file's full path, and its name without folder; set by File > Open.
    std::wstring CurrFileName;
    std::wstring CurrFileTitle;

    // Lists the file CurrFileName, its kind chosen from CurrFileTitle. On failure the
    // list stays empty and a message box says why.
    void ReadFile();

    // Stores EditWindow's text at the key RecordLabel shows, in the file listed last,
    // and updates that entry's line. Anything the file cannot take is refused with a
    // message box and nothing is written; EditWindow keeps the text either way.
    void WriteRecord();

private:
    // The menu items' command ids.
    enum : UINT { mnu_FileOpen = 101, mnu_FileSpace1 = 102, mnu_FileExit = 103 };

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createMenu();
    void createControls();
    void load();
    void applyFonts();
    void placeAtDesign();
    void applyLayout();
    void changeDpi(UINT dpi, const RECT& suggested);
    void openFile();
    void selectEntry(std::size_t row);
    void setEditText(const std::u16string& text);
    void countLength();
    void exitProgram();
    // Tells a failure; `writing` adds that nothing was written, where nothing was.
    void report(const Status& status, bool writing);
    // The code page a file was last read with here, else the host's default.
    std::wstring codePageFor(const std::wstring& path) const;
    void addTooltip(HWND control, const std::wstring& text);
    void place(HWND control, const design::TwipsRect& rect);

    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    std::unique_ptr<FormFonts> fonts_;
    HWND focused_ = nullptr; // kept while another window is active

    EntryList List1;
    HWND EditWindow = nullptr;
    HWND RecordLabel = nullptr;
    HWND Label1 = nullptr;
    HWND btn_WriteRecord = nullptr;
    HWND StringLen = nullptr;
    HWND RecLabel = nullptr;
    HWND VersionInfo = nullptr;
    HWND tooltip_ = nullptr;
    HMENU mnu_Bar = nullptr;
    HMENU mnu_File = nullptr;

    Editor editor_;
    const CodePage* codePage_ = nullptr; // what ReadFile reads the texts in
    OpenFileDialog DialogBox;
};

} // namespace edt::win32
