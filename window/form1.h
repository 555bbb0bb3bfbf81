// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>

#include "editor/editor.h"
#include "window/open_dialog.h"

class QAction;
class QLabel;
class QListView;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace edt {

class EntryModel;
class FindBar;

// The editor's one window: the list of entries, the label row, the text box, the
// Write Record button, the version line and the File menu. Moves text between these
// widgets and the editor core, which holds the state and the commands' logic.
// Commands run on the window's thread; a load fills the list in one step, so no
// command can run in the middle of it.
class Form1 : public QMainWindow {
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

    // How writes keep files safe (backup, journal, lock); plain locked writes unless
    // given.
    void setWriter(SafeWriter writer) {
        writer_ = std::move(writer);
        editor_.setWriter(&writer_);
    }

    // Where refusals and failures are told; by default a warning message box. Notes
    // come the same way.
    using Reporter = std::function<void(const QString& message)>;
    void setReporter(Reporter reporter);
    // Where a question is asked (true: go on); by default a message box.
    using Asker = std::function<bool(const QString& question)>;
    void setAsker(Asker asker) { asker_ = std::move(asker); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Files dropped on the list or the text box open too.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenu();
    void load();
    void applyLayout();
    void openFile();
    // Sets the state strings and the caption, then lists the file in `codePage`.
    void openChosen(const QString& fileName, const QString& fileTitle, const CodePage& codePage);
    void selectEntry();
    void countLength();
    void findNext(bool forward);
    void exitProgram();
    // Tells a failure; `writing` adds that nothing was written, where nothing was.
    void report(const Status& status, bool writing);
    // Tells a note as an information (the reporter, when set).
    void tellNote(const Status& status);
    // The code page a file was last read with here, else the host's default.
    QString codePageFor(const QString& path) const;

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

    SafeWriter writer_{Backups(""), ""};
    Editor editor_;
    const CodePage* codePage_ = nullptr; // what ReadFile reads the texts in
    FindBar* findBar_ = nullptr;
    Asker asker_;
    EntryModel* model_ = nullptr;
    std::unique_ptr<OpenDialog> DialogBox;
    Reporter reporter_;
};

} // namespace edt
