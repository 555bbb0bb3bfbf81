// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QTextDocument>
#include <QUrl>

#include "editor/code_page_choice.h"
#include "editor/design.h"
#include "editor/edit_text.h"
#include "editor/layout.h"
#include "editor/window_notes.h"
#include "record/message.h"
#include "window/editor_icon.h"
#include "window/entry_model.h"
#include "window/file_open_dialog.h"
#include "window/find_bar.h"

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

QLabel* makeLabel(QWidget* parent, const char* name, const char* text, const design::TwipsRect& r,
                  bool bold) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(arial(bold));
    label->setGeometry(pixels(r));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

QString fromCore(const std::string& text) {
    return QString::fromStdString(text);
}

// Every code page the chooser offers.
QStringList codePageNames() {
    QStringList list;
    for (const std::string& name : offeredCodePages())
        list << QString::fromStdString(name);
    return list;
}

// Where the code page a file was read with is kept between runs.
QString settingsKey(const QString& path) {
    return QStringLiteral("codePages/") +
           QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath()));
}

// The one local file a drag carries, if it carries one.
QString droppedFile(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    return urls.size() == 1 && urls.first().isLocalFile() ? urls.first().toLocalFile() : QString();
}

// The text box's text with every character kept (toPlainText would turn a no-break
// space into a blank); line breaks are paragraph separators.
std::u16string editText(const QPlainTextEdit* box) {
    return box->document()->toRawText().toStdU16String();
}

} // namespace

Form1::Form1(std::unique_ptr<OpenDialog> dialog, QWidget* parent)
    : QMainWindow(parent), codePage_(&defaultCodePage()), DialogBox(std::move(dialog)) {
    setObjectName(QStringLiteral("Form1"));
    if (!DialogBox)
        DialogBox = std::make_unique<FileOpenDialog>();
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
    setAcceptDrops(true);
    for (QWidget* target : {List1->viewport(), EditWindow->viewport()}) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }
    findBar_ = new FindBar(centralWidget());
    connect(findBar_, &FindBar::next, this, &Form1::findNext);
    connect(findBar_, &FindBar::closed, List1, [this] { List1->setFocus(); });
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this,
            [this] { findBar_->open(List1->geometry()); });
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this,
            [this] { findNext(true); });
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this), &QShortcut::activated, this,
            [this] { findNext(false); });

    load();
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

    connect(mnu_FileOpen, &QAction::triggered, this, &Form1::openFile);
    connect(mnu_FileExit, &QAction::triggered, this, &Form1::exitProgram);
}

void Form1::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    model_ = new EntryModel(editor_, this);
    List1 = new QListView(client);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(arial(false));
    List1->setModel(model_);
    List1->setUniformItemSizes(true);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Long lines are cut at the edge; the whole text shows in EditWindow.
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setGeometry(pixels(design::kList1));

    EditWindow = new QPlainTextEdit(fromCore(design::kTextBoxStartText), client);
    EditWindow->setObjectName(QStringLiteral("EditWindow"));
    EditWindow->setFont(arial(false));
    EditWindow->setTabChangesFocus(true);
    EditWindow->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    EditWindow->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    EditWindow->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    EditWindow->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    EditWindow->setGeometry(pixels(design::kEditWindow));

    RecordLabel = makeLabel(client, "RecordLabel", "", design::kRecordLabel, true);
    Label1 = makeLabel(client, "Label1", design::kRecordCaption, design::kLabel1, false);

    btn_WriteRecord = new QPushButton(fromCore(design::kWriteRecordCaption), client);
    btn_WriteRecord->setObjectName(QStringLiteral("btn_WriteRecord"));
    btn_WriteRecord->setToolTip(fromCore(design::kWriteRecordCaption));
    btn_WriteRecord->setGeometry(pixels(design::kWriteRecord));

    StringLen = makeLabel(client, "StringLen", "", design::kStringLen, true);
    RecLabel = makeLabel(client, "RecLabel", design::kStartLimitCaption, design::kRecLabel, false);
    VersionInfo = makeLabel(client, "VersionInfo", "", design::kVersionInfo, false);
    // The resize rules let the text box reach 95 twips into the version line's box:
    // the text box stays on top and the line's text sits at the bottom of its box.
    VersionInfo->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    VersionInfo->lower();

    setTabOrder(List1, EditWindow);
    setTabOrder(EditWindow, btn_WriteRecord);

    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Form1::selectEntry);
    connect(EditWindow, &QPlainTextEdit::textChanged, this, &Form1::countLength);
    connect(btn_WriteRecord, &QPushButton::clicked, this, &Form1::WriteRecord);
}

void Form1::load() {
    EditWindow->setPlainText(QString()); // counts: StringLen shows 0
    VersionInfo->setText(fromCore(design::versionLine()));
    List1->setFocus();
}

void Form1::setReporter(Reporter reporter) {
    reporter_ = std::move(reporter);
}

void Form1::report(const Status& status, bool writing) {
    const QString message = fromCore(describe(status, writing));
    if (reporter_)
        reporter_(message);
    else
        QMessageBox::warning(this, fromCore(design::kStartCaption), message);
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
    const RuledSize size =
        ruledSize({outer.width(), outer.height()}, {width(), height() - menuBar()->height()});
    const float w = size.width;
    const float h = size.height;
    if (!layoutApplies(w, h))
        return;

    const FormLayout asked = layoutForm(w, h, requestedListHeight(h));
    List1->resize(twipsToPixels(asked.listWidth), twipsToPixels(asked.listHeight));
    const FormLayout l = layoutForm(w, h, pixelsToTwips(List1->height()));

    EditWindow->setGeometry(twipsToPixels(design::kEditWindow.left), twipsToPixels(l.editTop),
                            twipsToPixels(l.editWidth), twipsToPixels(l.editHeight));
    btn_WriteRecord->move(twipsToPixels(l.buttonLeft), twipsToPixels(l.buttonTop));
    for (QLabel* label : {Label1, RecordLabel, RecLabel, StringLen})
        label->move(label->x(), twipsToPixels(l.labelTop));
    VersionInfo->move(VersionInfo->x(), twipsToPixels(l.versionTop));
}

void Form1::openFile() {
    design::setUpOpenDialog(*DialogBox, [](const char* text) { return fromCore(text); });
    DialogBox->setCodePages(codePageNames(),
                            [this](const QString& path) { return codePageFor(path); });
    if (!DialogBox->ShowOpen(this))
        return; // cancelled: nothing changes
    openChosen(DialogBox->FileName(), DialogBox->FileTitle(),
               codePageOrDefault(DialogBox->CodePage().toStdString()));
}

void Form1::openPath(const QString& path, const CodePage* codePage) {
    const QFileInfo file(path);
    openChosen(file.absoluteFilePath(), file.fileName(),
               codePage ? *codePage : codePageOrDefault(codePageFor(path).toStdString()));
}

void Form1::openChosen(const QString& fileName, const QString& fileTitle,
                       const CodePage& codePage) {
    CurrFileName = fileName;
    CurrFileTitle = fileTitle;
    codePage_ = &codePage;
    setWindowTitle(fromCore(design::kOpenCaptionPrefix) + CurrFileName);
    ReadFile();
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event) {
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openPath(path);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!droppedFile(drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!droppedFile(drop->mimeData()).isEmpty()) {
            dropEvent(drop);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::findNext(bool forward) {
    const QString query = findBar_->query();
    if (query.isEmpty()) {
        findBar_->open(List1->geometry());
        return;
    }
    const QModelIndexList rows = List1->selectionModel()->selectedRows();
    const std::optional<std::size_t> from =
        rows.isEmpty() ? std::nullopt : std::optional(static_cast<std::size_t>(rows[0].row()));
    const auto found = editor_.find(query.toStdU16String(), from, forward);
    findBar_->setNote(fromCore(findNote(found, forward)));
    if (!found || found->row == from)
        return;
    // Moving on drops a change the text box holds: not without asking.
    if (editor_.isEdited(editText(EditWindow))) {
        const QString question = fromCore(dropChangeQuestion(RecordLabel->text().toStdU16String()));
        const bool goOn = asker_
                              ? asker_(question)
                              : QMessageBox::question(this, fromCore(design::kStartCaption),
                                                      question, QMessageBox::Yes | QMessageBox::No,
                                                      QMessageBox::No) == QMessageBox::Yes;
        if (!goOn)
            return;
    }
    const QModelIndex index = model_->index(static_cast<int>(found->row));
    List1->setCurrentIndex(index); // selects it as a click does
    List1->scrollTo(index);
}

void Form1::ReadFile() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    model_->beginListChange();
    const Status status = editor_.open(QFile::encodeName(CurrFileName).toStdString(),
                                       CurrFileTitle.toStdString(), *codePage_);
    model_->endListChange();
    QGuiApplication::restoreOverrideCursor();

    RecLabel->setText(fromCore(editor_.limitCaption()));
    countLength(); // the key shown may belong to the file before
    if (!status.ok()) {
        report(status, false);
        return;
    }
    const QString name = fromCore(codePage_->name());
    QSettings().setValue(settingsKey(CurrFileName), name);
    for (QWidget* shows : {static_cast<QWidget*>(List1), static_cast<QWidget*>(EditWindow)})
        shows->setToolTip(fromCore(codePageNote(*codePage_)));
}

QString Form1::codePageFor(const QString& path) const {
    const QString fallback = fromCore(defaultCodePage().name());
    return path.isEmpty() ? fallback : QSettings().value(settingsKey(path), fallback).toString();
}

void Form1::selectEntry() {
    const QModelIndexList rows = List1->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    const Editor::Selection selected =
        editor_.select(static_cast<std::size_t>(rows.first().row()), u"\n");
    RecordLabel->setText(QString::fromStdU16String(selected.key));
    EditWindow->setPlainText(QString::fromStdU16String(selected.text)); // counts
}

void Form1::countLength() {
    const int count = editTextLength(editText(EditWindow));
    StringLen->setText(QString::number(count));
    // The count turns red while the text cannot fit the entry of the key shown.
    const std::string note = overLimitNote(editor_, RecordLabel->text().toStdU16String(), count);
    QPalette palette = StringLen->palette();
    palette.setColor(QPalette::WindowText, note.empty()
                                               ? this->palette().color(QPalette::WindowText)
                                               : QColor(200, 0, 0));
    StringLen->setPalette(palette);
    StringLen->setToolTip(fromCore(note));
}

void Form1::WriteRecord() {
    const Editor::Written written =
        editor_.write(RecordLabel->text().toStdU16String(), editText(EditWindow));
    if (!written.status.ok()) {
        report(written.status, true);
        return;
    }
    model_->rowChanged(static_cast<int>(written.row));
    if (written.note) {
        const QString note = fromCore(describe(*written.note));
        if (reporter_)
            reporter_(note);
        else
            QMessageBox::information(this, fromCore(design::kStartCaption), note);
    }
}

void Form1::exitProgram() {
    close();
    QCoreApplication::quit();
}

} // namespace edt
