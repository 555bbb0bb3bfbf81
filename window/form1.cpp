#include "window/form1.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>

#include "edt/version.h"
#include "record/reader.h"
#include "record/writer.h"
#include "window/display_text.h"
#include "window/editor_icon.h"
#include "window/entry_model.h"
#include "window/file_open_dialog.h"
#include "window/layout.h"

namespace edt {
namespace {

const QString kStartCaption = QStringLiteral("Zelvar EDT File Editor");
const QString kOpenCaptionPrefix = QStringLiteral("Zelvar Email Editor - ");

QFont arial(bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif); // Liberation Sans through fontconfig on Linux
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

QRect pixels(const TwipsRect& r) {
    return QRect(twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width),
                 twipsToPixels(r.height));
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const TwipsRect& r,
                  bool bold) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(arial(bold));
    label->setGeometry(pixels(r));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString fromCore(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QString versionLine() {
    return QStringLiteral("Oskeln's Zelvar EDT File Editor - Version %1.%2.%3")
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionPatch);
}

Form1::Form1(std::unique_ptr<OpenDialog> dialog, QWidget* parent)
    : QMainWindow(parent), DialogBox(std::move(dialog)) {
    setObjectName(QStringLiteral("Form1"));
    if (!DialogBox)
        DialogBox = std::make_unique<FileOpenDialog>();
    setWindowTitle(kStartCaption);
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

    load();
}

Form1::~Form1() = default;

void Form1::createMenu() {
    mnu_File = menuBar()->addMenu(QStringLiteral("&File"));
    mnu_File->setObjectName(QStringLiteral("mnu_File"));
    mnu_FileOpen = mnu_File->addAction(QStringLiteral("&Open ..."));
    mnu_FileOpen->setObjectName(QStringLiteral("mnu_FileOpen"));
    mnu_FileSpace1 = mnu_File->addSeparator();
    mnu_FileSpace1->setObjectName(QStringLiteral("mnu_FileSpace1"));
    mnu_FileExit = mnu_File->addAction(QStringLiteral("E&xit"));
    mnu_FileExit->setObjectName(QStringLiteral("mnu_FileExit"));

    connect(mnu_FileOpen, &QAction::triggered, this, &Form1::openFile);
    connect(mnu_FileExit, &QAction::triggered, this, &Form1::exitProgram);
}

void Form1::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    model_ = new EntryModel(this);
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

    EditWindow = new QPlainTextEdit(QStringLiteral("Text1"), client);
    EditWindow->setObjectName(QStringLiteral("EditWindow"));
    EditWindow->setFont(arial(false));
    EditWindow->setTabChangesFocus(true);
    EditWindow->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    EditWindow->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    EditWindow->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    EditWindow->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    EditWindow->setGeometry(pixels(design::kEditWindow));

    RecordLabel = makeLabel(client, "RecordLabel", QString(), design::kRecordLabel, true);
    Label1 = makeLabel(client, "Label1", QStringLiteral("Record:"), design::kLabel1, false);

    btn_WriteRecord = new QPushButton(QStringLiteral("Write Record"), client);
    btn_WriteRecord->setObjectName(QStringLiteral("btn_WriteRecord"));
    btn_WriteRecord->setToolTip(QStringLiteral("Write Record"));
    btn_WriteRecord->setGeometry(pixels(design::kWriteRecord));

    StringLen = makeLabel(client, "StringLen", QString(), design::kStringLen, true);
    RecLabel = makeLabel(client, "RecLabel", QStringLiteral("Record Length (Max 315):"),
                         design::kRecLabel, false);
    VersionInfo = makeLabel(client, "VersionInfo", QString(), design::kVersionInfo, false);
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
    model_->clear();
    VersionInfo->setText(versionLine());
    List1->setFocus();
}

void Form1::setReporter(Reporter reporter) {
    reporter_ = std::move(reporter);
}

void Form1::report(const QString& message) {
    if (reporter_)
        reporter_(message);
    else
        QMessageBox::warning(this, kStartCaption, message);
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
    // the window's own, menu bar included.
    const QSize outer = frameGeometry().size();
    const float w = pixelsToTwips(outer.width());
    const float h = pixelsToTwips(outer.height());
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
    DialogBox->setCancelError(true);
    DialogBox->setDialogTitle(QStringLiteral("Open File ..."));
    DialogBox->setFlags(OpenDialog::kOverwritePrompt | OpenDialog::kHideReadOnly |
                        OpenDialog::kPathMustExist | OpenDialog::kLongNames);
    DialogBox->setFilter(QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt"));
    DialogBox->setFilterIndex(1);
    DialogBox->setDefaultExt(QStringLiteral("txt"));
    if (!DialogBox->ShowOpen(this))
        return; // cancelled: nothing changes
    CurrFileName = DialogBox->FileName();
    CurrFileTitle = DialogBox->FileTitle();
    setWindowTitle(kOpenCaptionPrefix + CurrFileName);
    ReadFile();
}

void Form1::ReadFile() {
    model_->clear();
    identity_.reset();

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ReadResult result = readFile(localPath(CurrFileName), CurrFileTitle.toStdString());
    QGuiApplication::restoreOverrideCursor();

    RecLabel->setText(fromCore(result.kind.limitCaption));
    if (!result.status.ok()) {
        report(fromCore(result.status.message));
        return;
    }
    identity_ = result.identity;
    model_->setEntries(std::move(result.entries));
}

void Form1::selectEntry() {
    const QModelIndexList rows = List1->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    const EntryLine& line = model_->entry(rows.first().row());
    RecordLabel->setText(fromCore(formatKey(line.key)));
    keyFileName_ = CurrFileName;
    EditWindow->setPlainText(toEditText(line.text)); // counts
}

void Form1::countLength() {
    StringLen->setText(QString::number(editTextLength(EditWindow->document()->toRawText())));
}

void Form1::WriteRecord() {
    const QString nothing = QStringLiteral(" Nothing was written.");
    const QString keyText = RecordLabel->text();
    if (CurrFileName.isEmpty()) {
        report(QStringLiteral("No file is open. Open one with File > Open ..., select a line "
                              "and edit its text first.") +
               nothing);
        return;
    }
    if (keyText.isEmpty()) {
        report(QStringLiteral("No line is selected. Select the line whose text you want to "
                              "replace in the list first.") +
               nothing);
        return;
    }
    if (!identity_) {
        report(QStringLiteral("\"%1\" could not be read. Open a file that can be read, select a "
                              "line and edit its text first.")
                   .arg(CurrFileName) +
               nothing);
        return;
    }
    // The key stays shown when another file is opened; it means nothing there. (The
    // same file opened again keeps its keys, so an edit survives a fresh listing.)
    if (keyFileName_ != CurrFileName) {
        report(QStringLiteral("The key %1 belongs to \"%2\", which was open before \"%3\". "
                              "Select a line of the file open now first.")
                   .arg(keyText, keyFileName_, CurrFileName) +
               nothing);
        return;
    }
    bool isNumber = false;
    const RecordKey key = keyText.toULongLong(&isNumber);
    const int row = isNumber ? model_->rowOfKey(key) : -1;
    if (row < 0) {
        report(QStringLiteral("Key %1 is not an entry of \"%2\".").arg(keyText, CurrFileName) +
               nothing);
        return;
    }
    const EditTextBytes text = fromEditText(EditWindow->document()->toRawText());
    if (!text.ok) {
        report(text.error + QStringLiteral(" Nothing was written to entry %1 of \"%2\".")
                                .arg(keyText, CurrFileName));
        return;
    }
    WriteResult result = writeRecord(localPath(CurrFileName), CurrFileTitle.toStdString(), key,
                                     text.bytes, &*identity_);
    if (!result.status.ok()) {
        report(fromCore(result.status.message));
        return;
    }
    identity_ = result.identity;
    model_->setEntryText(row, std::move(result.line.text));
}

void Form1::exitProgram() {
    close();
    QCoreApplication::quit();
}

} // namespace edt
