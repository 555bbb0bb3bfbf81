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
// Beyond the design: a file dropped on the window opens; Ctrl+F shows a find field
// over the list (F3 and Shift+F3 step through the matches); the text length turns red
// while the text does not fit the selected entry.
class Form1 {
public:
    // Creates the window, hidden, with its design values, and runs its Load. Writes
    // go through `writer` (plain locked writes without), which must outlive the window.
    Form1(HINSTANCE instance, SafeWriter* writer);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Shows the window centred on its monitor, List1 focused.
    void show(int showCommand);
    HWND handle() const { return hwnd_; }
    // The keys of find (Ctrl+F, F3, Shift+F3), for the message loop.
    HACCEL accelerators() const { return accelerators_; }

    // Opens `path` (full, or relative to the working folder) as File > Open ... does
    // once a file is chosen: its texts read in `codePage`, or without one in the code
    // page it was read with last here.
    void openPath(const std::wstring& path, const CodePage* codePage = nullptr);

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
    void openChosen(const std::wstring& fileName, const std::wstring& fileTitle,
                    const CodePage& codePage);
    void showFind(bool focus);
    void placeFind();
    void hideFind();
    // One step of find: the next match (or the previous one) selected as a click
    // would, after asking whether to drop a change not written.
    void findNext(bool forward);
    void selectEntry(std::size_t row);
    void setEditText(const std::u16string& text);
    void countLength();
    // Red StringLen and a tooltip with the entry's limit while the text does not fit.
    void showLimit();
    void exitProgram();
    // Tells a failure; `writing` adds that nothing was written, where nothing was.
    void report(const Status& status, bool writing);
    // Tells a note as an information.
    void tellNote(const Status& status);
    // The code page a file was last read with here, else the host's default.
    std::wstring codePageFor(const std::wstring& path) const;
    // Gives a control a tooltip with `text`, or none with an empty one.
    void setTooltip(HWND control, const std::wstring& text);
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
    HWND findField_ = nullptr; // over the list, hidden until Ctrl+F
    HWND findNote_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HMENU mnu_Bar = nullptr;
    HMENU mnu_File = nullptr;

    Editor editor_;
    const CodePage* codePage_ = nullptr; // what ReadFile reads the texts in
    int length_ = 0;                     // StringLen's count
    std::wstring limitNote_;             // StringLen's tooltip; empty while the text fits
    OpenFileDialog DialogBox;
};

} // namespace edt::win32
