// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QTextDocument>
#include <QThread>
#include <QUrl>
#include <QWindow>

#include "editor/design.h"
#include "editor/layout.h"
#include "window/announcer.h"
#include "window/editor_icon.h"
#include "window/entry_model.h"
#include "window/file_open_dialog.h"

namespace edt {
namespace {

QFont arial(bool bold) {
    QFont font(QString::fromLatin1(design::kFontFace));
    font.setStyleHint(QFont::SansSerif); // Liberation Sans through fontconfig on Linux
    font.setPointSizeF(design::kFontPoints);
    font.setBold(bold);
    return font;
}

QRect pixels(const design::TwipsRect& r) {
    return QRect(twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width),
                 twipsToPixels(r.height));
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* text, bool bold) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(arial(bold));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

QString fromCore(const std::string& text) {
    return QString::fromStdString(text);
}

std::string toCore(const QString& text) {
    return text.toStdString();
}

// Where the code page a file was read with is kept between runs.
// Every byte of the path: two names that are not UTF-8 keep two keys.
QString settingsKey(const std::string& path) {
    return QStringLiteral("codePages/") +
           QString::fromLatin1(QUrl::toPercentEncoding(QByteArray::fromStdString(path)));
}

// The local files a drag carries; on Linux as the bytes of their names, which the
// URL keeps percent-encoded, whether they are UTF-8 or not.
std::vector<std::string> droppedFiles(const QMimeData* data) {
    std::vector<std::string> files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
#ifdef Q_OS_WIN
        files.push_back(toCore(url.toLocalFile()));
#else
        files.push_back(
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
#endif
    }
    return files;
}

} // namespace

Form1::Form1(std::unique_ptr<OpenDialog> dialog, QWidget* parent)
    : QMainWindow(parent), DialogBox(std::move(dialog)) {
    setObjectName(QStringLiteral("Form1"));
    if (!DialogBox)
        DialogBox = std::make_unique<FileOpenDialog>(this);
    setWindowTitle(fromCore(design::kStartCaption));
    setWindowIcon(editorIcon());
    // The window font, which the menu and btn_WriteRecord show: small enough for the
    // button's design size whatever the desktop's default font is.
    setFont(arial(false));
    createMenu();
    createControls();

    // The design size is the area under the menu bar.
    resize(twipsToPixels(design::kClientWidth),
           twipsToPixels(design::kClientHeight) + menuBar()->sizeHint().height());
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());

    // Beyond the design: drops, and find (Ctrl+F, F3, Shift+F3) over the window.
    for (QWidget* target :
         {static_cast<QWidget*>(this), List1->viewport(), EditWindow->viewport()}) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }
    findField_ = new QLineEdit(centralWidget());
    findField_->setObjectName(QStringLiteral("FindField"));
    findField_->setPlaceholderText(QStringLiteral("Find key or text"));
    findField_->setAccessibleName(findField_->placeholderText());
    findField_->setFocusPolicy(Qt::ClickFocus); // Tab keeps to the design's three controls
    findNote_ = makeLabel(centralWidget(), "FindNote", "", false);
    findNote_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    findNote_->setAutoFillBackground(true);
    makeNote(findNote_);
    for (QWidget* shown : {static_cast<QWidget*>(findField_), static_cast<QWidget*>(findNote_)})
        shown->hide();
    connect(findField_, &QLineEdit::returnPressed, this, [this] { controller_.findNext(true); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), findField_);
    escape->setContext(Qt::WidgetShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        findField_->hide();
        findNote_->hide();
        List1->setFocus();
    });
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this,
            [this] { controller_.openFind(); });
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this,
            [this] { controller_.findNext(true); });
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this), &QShortcut::activated, this,
            [this] { controller_.findNext(false); });
    // Write and step from anywhere, the caret staying where it is.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::CTRL | Qt::Key_Return),
          QKeySequence(Qt::CTRL | Qt::Key_Enter)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &Form1::WriteRecord);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down), this), &QShortcut::activated, this,
            [this] { controller_.step(true); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up), this), &QShortcut::activated, this,
            [this] { controller_.step(false); });
    List1->installEventFilter(this);
    EditWindow->installEventFilter(this);

    controller_.load();
    List1->setFocus();
}

Form1::~Form1() = default;

void Form1::createMenu() {
    mnu_File = menuBar()->addMenu(fromCore(design::kFileMenu));
    mnu_File->setObjectName(QStringLiteral("mnu_File"));
    mnu_FileOpen = mnu_File->addAction(fromCore(design::kOpenItem));
    mnu_FileOpen->setObjectName(QStringLiteral("mnu_FileOpen"));
    mnu_FileSpace1 = mnu_File->addSeparator();
    mnu_FileSpace1->setObjectName(QStringLiteral("mnu_FileSpace1"));
    mnu_FileExit = mnu_File->addAction(fromCore(design::kExitItem));
    mnu_FileExit->setObjectName(QStringLiteral("mnu_FileExit"));

    connect(mnu_FileOpen, &QAction::triggered, this, [this] { controller_.openFile(); });
    connect(mnu_FileExit, &QAction::triggered, this, &Form1::exitProgram);
}

void Form1::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    model_ = new EntryModel(controller_.editor(), this);
    List1 = new QListView(client);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(arial(false));
    List1->setModel(model_);
    List1->setUniformItemSizes(true);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Long lines are cut at the edge; the whole text shows in EditWindow.
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    EditWindow = new QPlainTextEdit(fromCore(design::kTextBoxStartText), client);
    EditWindow->setObjectName(QStringLiteral("EditWindow"));
    EditWindow->setFont(arial(false));
    EditWindow->setTabChangesFocus(true);
    EditWindow->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    EditWindow->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    EditWindow->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    EditWindow->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    RecordLabel = makeLabel(client, "RecordLabel", "", true);
    Label1 = makeLabel(client, "Label1", design::kRecordCaption, false);

    btn_WriteRecord = new QPushButton(fromCore(design::kWriteRecordCaption), client);
    btn_WriteRecord->setObjectName(QStringLiteral("btn_WriteRecord"));
    btn_WriteRecord->setToolTip(fromCore(design::kWriteRecordCaption));

    StringLen = makeLabel(client, "StringLen", "", true);
    RecLabel = makeLabel(client, "RecLabel", design::kStartLimitCaption, false);
    VersionInfo = makeLabel(client, "VersionInfo", "", false);
    place(kDesignPlaces, placed::List1);
    // The resize rules let the text box reach 95 twips into the version line's box:
    // the text box stays on top and the line's text sits at the bottom of its box.
    VersionInfo->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    VersionInfo->lower();

    // For screen readers, nothing shown changes: names for the controls that take the
    // focus, and each label of the label row tied to what it labels.
    List1->setAccessibleName(QStringLiteral("Entries"));
    EditWindow->setAccessibleName(QStringLiteral("Record text"));
    Label1->setBuddy(RecordLabel);
    for (QLabel* label : {RecordLabel, RecLabel, StringLen})
        label->setBuddy(EditWindow);

    setTabOrder(List1, EditWindow);
    setTabOrder(EditWindow, btn_WriteRecord);

    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Form1::selectionChanged);
    connect(EditWindow, &QPlainTextEdit::textChanged, this, [this] { controller_.countLength(); });
    connect(btn_WriteRecord, &QPushButton::clicked, this, &Form1::WriteRecord);
}

void Form1::selectionChanged(const QItemSelection& selected) {
    if (restoring_ || selected.isEmpty() ||
        controller_.select(static_cast<std::size_t>(selected.indexes()[0].row())))
        return;
    // Cancelled: back to the row shown, which keeps its change.
    restoring_ = true;
    const std::optional<std::size_t> shown = controller_.shownRow();
    if (shown)
        List1->setCurrentIndex(model_->index(static_cast<int>(*shown)));
    else
        List1->selectionModel()->clear();
    restoring_ = false;
}

void Form1::closeEvent(QCloseEvent* event) {
    if (controller_.mayLeave())
        event->accept();
    else
        event->ignore();
}

void Form1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    applyLayout();
}

void Form1::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // A window manager reports its frame only after the first resize; the outer size
    // changes then without a resize of the window itself.
    applyLayout();
}

void Form1::applyLayout() {
    if (isMinimized())
        return;
    // Without a window manager (or offscreen) there is no frame: the outer size is
    // the window's own, menu bar included. The client area is what lies below the
    // menu bar.
    const QSize outer = frameGeometry().size();
    const std::optional<FormPlaces> places = placeControls(
        ruledSize({outer.width(), outer.height()}, {width(), height() - menuBar()->height()}),
        [this](const design::TwipsRect& list) {
            List1->setGeometry(pixels(list));
            return pixelsToTwips(List1->height());
        });
    if (places) // List1 is in its place already
        place(*places, placed::EditWindow);
}

void Form1::place(const FormPlaces& places, std::size_t from) {
    QWidget* const controls[] = {List1,       EditWindow, btn_WriteRecord, Label1,
                                 RecordLabel, RecLabel,   StringLen,       VersionInfo};
    for (std::size_t i = from; i < placed::Count; ++i)
        controls[i]->setGeometry(pixels(places[i]));
}

void Form1::openPath(const QString& path, const CodePage* codePage) {
    controller_.openPath(toCore(path), codePage);
}

void Form1::openPath(const std::string& path, const CodePage* codePage) {
    controller_.openPath(path, codePage);
}

void Form1::ReadFile() {
    const auto named = [](const QString& shown, const std::string& bytes) {
        return shown == fromCore(bytes) ? bytes : toCore(shown);
    };
    controller_.read(named(CurrFileName, fileName_), named(CurrFileTitle, fileTitle_));
}

void Form1::WriteRecord() {
    controller_.write();
}

void Form1::placeFind() {
    // Inside the list's rows, clear of its scroll bar, at their top-right corner.
    const QRect rows(List1->viewport()->mapTo(centralWidget(), QPoint()),
                     List1->viewport()->size());
    const int width = qMin(rows.width(), twipsToPixels(design::kFindWidth));
    const int height = twipsToPixels(design::kFindHeight);
    findField_->setGeometry(rows.right() + 1 - width, rows.top(), width, height);
    findNote_->setGeometry(findField_->x() - twipsToPixels(design::kFindNoteWidth), rows.top(),
                           twipsToPixels(design::kFindNoteWidth), height);
}

bool Form1::keyFiltered(QObject* watched, const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    // Alt with a letter is a menu's access key, never a character (AltGr, which
    // Windows reports as Ctrl+Alt, still types).
    if (watched == EditWindow)
        return (modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier);
    // The list's keyboard search would move it away from the entry being edited.
    if ((modifiers & ~Qt::ShiftModifier) == Qt::NoModifier && key.key() != Qt::Key_Space &&
        !key.text().isEmpty() && key.text().at(0).isPrint())
        return true;
    // The first Down after a file is listed selects the first entry, not the second
    // (Qt makes the first row current, unselected, when the list takes the focus).
    if (key.key() == Qt::Key_Down && modifiers == Qt::NoModifier && !controller_.shownRow() &&
        !List1->selectionModel()->hasSelection() && model_->rowCount() > 0) {
        List1->setCurrentIndex(model_->index(0));
        return true;
    }
    return false;
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::KeyPress && (watched == List1 || watched == EditWindow) &&
        keyFiltered(watched, *static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == List1->viewport() && type == QEvent::Resize)
        placeFind();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event); // DragMove and DragEnter are drops too
        const std::vector<std::string> files = droppedFiles(drop->mimeData());
        if (!files.empty()) {
            drop->acceptProposedAction();
            if (type == QEvent::Drop)
                controller_.drop(files);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::exitProgram() {
    if (close())
        QCoreApplication::quit();
}

void Form1::setText(Part part, const std::u16string& text) {
    const QString shown = QString::fromStdU16String(text);
    if (part == Part::Caption)
        return setWindowTitle(shown);
    if (part == Part::CodePageNote) {
        List1->setToolTip(shown);
        EditWindow->setToolTip(shown);
        return describeTextBox();
    }
    if (part == Part::TextBox) {
        const QSignalBlocker counted(EditWindow); // by the controller
        return EditWindow->setPlainText(shown);
    }
    QLabel* const labels[] = {nullptr, VersionInfo, RecLabel, RecordLabel,
                              nullptr, nullptr,     findNote_};
    labels[static_cast<int>(part)]->setText(shown);
    if (part == Part::LimitCaption)
        describeTextBox();
    if (part == Part::FindNote) { // over the rows only while it says something
        const bool shown = findNote_->isVisible();
        findNote_->setVisible(!text.empty());
        if (shown) // else showing it says it
            announce(findNote_);
    }
}

void Form1::describeTextBox() {
    // Screen readers say a change of the focused control's description: the count,
    // which changes at every key, is left to StringLen, which labels the text box.
    QStringList parts;
    for (QString part : {RecLabel->text(), StringLen->toolTip(), EditWindow->toolTip()})
        if (!part.isEmpty()) // each a sentence of its own
            parts << part.remove(QRegularExpression(QStringLiteral("[.:]$")));
    const QString description = parts.join(QStringLiteral(". "));
    if (description != EditWindow->accessibleDescription()) // else told again
        EditWindow->setAccessibleDescription(description);
}

std::u16string Form1::text(Part part) const {
    // Every character kept (toPlainText would turn a no-break space into a blank);
    // line breaks are paragraph separators.
    if (part == Part::TextBox)
        return EditWindow->document()->toRawText().toStdU16String();
    return (part == Part::FindField ? findField_->text() : RecordLabel->text()).toStdU16String();
}

void Form1::setFileNames(const std::string& path, const std::string& title) {
    fileName_ = path;
    fileTitle_ = title;
    CurrFileName = fromCore(path);
    CurrFileTitle = fromCore(title);
}

void Form1::listChanged(std::optional<std::size_t> row) {
    model_->listChanged(row ? static_cast<int>(*row) : -1);
}

void Form1::selectRow(std::size_t row) {
    const QModelIndex index = model_->index(static_cast<int>(row));
    List1->setCurrentIndex(index); // selects it as a click does
    List1->scrollTo(index);
}

std::optional<std::size_t> Form1::selectedRow() const {
    const QModelIndexList rows = List1->selectionModel()->selectedIndexes();
    if (rows.isEmpty())
        return std::nullopt;
    return static_cast<std::size_t>(rows[0].row());
}

void Form1::setCount(int count, const std::string& overLimitNote) {
    StringLen->setText(QString::number(count));
    QPalette palette = StringLen->palette();
    palette.setColor(QPalette::WindowText, overLimitNote.empty()
                                               ? this->palette().color(QPalette::WindowText)
                                               : QColor(200, 0, 0));
    StringLen->setPalette(palette);
    StringLen->setToolTip(fromCore(overLimitNote));
    describeTextBox(); // the note, said once as it comes
}

void Form1::showFind(bool focus) {
    findField_->show();
    findField_->raise();
    findNote_->raise();
    if (focus) {
        findField_->setFocus();
        findField_->selectAll();
    }
}

void Form1::message(Message kind, const std::string& text) {
    const QString shown = fromCore(text), title = fromCore(design::kStartCaption);
    if (reporter_)
        reporter_(shown);
    else if (kind == Message::Warning)
        QMessageBox::warning(this, title, shown);
    else
        QMessageBox::information(this, title, shown);
}

FormView::Answer Form1::askToWrite(const std::string& question) {
    const QString shown = fromCore(question);
    if (asker_)
        return asker_(shown);
    QMessageBox box(QMessageBox::Question, fromCore(design::kStartCaption), shown,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.button(QMessageBox::Save)->setText(QStringLiteral("&Write"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancel"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Save)      ? Answer::Write
           : box.clickedButton() == box.button(QMessageBox::Discard) ? Answer::Discard
                                                                     : Answer::Cancel;
}

void Form1::setWaitCursor(bool on) {
    if (!on)
        return QGuiApplication::restoreOverrideCursor();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // Painted before a long read, not left a black frame: a window shown just now (a
    // file named on the command line) waits for the display to map it first. No user
    // input is taken meanwhile, so no command runs in the middle of another.
    const QWindow* const shown = windowHandle();
    if (!isVisible() || !shown)
        return;
    for (QDeadlineTimer mapped(1000); !shown->isExposed() && !mapped.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 50);
        QThread::msleep(5);
    }
    repaint(); // at once, also where a dialog covered the window
}

void Form1::setRightToLeft(bool on) {
    // Read from the right and aligned right (a plain text box takes its alignment as
    // it is, not mirrored); the widget itself is not. Else as designed.
    if (!designedText_)
        designedText_ = EditWindow->document()->defaultTextOption();
    QTextOption option = *designedText_;
    if (on) {
        option.setTextDirection(Qt::RightToLeft);
        option.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    }
    EditWindow->document()->setDefaultTextOption(option);
}

std::string Form1::recallCodePage(const std::string& path) const {
    return toCore(QSettings().value(settingsKey(path)).toString());
}

void Form1::rememberCodePage(const std::string& path, const std::string& name) {
    QSettings().setValue(settingsKey(path), fromCore(name));
}

} // namespace edt
