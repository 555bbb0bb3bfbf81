// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>

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
    enum class Message { Warning, Note, Question };

    virtual ~FormView() = default;

    // Setting the text box's text is counted by the controller, not the view.
    virtual void setText(Part part, const std::u16string& text) = 0;
    // Of the key label, the text box and the find field.
    virtual std::u16string text(Part part) const = 0;
    // CurrFileName and CurrFileTitle.
    virtual void setFileNames(const std::string& path, const std::string& title) = 0;

    // List1 shows the editor's entries anew, none selected; or one row after a write.
    virtual void listChanged(std::optional<std::size_t> row = std::nullopt) = 0;
    virtual std::optional<std::size_t> selectedRow() const = 0;
    // Selects a row and scrolls it into view; List1 tells it as a click does
    // (FormController::select).
    virtual void selectRow(std::size_t row) = 0;
    // StringLen: the count, red with `overLimitNote` as its tooltip while that is set.
    virtual void setCount(int count, const std::string& overLimitNote) = 0;
    // Shows the find field: focused with its text selected, or leaving the focus.
    virtual void showFind(bool focus) = 0;

    // A message box; a question is answered yes (true) or no, the default.
    virtual bool message(Message kind, const std::string& text) = 0;
    virtual void setWaitCursor(bool on) = 0;

    // The code page a file was read with here, kept between runs (empty: none kept).
    virtual std::string recallCodePage(const std::string& path) const = 0;
    virtual void rememberCodePage(const std::string& path, const std::string& name) = 0;

    // DialogBox set up (design::setUpOpenDialog) with the code pages offered and
    // preset by FormController::codePageFor, shown; none when cancelled.
    struct Choice {
        std::string path;
        std::string title;
        std::string codePage;
    };
    virtual std::optional<Choice> chooseFile() = 0;
};

} // namespace edt
