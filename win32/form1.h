// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "editor/design.h"
#include "editor/form_controller.h"
#include "editor/layout.h"
#include "win32/entry_list.h"
#include "win32/form_fonts.h"
#include "win32/open_file_dialog.h"
#include "win32/windows_api.h"

namespace edt::win32 {

// The editor's one window on Windows: the list of entries, the label row, the text
// box, the Write Record button, the version line and the File menu, placed in twips
// at the DPI of the monitor it is on. Tells its events to the form controller, which
// runs every flow through this window's FormView, as the Qt window does. Beyond the
// design: a file dropped on the window opens; Ctrl+F shows a find field over the list
// (F3 and Shift+F3 step through the matches); the text length turns red while the
// text does not fit the selected entry.
class Form1 : private FormView {
public:
    // Creates the window, hidden, with its design values, and runs its Load. Writes
    // are journaled and backed up in `state` (plain locked writes without), which must
    // outlive the window.
    Form1(HINSTANCE instance, StateFolder* state);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Shows the window centred on its monitor, List1 focused.
    void show(int showCommand);
    HWND handle() const { return hwnd_; }
    // The keys of find (Ctrl+F, F3, Shift+F3), writing (Ctrl+S, Ctrl+Enter) and
    // stepping (Ctrl+Up, Ctrl+Down), for the message loop.
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
    void applyLayout();
    void changeDpi(UINT dpi, const RECT& suggested);
    void placeFind();
    void hideFind();
    void exitProgram();
    // Gives a control a tooltip with `text`, or none with an empty one.
    void setTooltip(HWND control, const std::wstring& text);
    void place(HWND control, const design::TwipsRect& rect);
    // Gives the controls their places, from the one at `from` (placed::List1 ...) on;
    // then List1's column and the find field follow.
    void place(const FormPlaces& places, std::size_t from);

    // FormView
    void setText(Part part, const std::u16string& text) override;
    std::u16string text(Part part) const override;
    void setFileNames(const std::string& path, const std::string& title) override;
    void listChanged(std::optional<std::size_t> row) override;
    void selectRow(std::size_t row) override { List1.select(row); }
    std::optional<std::size_t> selectedRow() const override { return List1.selected(); }
    void setCount(int count, const std::string& overLimitNote) override;
    void showFind(bool focus) override;
    void message(Message kind, const std::string& text) override;
    Answer askToWrite(const std::string& question) override;
    void setWaitCursor(bool on) override;
    void setRightToLeft(bool on) override;
    std::string recallCodePage(const std::string& path) const override;
    void rememberCodePage(const std::string& path, const std::string& name) override;
    OpenDialog& openDialog() override { return DialogBox; }
    // What screen readers read as EditWindow's description: the label row and the notes.
    std::wstring textBoxDescription() const;
    // Its name and description for screen readers, again whenever it is made anew.
    void makeTextBoxAccessible();
    // The control that shows a part (the window itself for its caption).
    HWND controlOf(Part part) const;

    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    std::unique_ptr<FormFonts> fonts_;
    HWND focused_ = nullptr; // kept while another window is active
    bool restoring_ = false; // List1's selection going back to the row shown

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

    FormController controller_;
    std::wstring limitNote_;    // StringLen's tooltip; empty while the text fits
    std::wstring codePageNote_; // the tooltip of List1 and EditWindow
    bool comReady_ = false;
    HCURSOR cursor_ = nullptr; // before the wait cursor
    OpenFileDialog DialogBox;
};

} // namespace edt::win32
