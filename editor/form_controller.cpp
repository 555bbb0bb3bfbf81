// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/form_controller.h"

#include "editor/code_page_choice.h"
#include "editor/design.h"
#include "editor/edit_text.h"
#include "editor/window_notes.h"
#include "platform/folders.h"
#include "record/file_kind.h"
#include "record/utf8.h"

namespace edt {

using Part = FormView::Part;
using Message = FormView::Message;

void FormController::setText(Part part, const std::string& utf8) {
    view_.setText(part, utf16Of(utf8));
}

void FormController::showText(const std::u16string& text) {
    // Turned with the entry shown, not while typing; told only when it changes, as
    // most texts never turn the box around.
    if (startsRightToLeft(text) != rightToLeft_) {
        rightToLeft_ = !rightToLeft_;
        view_.setRightToLeft(rightToLeft_);
    }
    view_.setText(Part::TextBox, text);
    shownText_ = text;
}

void FormController::load() {
    showText(u"");
    countLength();
    view_.listChanged();
    setText(Part::VersionLine, design::versionLine());
}

void FormController::openFile() {
    OpenDialog& dialog = view_.openDialog();
    design::setUpOpenDialog(dialog);
    dialog.setCodePages(offeredCodePages(),
                        [this](const std::string& path) { return codePageFor(path); });
    if (dialog.ShowOpen()) // a cancel changes nothing
        open(dialog.FileName(), dialog.FileTitle(), codePageOrDefault(dialog.CodePage()));
}

void FormController::openPath(const std::string& path, const CodePage* codePage) {
    const std::string full = os::fullPath(path);
    open(full, fileTitleOf(full), codePage ? *codePage : codePageOrDefault(codePageFor(full)));
}

void FormController::drop(const std::vector<std::string>& paths) {
    if (paths.size() == 1)
        openPath(paths[0]);
    else if (!paths.empty())
        view_.message(Message::Warning, severalFilesNote(paths.size()));
}

void FormController::open(const std::string& path, const std::string& title,
                          const CodePage& codePage) {
    // The same file listed again keeps its keys, and so the change.
    if (path != editor_.path() && !mayLeave())
        return;
    codePage_ = &codePage;
    view_.setFileNames(path, title);
    setText(Part::Caption, design::kOpenCaptionPrefix + path);
    read(path, title);
}

void FormController::read(const std::string& path, const std::string& title) {
    if (!codePage_)
        codePage_ = &defaultCodePage();
    view_.setWaitCursor(true);
    const Status status = editor_.open(path, kindForFileName(title), *codePage_);
    view_.listChanged();
    view_.setWaitCursor(false);
    setText(Part::LimitCaption, editor_.limitCaption());
    countLength(); // the key shown may belong to the file before
    if (editor_.openNote())
        view_.message(Message::Note, windowMessage(*editor_.openNote()));
    if (!status.ok()) {
        // The caption and the tooltip name no file that is not listed.
        setText(Part::Caption, design::kStartCaption);
        setText(Part::CodePageNote, "");
        view_.message(Message::Warning, windowMessage(status));
        return;
    }
    // Kept only when it changes: settings are flushed to the disk when written, which
    // would cost every open a flush.
    if (view_.recallCodePage(path) != codePage_->name())
        view_.rememberCodePage(path, codePage_->name());
    std::string note = codePageNote(*codePage_);
    if (const std::optional<os::Result>& readOnly = editor_.readOnly()) {
        setText(Part::Caption, design::kOpenCaptionPrefix + path + design::kReadOnlyCaptionSuffix);
        note += "\n" + readOnlyNote(*readOnly);
    }
    setText(Part::CodePageNote, note);
}

std::string FormController::codePageFor(const std::string& path) const {
    const std::string kept = path.empty() ? std::string() : view_.recallCodePage(path);
    return kept.empty() ? defaultCodePage().name() : kept;
}

bool FormController::mayLeave() {
    const std::optional<std::size_t> shown = editor_.shownRow();
    // A change to the text of a key from the file open before cannot be written, but
    // it is asked about all the same: Write says why, and the typing can be copied.
    // Text typed with no key shown belongs to no entry.
    const std::u16string text = view_.text(Part::TextBox);
    if (shown ? !editor_.isEdited(text) : view_.text(Part::KeyLabel).empty() || text == shownText_)
        return true;
    switch (view_.askToWrite(writeChangeQuestion(view_.text(Part::KeyLabel)))) {
    case FormView::Answer::Write:
        return write();
    case FormView::Answer::Discard:
        showText(shown ? editor_.select(*shown, lineBreak_).text : shownText_);
        countLength();
        return true;
    case FormView::Answer::Cancel:
        break;
    }
    return false;
}

bool FormController::select(std::size_t row) {
    // The entry shown selected again (find, a deselected line) keeps its change.
    if (row == editor_.shownRow() && editor_.isEdited(view_.text(Part::TextBox)))
        return true;
    if (!mayLeave())
        return false;
    const Editor::Selection selected = editor_.select(row, lineBreak_);
    view_.setText(Part::KeyLabel, selected.key);
    showText(selected.text);
    countLength();
    return true;
}

void FormController::step(bool forward) {
    const std::size_t count = editor_.entries().size();
    const std::optional<std::size_t> from = view_.selectedRow();
    if (count == 0)
        return;
    if (!from)
        view_.selectRow(forward ? 0 : count - 1);
    else if (forward ? *from + 1 < count : *from > 0)
        view_.selectRow(forward ? *from + 1 : *from - 1);
}

void FormController::countLength() {
    const int count = editTextLength(view_.text(Part::TextBox));
    // Red while the text cannot fit the entry of the key shown.
    view_.setCount(count, overLimitNote(editor_, view_.text(Part::KeyLabel), count));
}

bool FormController::write() {
    const std::u16string text = view_.text(Part::TextBox);
    const Editor::Written written = editor_.write(view_.text(Part::KeyLabel), text);
    if (!written.status.ok()) {
        view_.message(Message::Warning, windowMessage(written.status, true));
        return false;
    }
    shownText_ = text; // what the entry holds now
    view_.listChanged(written.row);
    for (const Status& note : written.notes)
        view_.message(Message::Note, windowMessage(note));
    return true;
}

void FormController::findNext(bool forward) {
    const std::u16string query = view_.text(Part::FindField);
    // Shown, so that what is searched is seen; with nothing to search, to type it.
    view_.showFind(query.empty());
    if (query.empty())
        return;
    // From the row selected, not the one shown: a line deselected is searched too.
    const std::optional<std::size_t> from = view_.selectedRow();
    const std::optional<Editor::Found> found = editor_.find(query, from, forward);
    if (found && found->row != from) {
        // Cancelled in select's question: the entry, the change and the note stay.
        view_.selectRow(found->row);
        if (view_.selectedRow() != found->row)
            return;
    }
    setText(Part::FindNote, findNote(found, forward));
}

} // namespace edt
