// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/accessible_control.h"

#include <commctrl.h>
#include <oleacc.h>

#include <memory>

namespace edt::win32 {
namespace {

// MinGW's IID_IAccessible symbol does not hold this GUID.
const GUID kIAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// The texts of a control, until it is destroyed; objects readers hold outlive it.
struct Shared {
    AccessibleTexts texts;
    bool alive = true;
};

HRESULT give(const std::wstring& text, BSTR* out) {
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// The system's object for the control, with the texts put before it.
class AccessibleControl final : public IAccessible, public IOleWindow {
public:
    AccessibleControl(HWND hwnd, IAccessible* system, std::shared_ptr<Shared> shared)
        : hwnd_(hwnd), system_(system), shared_(std::move(shared)) {}
    ~AccessibleControl() { system_->Release(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIAccessible)
            *out = static_cast<IAccessible*>(this);
        else if (iid == IID_IOleWindow)
            *out = static_cast<IOleWindow*>(this);
        else
            return *out = nullptr, E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override { return *hwnd = hwnd_, S_OK; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return system_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return system_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return system_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* wrong) override {
        return system_->Invoke(id, iid, locale, flags, params, result, exception, wrong);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return system_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!hasRows())
            return system_->get_accChildCount(count);
        *count = texts().rowCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (!isRow(child))
            return system_->get_accChild(child, object);
        *object = nullptr; // a row is a simple element of the list
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (isSelf(child) && !texts().name.empty())
            return give(texts().name, name);
        if (isRow(child))
            return give(texts().rowName(child.lVal - 1), name);
        return system_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return system_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (isSelf(child) && texts().description)
            return give(texts().description(), description);
        return system_->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        const long own = isRow(child) ? ROLE_SYSTEM_LISTITEM : isSelf(child) ? texts().role : 0;
        if (!own)
            return system_->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = own;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!isRow(child))
            return system_->get_accState(child, state);
        state->vt = VT_I4;
        state->lVal = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (texts().rowSelected(child.lVal - 1))
            state->lVal |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return system_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return system_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return system_->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return system_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return system_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return system_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return system_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return system_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return system_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return system_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return system_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return system_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return system_->put_accValue(child, value);
    }

private:
    // Once the control is gone, the system's object answers alone.
    const AccessibleTexts& texts() const {
        static const AccessibleTexts none;
        return shared_->alive ? shared_->texts : none;
    }
    static bool isSelf(const VARIANT& child) {
        return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
    }
    bool hasRows() const { return texts().rowCount && texts().rowName && texts().rowSelected; }
    bool isRow(const VARIANT& child) const {
        return child.vt == VT_I4 && child.lVal > 0 && hasRows() && child.lVal <= texts().rowCount();
    }

    LONG references_ = 1;
    HWND hwnd_;
    IAccessible* system_;
    std::shared_ptr<Shared> shared_;
};

LRESULT CALLBACK answerReaders(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
    auto& shared = *reinterpret_cast<std::shared_ptr<Shared>*>(data);
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        IAccessible* system = nullptr;
        if (SUCCEEDED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, kIAccessible,
                                                reinterpret_cast<void**>(&system)))) {
            auto* object = new AccessibleControl(hwnd, system, shared);
            const LRESULT result =
                LresultFromObject(kIAccessible, wParam, static_cast<IAccessible*>(object));
            object->Release();
            return result;
        }
    }
    if (message == WM_NCDESTROY) {
        shared->alive = false;
        RemoveWindowSubclass(hwnd, answerReaders, id);
        delete &shared;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

void makeAccessible(HWND control, AccessibleTexts texts) {
    auto* shared = new std::shared_ptr<Shared>(std::make_shared<Shared>());
    (*shared)->texts = std::move(texts);
    SetWindowSubclass(control, answerReaders, 0, reinterpret_cast<DWORD_PTR>(shared));
}

} // namespace edt::win32
