// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor/form_view.h"

namespace edt {

// Every flow of the editor's window, once for all toolkits: a window tells its
// events here and the controller answers through the window's FormView.
class FormController {
public:
    // Writes go through `backups` when given; view and backups outlive the controller.
    // `lineBreak` is the text box's: "\n" or "\r\n".
    FormController(FormView& view, Backups* backups, std::u16string lineBreak)
        : view_(view), editor_(backups), lineBreak_(std::move(lineBreak)) {}

    const Editor& editor() const { return editor_; }

    // Start-up: the text box emptied (StringLen 0), the list empty, the version line.
    void load();

    // File > Open: the dialog, then the chosen file opened.
    void openFile();
    // Opens the file at `path`, full or relative to the working folder (the command
    // line, a drop): its texts in `codePage`, or without one in the one kept for it.
    void openPath(const std::string& path, const CodePage* codePage = nullptr);
    // Files dropped on the window: one opens; several are refused, as only one file
    // is open at a time.
    void drop(const std::vector<std::string>& paths);
    // ReadFile: lists `path`, its kind from `title`, in the code page of the last open.
    void read(const std::string& path, const std::string& title);

    // A row of List1 selected; EditWindow's text changed; Write Record.
    void select(std::size_t row);
    void countLength();
    void write();

    // Ctrl+F; F3 (forward) and Shift+F3, and Enter in the find field.
    void openFind() { view_.showFind(true); }
    void findNext(bool forward);

    // The code page's name a file would be read in: the one kept for it, else the
    // default (also for no path).
    std::string codePageFor(const std::string& path) const;

private:
    void open(const std::string& path, const std::string& title, const CodePage& codePage);
    void setText(FormView::Part part, const std::string& utf8);

    FormView& view_;
    Editor editor_;
    std::u16string lineBreak_;
    const CodePage* codePage_ = nullptr; // what read() reads the texts in
};

} // namespace edt
