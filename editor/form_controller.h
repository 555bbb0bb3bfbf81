// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor/open_dialog.h"

namespace edt {

// What the window's flows need of a window, whatever its toolkit: each Form1 (Qt,
// Win32) implements it with its widgets, and FormController drives it. Paths and
// messages are UTF-8; texts shown are UTF-16, as widgets hold them.
class FormView {
public:
    // The window's caption, the version line, RecLabel, RecordLabel, EditWindow, the
    // find field over the list's top-right corner and its note, and the tooltip of
    // the list and the text box that names the code page.
    enum class Part {
        Caption,
        VersionLine,
        LimitCaption,
        KeyLabel,
        TextBox,
        FindField,
        FindNote,
        CodePageNote
    };
    enum class Message { Warning, Note };
    // The answers to the question before a change not written is left behind.
    enum class Answer { Write, Discard, Cancel };

    virtual ~FormView() = default;

    // Setting the text box's text is counted by the controller, not the view.
    virtual void setText(Part part, const std::u16string& text) = 0;
    // Of the key label, the text box and the find field.
    virtual std::u16string text(Part part) const = 0;
    // CurrFileName and CurrFileTitle.
    virtual void setFileNames(const std::string& path, const std::string& title) = 0;

    // List1 shows the editor's entries anew, none selected; or one row after a write.
    virtual void listChanged(std::optional<std::size_t> row = std::nullopt) = 0;
    // Selects a row and scrolls it into view; List1 tells it as a click does
    // (FormController::select).
    virtual void selectRow(std::size_t row) = 0;
    // List1's selected row, if one is.
    virtual std::optional<std::size_t> selectedRow() const = 0;
    // StringLen: the count, red with `overLimitNote` as its tooltip while that is set.
    virtual void setCount(int count, const std::string& overLimitNote) = 0;
    // Shows the find field: focused with its text selected, or leaving the focus.
    virtual void showFind(bool focus) = 0;

    // A message box: a warning or a note.
    virtual void message(Message kind, const std::string& text) = 0;
    // Asks whether to write a change before going on, Cancel the default.
    virtual Answer askToWrite(const std::string& question) = 0;
    // Shown before a file is read, and after: a large file takes a while.
    virtual void setWaitCursor(bool on) = 0;
    // EditWindow's text right-aligned and read right to left, or as designed; told
    // before the text of an entry is set.
    virtual void setRightToLeft(bool on) = 0;

    // The code page a file was read with here, kept between runs (empty: none kept).
    virtual std::string recallCodePage(const std::string& path) const = 0;
    virtual void rememberCodePage(const std::string& path, const std::string& name) = 0;

    // DialogBox, which the controller sets up and shows for File > Open.
    virtual OpenDialog& openDialog() = 0;
};

// Every flow of the editor's window, once for all toolkits: a window tells its
// events here and the controller answers through the window's FormView.
class FormController {
public:
    // Writes are journaled and backed up in `state` when given; view and state outlive
    // the controller. `lineBreak` is the text box's: "\n" or "\r\n".
    FormController(FormView& view, StateFolder* state, std::u16string lineBreak)
        : view_(view), editor_(state), lineBreak_(std::move(lineBreak)) {}

    const Editor& editor() const { return editor_; }
    // Journals and backups in `state` from now on (see Editor).
    void setStateFolder(StateFolder* state) { editor_.setStateFolder(state); }

    // Start-up: the text box emptied (StringLen 0), the list empty, the version line.
    void load();

    // File > Open: the dialog set up (design::setUpOpenDialog) with the code pages
    // offered and preset by codePageFor and shown, then the chosen file opened.
    void openFile();
    // Opens the file at `path`, full or relative to the working folder (the command
    // line, a drop): its texts in `codePage`, or without one in the one kept for it.
    void openPath(const std::string& path, const CodePage* codePage = nullptr);
    // Files dropped on the window: one opens; several are refused, as only one file
    // is open at a time.
    void drop(const std::vector<std::string>& paths);
    // ReadFile: lists `path`, its kind from `title`, in the code page of the last open.
    void read(const std::string& path, const std::string& title);

    // A row of List1 selected by the user or selectRow. A change not written in the
    // entry shown is not dropped without asking (see mayLeave); false when the list
    // must go back to shownRow() without telling (the text box keeps the change).
    bool select(std::size_t row);
    std::optional<std::size_t> shownRow() const { return editor_.shownRow(); }
    // EditWindow's text changed; Write Record (true when written).
    void countLength();
    bool write();
    // Ctrl+Down, Ctrl+Up: the next or previous row selected (the first without one).
    void step(bool forward);
    // Whether the window may leave the entry shown (close, open another file...): with
    // a change not written, only once asked and written (a refusal is shown) or
    // discarded (the entry's text back in the text box).
    bool mayLeave();

    // Ctrl+F; F3 (forward) and Shift+F3, and Enter in the find field.
    void openFind() { view_.showFind(true); }
    void findNext(bool forward);

    // The code page's name a file would be read in: the one kept for it, else the
    // default (also for no path).
    std::string codePageFor(const std::string& path) const;

private:
    void open(const std::string& path, const std::string& title, const CodePage& codePage);
    void setText(FormView::Part part, const std::string& utf8);
    // EditWindow's text, in the direction of its first letter.
    void showText(const std::u16string& text);
    std::u16string shownText_; // the text box's text as shown last

    FormView& view_;
    Editor editor_;
    std::u16string lineBreak_;
    bool rightToLeft_ = false;           // what EditWindow was told last
    const CodePage* codePage_ = nullptr; // what read() reads the texts in
};

} // namespace edt
