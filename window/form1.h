// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QString>
#include <QTextOption>
#include <functional>
#include <memory>
#include <optional>

#include "editor/form_controller.h"
#include "editor/layout.h"

class QAction;
class QItemSelection;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace edt {

class EntryModel;

// The editor's one window: the list of entries, the label row, the text box, the
// Write Record button, the version line and the File menu. Tells its events to the
// form controller, which runs every flow through this window's FormView. Commands run
// on the window's thread; a load fills the list in one step, so no command can run in
// the middle of it.
class Form1 : public QMainWindow, private FormView {
    Q_OBJECT

public:
    // Creates the window with its design values and runs its Load. `dialog` takes the
    // place of the open-file dialog (tests script it); by default it is Qt's.
    explicit Form1(std::unique_ptr<OpenDialog> dialog = nullptr, QWidget* parent = nullptr);
    ~Form1() override;

    // The open file's full path and its name without folder; set by File > Open.
    QString CurrFileName;
    QString CurrFileTitle;

    // Lists the file CurrFileName, its kind chosen from CurrFileTitle. On failure the
    // list stays empty and the reason is reported.
    void ReadFile();

    // Stores EditWindow's text at the key RecordLabel shows, in the file listed last,
    // and updates that entry's line. Anything the file cannot take is refused with the
    // reason and nothing is written; EditWindow keeps the text either way.
    void WriteRecord();

    // Opens `path` as File > Open does once a file is chosen: the state strings, the
    // caption, ReadFile. The texts are read in `codePage`, else in the one the file
    // was read with last, else in the default. For the command line and drops.
    void openPath(const QString& path, const CodePage* codePage = nullptr);
    // The same for a path as the system has it: bytes, which need not be UTF-8 on
    // Linux (a name from the command line); the caption shows what is not as U+FFFD.
    void openPath(const std::string& path, const CodePage* codePage = nullptr);

    // Journals and copies of files before their first write; none unless given.
    void setStateFolder(StateFolder state) {
        state_ = std::move(state);
        controller_.setStateFolder(&state_);
    }

    // Where refusals and failures are told; by default a warning message box. Notes
    // come the same way.
    using Reporter = std::function<void(const QString& message)>;
    void setReporter(Reporter reporter) { reporter_ = std::move(reporter); }
    // Where the question before a change not written is left is asked; by default a
    // message box with Write, Discard and Cancel.
    using Asker = std::function<Answer(const QString& question)>;
    void setAsker(Asker asker) { asker_ = std::move(asker); }

protected:
    // Closed only once a change not written is written or discarded.
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // Files dropped on the window, the list or the text box; the keys of List1 and
    // EditWindow that go beyond Qt's (see keyFiltered).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenu();
    void applyLayout();
    // Gives the controls their places, from the one at `from` (placed::List1 ...) on.
    void place(const FormPlaces& places, std::size_t from);
    void placeFind();
    void exitProgram();
    // Whether a key pressed in List1 or EditWindow is handled here instead.
    bool keyFiltered(QObject* watched, const QKeyEvent& key);
    // List1's selection changed by the user or selectRow.
    void selectionChanged(const QItemSelection& selected);
    // EditWindow's description for screen readers: the limit the label row shows, and
    // the notes of the tooltips (the over-limit note, the code page).
    void describeTextBox();

    // FormView
    void setText(Part part, const std::u16string& text) override;
    std::u16string text(Part part) const override;
    void setFileNames(const std::string& path, const std::string& title) override;
    void listChanged(std::optional<std::size_t> row) override;
    void selectRow(std::size_t row) override;
    std::optional<std::size_t> selectedRow() const override;
    void setCount(int count, const std::string& overLimitNote) override;
    void showFind(bool focus) override;
    void message(Message kind, const std::string& text) override;
    Answer askToWrite(const std::string& question) override;
    void setWaitCursor(bool on) override;
    void setRightToLeft(bool on) override;
    std::string recallCodePage(const std::string& path) const override;
    void rememberCodePage(const std::string& path, const std::string& name) override;
    OpenDialog& openDialog() override { return *DialogBox; }

    QListView* List1 = nullptr;
    QPlainTextEdit* EditWindow = nullptr;
    QLabel* RecordLabel = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* btn_WriteRecord = nullptr;
    QLabel* StringLen = nullptr;
    QLabel* RecLabel = nullptr;
    QLabel* VersionInfo = nullptr;
    QMenu* mnu_File = nullptr;
    QAction* mnu_FileOpen = nullptr;
    QAction* mnu_FileSpace1 = nullptr;
    QAction* mnu_FileExit = nullptr;

    StateFolder state_{Backups(""), ""};
    FormController controller_{*this, nullptr, u"\n"};
    QLineEdit* findField_ = nullptr; // over the list, hidden until find
    QLabel* findNote_ = nullptr;
    Asker asker_;
    bool restoring_ = false; // List1's selection going back to the row shown
    EntryModel* model_ = nullptr;
    std::unique_ptr<OpenDialog> DialogBox;
    // CurrFileName and CurrFileTitle as the system names them, for ReadFile while they
    // show these names.
    std::string fileName_, fileTitle_;
    std::optional<QTextOption> designedText_; // EditWindow's, before a right-to-left text
    Reporter reporter_;
};

} // namespace edt
