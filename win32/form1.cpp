// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/form1.h"

#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <vector>

#include "editor/layout.h"
#include "platform/wide_text.h"
#include "win32/accessible_control.h"
#include "win32/dpi.h"
#include "win32/resource_ids.h"

namespace edt::win32 {
namespace {

constexpr wchar_t kClassName[] = L"EdtEditorForm1";
// Where the code page each file was read with is kept between runs.
constexpr wchar_t kCodePagesKey[] = L"Software\\edt-editor\\CodePages";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

// Child ids, in tab order, above IDOK and IDCANCEL: IsDialogMessageW sends those for
// Enter and Escape, and the window has no use for them.
enum ControlId : int {
    kList1 = 201,
    kEditWindow,
    kRecordLabel,
    kLabel1,
    kWriteRecord,
    kStringLen,
    kRecLabel,
    kVersionInfo,
    kFindField,
    kFindNote,
};

// The commands of the keys beyond the menu's.
enum KeyCommand : WORD { kFind = 301, kFindNext, kFindPrevious, kWrite, kStepDown, kStepUp };

using os::win::toWide;

std::wstring wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::u16string textOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return std::u16string(text.begin(), text.end());
}

constexpr DWORD kEditStyle = WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;

HWND makeControl(HWND parent, const wchar_t* kind, const std::wstring& text, DWORD style,
                 DWORD exStyle, int id) {
    return CreateWindowExW(
        exStyle, kind, text.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0,
        parent, reinterpret_cast<HMENU>(INT_PTR{id}), GetModuleHandleW(nullptr), nullptr);
}

// A label: left-aligned text on one line, centred in its height, "&" shown as it is.
HWND makeLabel(HWND parent, const std::string& text, int id, DWORD style = SS_LEFTNOWORDWRAP) {
    return makeControl(parent, L"STATIC", toWide(text), style | SS_CENTERIMAGE | SS_NOPREFIX, 0,
                       id);
}

// A multi-line edit control takes Escape as a dialog's Cancel and posts WM_CLOSE to
// its parent, which here is the main window: the key does nothing in the text box.
LRESULT CALLBACK withoutEscape(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE)
        return 0;
    return DefSubclassProc(control, message, wParam, lParam);
}

// The resize rules let the text box reach 95 twips into the version line's box, and
// the box past the bottom of the window by as much as the frame is higher than the
// design's: the text box stays on top, and the line is drawn at the bottom of what of
// its box lies inside the window.
void drawVersionLine(const DRAWITEMSTRUCT& item, HFONT font) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    RECT box = item.rcItem;
    RECT inside;
    GetClientRect(GetParent(item.hwndItem), &inside);
    MapWindowPoints(GetParent(item.hwndItem), item.hwndItem, reinterpret_cast<POINT*>(&inside), 2);
    box.bottom = std::min(box.bottom, inside.bottom);
    const std::wstring text = wide(textOf(item.hwndItem));
    const HGDIOBJ previous = SelectObject(item.hDC, font);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(item.hDC, text.c_str(), -1, &box, DT_LEFT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(item.hDC, previous);
}

void registerClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(EDT_ICON_ID), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(EDT_ICON_ID),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
}

} // namespace

Form1::Form1(HINSTANCE instance, StateFolder* state) : controller_(*this, state, u"\r\n") {
    registerClass(instance, &Form1::windowProc);
    createMenu();
    // windowProc sets hwnd_ as the window is created.
    CreateWindowExW(0, kClassName, toWide(design::kStartCaption).c_str(), kStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, mnu_Bar, instance, this);
    dpi_ = dpiOf(hwnd_);
    DialogBox.setOwner(hwnd_);
    // Screen readers get the controls' objects through COM.
    comReady_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    createControls();
    applyFonts();
    place(kDesignPlaces, placed::List1);
    controller_.load();
    DragAcceptFiles(hwnd_, TRUE);
    ACCEL keys[] = {
        {FCONTROL | FVIRTKEY, 'F', kFind},         {FVIRTKEY, VK_F3, kFindNext},
        {FSHIFT | FVIRTKEY, VK_F3, kFindPrevious}, {FCONTROL | FVIRTKEY, 'S', kWrite},
        {FCONTROL | FVIRTKEY, VK_RETURN, kWrite},  {FCONTROL | FVIRTKEY, VK_DOWN, kStepDown},
        {FCONTROL | FVIRTKEY, VK_UP, kStepUp}};
    accelerators_ = CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
}

Form1::~Form1() {
    if (hwnd_)
        DestroyWindow(hwnd_);
    DestroyAcceleratorTable(accelerators_);
    if (comReady_)
        CoUninitialize();
}

void Form1::createMenu() {
    mnu_Bar = CreateMenu();
    mnu_File = CreatePopupMenu();
    AppendMenuW(mnu_File, MF_STRING, mnu_FileOpen, toWide(design::kOpenItem).c_str());
    AppendMenuW(mnu_File, MF_SEPARATOR, mnu_FileSpace1, nullptr);
    AppendMenuW(mnu_File, MF_STRING, mnu_FileExit, toWide(design::kExitItem).c_str());
    AppendMenuW(mnu_Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(mnu_File),
                toWide(design::kFileMenu).c_str());
}

void Form1::createControls() {
    // Created in tab order: IsDialogMessageW moves the focus along the creation order
    // and skips the labels, which have no WS_TABSTOP.
    List1.create(hwnd_, kList1, controller_.editor());
    EditWindow = makeControl(hwnd_, L"EDIT", toWide(design::kTextBoxStartText), kEditStyle,
                             WS_EX_CLIENTEDGE, kEditWindow);
    SendMessageW(EditWindow, EM_SETLIMITTEXT, 0, 0); // 0: as long as the system allows
    SetWindowSubclass(EditWindow, withoutEscape, 0, 0);
    RecordLabel = makeLabel(hwnd_, "", kRecordLabel);
    Label1 = makeLabel(hwnd_, design::kRecordCaption, kLabel1);
    btn_WriteRecord = makeControl(hwnd_, L"BUTTON", toWide(design::kWriteRecordCaption),
                                  WS_TABSTOP | BS_PUSHBUTTON, 0, kWriteRecord);
    // SS_NOTIFY: the label takes the mouse, so that its tooltip shows.
    StringLen = makeLabel(hwnd_, "", kStringLen, SS_LEFTNOWORDWRAP | SS_NOTIFY);
    RecLabel = makeLabel(hwnd_, design::kStartLimitCaption, kRecLabel);
    VersionInfo = makeControl(hwnd_, L"STATIC", L"", SS_OWNERDRAW, 0, kVersionInfo);
    // The find field: no WS_TABSTOP, so that Tab passes it by; shown over the list.
    findNote_ = makeLabel(hwnd_, "", kFindNote, SS_RIGHT);
    findField_ = makeControl(hwnd_, L"EDIT", L"", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kFindField);
    for (const HWND control : {findNote_, findField_}) {
        ShowWindow(control, SW_HIDE);
        SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    // For screen readers, nothing shown changes. MSAA names a control after the label
    // just before it, which the design's creation order does not give.
    makeTextBoxAccessible();
    AccessibleTexts texts;
    texts.name = L"Find key or text";
    makeAccessible(findField_, texts);
    texts = {};
    texts.role = ROLE_SYSTEM_ALERT;
    makeAccessible(findNote_, texts);
    texts = {};
    texts.name = L"Entries";
    texts.rowCount = [this] {
        return static_cast<long>(
            std::min<std::size_t>(controller_.editor().entries().size(), LONG_MAX));
    };
    texts.rowName = [this](long row) { return List1.spokenRow(static_cast<std::size_t>(row)); };
    texts.rowSelected = [this](long row) {
        return List1.selected() == static_cast<std::size_t>(row);
    };
    makeAccessible(List1.handle(), std::move(texts));

    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    // A tip breaks its lines (the read-only note's) only once it has a width to wrap at.
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
    setTooltip(btn_WriteRecord, toWide(design::kWriteRecordCaption));
}

void Form1::setTooltip(HWND control, const std::wstring& text) {
    std::wstring tip = text;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = tip.data(); // copied by the tooltip
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!tip.empty())
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Form1::show(int showCommand) {
    const SIZE client{twipsToPixels(design::kClientWidth, static_cast<int>(dpi_)),
                      twipsToPixels(design::kClientHeight, static_cast<int>(dpi_))};
    const SIZE outer = outerSize(client, kStyle, 0, dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    SetWindowPos(hwnd_, nullptr, area.left + (area.right - area.left - outer.cx) / 2,
                 area.top + (area.bottom - area.top - outer.cy) / 2, outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    SetFocus(List1.handle());
}

LRESULT CALLBACK Form1::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        form->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return form->handleMessage(message, wParam, lParam);
}

LRESULT Form1::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (lParam == 0 && id == mnu_FileOpen)
            controller_.openFile();
        else if (lParam == 0 && id == mnu_FileExit)
            exitProgram();
        else if (lParam == 0 && id == kFind)
            controller_.openFind();
        else if (lParam == 0 && (id == kFindNext || id == kFindPrevious))
            controller_.findNext(id == kFindNext);
        else if (lParam == 0 && id == kWrite)
            WriteRecord();
        else if (lParam == 0 && (id == kStepDown || id == kStepUp))
            controller_.step(id == kStepDown);
        // Enter and Escape, as IsDialogMessageW tells them: in the find field only.
        else if (id == IDOK && GetFocus() == findField_)
            controller_.findNext(true);
        else if (id == IDCANCEL && GetFocus() == findField_)
            hideFind();
        else if (id == kEditWindow && HIWORD(wParam) == EN_CHANGE)
            controller_.countLength();
        else if (id == kWriteRecord && HIWORD(wParam) == BN_CLICKED)
            WriteRecord();
        return 0;
    }
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.hwndFrom != List1.handle())
            break;
        LRESULT result = 0;
        const std::optional<std::size_t> row = List1.notify(header, result);
        if (row && !restoring_ && !controller_.select(*row)) {
            // Cancelled: back to the row shown, which keeps its change.
            restoring_ = true;
            if (const std::optional<std::size_t> shown = controller_.shownRow())
                List1.select(*shown);
            else
                ListView_SetItemState(List1.handle(), -1, 0, LVIS_SELECTED);
            restoring_ = false;
        }
        return result;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == StringLen && !limitNote_.empty()) {
            const LRESULT brush = DefWindowProcW(hwnd_, message, wParam, lParam);
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(200, 0, 0));
            return brush;
        }
        break;
    case WM_DROPFILES: {
        const auto drop = reinterpret_cast<HDROP>(wParam);
        std::vector<std::string> paths(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
        for (UINT i = 0; i < paths.size(); ++i) {
            std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
            path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
            paths[i] = os::win::toUtf8(path);
        }
        DragFinish(drop);
        controller_.drop(paths);
        return 0;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.hwndItem != VersionInfo)
            break;
        drawVersionLine(item, fonts_->arial(false));
        return TRUE;
    }
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            applyLayout();
        return 0;
    case WM_DPICHANGED:
        changeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_ACTIVATE:
        // A plain window forgets its focused control when another window (a dialog, a
        // message box) takes over; give it back, as dialogs do.
        if (LOWORD(wParam) == WA_INACTIVE) {
            focused_ = GetFocus();
        } else if (!HIWORD(wParam)) {
            SetFocus(focused_ && IsChild(hwnd_, focused_) ? focused_ : List1.handle());
            return 0;
        }
        break;
    case WM_NEXTDLGCTL: {
        // Tab in the multi-line text box: the edit control asks its parent for the
        // next control, which a dialog would give; this window does the same.
        HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                   : GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0);
        if (next) {
            SetFocus(next);
            if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                SendMessageW(next, EM_SETSEL, 0, -1);
        }
        return 0;
    }
    case WM_CLOSE:
        exitProgram();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Form1::applyFonts() {
    auto fonts = std::make_unique<FormFonts>(dpi_);
    const auto setFont = [](HWND control, HFONT font) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    };
    setFont(List1.handle(), fonts->arial(false));
    setFont(EditWindow, fonts->arial(false));
    setFont(RecordLabel, fonts->arial(true));
    setFont(Label1, fonts->arial(false));
    setFont(btn_WriteRecord, fonts->gui());
    setFont(StringLen, fonts->arial(true));
    setFont(RecLabel, fonts->arial(false));
    setFont(findField_, fonts->arial(false));
    setFont(findNote_, fonts->arial(false));
    InvalidateRect(VersionInfo, nullptr, TRUE); // drawn with the window's fonts_
    fonts_ = std::move(fonts);                  // the old set is no longer in use
}

void Form1::place(HWND control, const design::TwipsRect& r) {
    const int dpi = static_cast<int>(dpi_);
    SetWindowPos(control, nullptr, twipsToPixels(r.left, dpi), twipsToPixels(r.top, dpi),
                 twipsToPixels(r.width, dpi), twipsToPixels(r.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::place(const FormPlaces& places, std::size_t from) {
    const HWND controls[] = {List1.handle(), EditWindow, btn_WriteRecord, Label1,
                             RecordLabel,    RecLabel,   StringLen,       VersionInfo};
    for (std::size_t i = from; i < placed::Count; ++i)
        place(controls[i], places[i]);
    List1.fitColumn();
    placeFind();
}

void Form1::applyLayout() {
    if (IsIconic(hwnd_))
        return;
    const int dpi = static_cast<int>(dpi_);
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    RECT client;
    GetClientRect(hwnd_, &client); // below the menu bar
    const std::optional<FormPlaces> places =
        placeControls(ruledSize({outer.right - outer.left, outer.bottom - outer.top},
                                {client.right, client.bottom}, dpi),
                      [this, dpi](const design::TwipsRect& asked) {
                          place(List1.handle(), asked);
                          RECT list;
                          GetWindowRect(List1.handle(), &list);
                          return pixelsToTwips(list.bottom - list.top, dpi);
                      });
    if (places) // List1 is in its place already
        place(*places, placed::EditWindow);
}

void Form1::changeDpi(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    applyFonts();
    place(kDesignPlaces, placed::List1);
    // The size Windows suggests keeps the window's size in inches; its WM_SIZE lays
    // the controls out again.
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    applyLayout();
}

void Form1::openPath(const std::wstring& path, const CodePage* codePage) {
    controller_.openPath(os::win::toUtf8(path), codePage);
}

void Form1::ReadFile() {
    controller_.read(os::win::toUtf8(CurrFileName), os::win::toUtf8(CurrFileTitle));
}

void Form1::WriteRecord() {
    controller_.write();
}

HWND Form1::controlOf(Part part) const {
    const HWND controls[] = {hwnd_,      VersionInfo, RecLabel,  RecordLabel,
                             EditWindow, findField_,  findNote_, nullptr};
    return controls[static_cast<int>(part)];
}

void Form1::setText(Part part, const std::u16string& text) {
    if (part == Part::CodePageNote) {
        codePageNote_ = wide(text);
        for (const HWND shows : {List1.handle(), EditWindow})
            setTooltip(shows, codePageNote_);
        return;
    }
    // The edit control tells no EN_CHANGE for text set by the program: the controller
    // counts.
    SetWindowTextW(controlOf(part), wide(text).c_str());
    if (part == Part::FindNote) { // the note covers rows only while it says something
        ShowWindow(findNote_, text.empty() ? SW_HIDE : SW_SHOWNA);
        if (!text.empty()) // said by screen readers, also a second time
            NotifyWinEvent(EVENT_SYSTEM_ALERT, findNote_, OBJID_CLIENT, CHILDID_SELF);
    }
}

std::wstring Form1::textBoxDescription() const {
    // The label row, which MSAA cannot tie to the text box, then the notes.
    std::wstring key = wide(textOf(RecordLabel)), description;
    if (!key.empty())
        description = wide(textOf(Label1)) + L" " + key + L". ";
    description += wide(textOf(RecLabel)) + L" " + wide(textOf(StringLen));
    for (std::wstring note : {limitNote_, codePageNote_}) {
        if (!note.empty() && note.back() == L'.')
            note.pop_back();
        if (!note.empty())
            description += L". " + note;
    }
    return description;
}

std::u16string Form1::text(Part part) const {
    return textOf(controlOf(part));
}

void Form1::setFileNames(const std::string& path, const std::string& title) {
    CurrFileName = toWide(path);
    CurrFileTitle = toWide(title);
}

void Form1::listChanged(std::optional<std::size_t> row) {
    if (row)
        List1.rowChanged(*row);
    else
        List1.reset();
}

void Form1::setCount(int count, const std::string& overLimitNote) {
    const std::wstring note = toWide(overLimitNote);
    const bool newNote = note != limitNote_;
    if (newNote) { // first: the new count is drawn in its colour
        limitNote_ = note;
        setTooltip(StringLen, note);
        InvalidateRect(StringLen, nullptr, TRUE);
    }
    SetWindowTextW(StringLen, std::to_wstring(count).c_str());
    // Screen readers say a new description of the control that has the focus; the note
    // is in it.
    if (newNote)
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, EditWindow, OBJID_CLIENT, CHILDID_SELF);
}

void Form1::placeFind() {
    RECT inner; // the list's rows, without its border and scroll bar
    GetClientRect(List1.handle(), &inner);
    MapWindowPoints(List1.handle(), hwnd_, reinterpret_cast<POINT*>(&inner), 2);
    const int dpi = static_cast<int>(dpi_);
    const auto px = [dpi](float twips) { return twipsToPixels(twips, dpi); };
    const int fieldLeft = inner.right - px(design::kFindWidth);
    SetWindowPos(findField_, nullptr, fieldLeft, inner.top, px(design::kFindWidth),
                 px(design::kFindHeight), SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(findNote_, nullptr, fieldLeft - px(design::kFindNoteWidth), inner.top,
                 px(design::kFindNoteWidth), px(design::kFindHeight),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::showFind(bool focus) {
    ShowWindow(findField_, SW_SHOWNA);
    if (focus) {
        SetFocus(findField_);
        SendMessageW(findField_, EM_SETSEL, 0, -1);
    }
}

void Form1::hideFind() {
    for (const HWND control : {findNote_, findField_})
        ShowWindow(control, SW_HIDE);
    SetFocus(List1.handle());
}

void Form1::message(Message kind, const std::string& text) {
    MessageBoxW(hwnd_, toWide(text).c_str(), toWide(design::kStartCaption).c_str(),
                MB_OK | (kind == Message::Warning ? MB_ICONWARNING : MB_ICONINFORMATION));
}

FormView::Answer Form1::askToWrite(const std::string& question) {
    // The system's box names its buttons in the system's language: the text says
    // which one writes.
    const std::wstring text = toWide(question + "\n\nYes: write it. No: discard it. Cancel: stay.");
    switch (MessageBoxW(hwnd_, text.c_str(), toWide(design::kStartCaption).c_str(),
                        MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3)) {
    case IDYES:
        return Answer::Write;
    case IDNO:
        return Answer::Discard;
    default:
        return Answer::Cancel;
    }
}

void Form1::setWaitCursor(bool on) {
    if (on)
        cursor_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    else
        SetCursor(cursor_);
}

void Form1::makeTextBoxAccessible() {
    AccessibleTexts texts;
    texts.name = L"Record text";
    texts.description = [this] { return textBoxDescription(); };
    makeAccessible(EditWindow, std::move(texts));
}

void Form1::setRightToLeft(bool on) {
    // An edit control takes its alignment and reading order only when it is created:
    // made anew in the old one's place in the tab order, with its text, font, tooltip,
    // selection and focus. The controller tells this before it sets the text.
    const HWND old = EditWindow;
    RECT place;
    GetWindowRect(old, &place);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&place), 2);
    DWORD start = 0, end = 0;
    SendMessageW(old, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool focused = GetFocus() == old;
    EditWindow = makeControl(hwnd_, L"EDIT", wide(textOf(old)), kEditStyle | (on ? ES_RIGHT : 0),
                             WS_EX_CLIENTEDGE | (on ? WS_EX_RTLREADING : 0), kEditWindow);
    SetWindowPos(EditWindow, old, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE);
    SendMessageW(EditWindow, EM_SETLIMITTEXT, 0, 0);
    SetWindowSubclass(EditWindow, withoutEscape, 0, 0);
    SendMessageW(EditWindow, WM_SETFONT, SendMessageW(old, WM_GETFONT, 0, 0), FALSE);
    SendMessageW(EditWindow, EM_SETSEL, start, end);
    setTooltip(old, L"");
    setTooltip(EditWindow, codePageNote_);
    makeTextBoxAccessible();
    if (focused)
        SetFocus(EditWindow);
    if (focused_ == old)
        focused_ = EditWindow;
    DestroyWindow(old);
}

std::string Form1::recallCodePage(const std::string& path) const {
    wchar_t name[64] = {};
    DWORD size = sizeof name;
    if (RegGetValueW(HKEY_CURRENT_USER, kCodePagesKey, toWide(path).c_str(), RRF_RT_REG_SZ, nullptr,
                     name, &size) != ERROR_SUCCESS)
        return {};
    return os::win::toUtf8(name);
}

void Form1::rememberCodePage(const std::string& path, const std::string& name) {
    const std::wstring value = toWide(name);
    RegSetKeyValueW(HKEY_CURRENT_USER, kCodePagesKey, toWide(path).c_str(), REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void Form1::exitProgram() {
    if (controller_.mayLeave())
        DestroyWindow(hwnd_);
}

} // namespace edt::win32
