#include "ui/accessible_name.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>

#include "res/resource.h"
#include "system/system_library.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;

// The accessibility and COM calls, bound from the system folder at the first
// request from a reader: a run without one never loads their libraries.
struct AccessibilityCalls {
  decltype(&CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
  decltype(&LresultFromObject) lresultFromObject = nullptr;
  decltype(&ObjectFromLresult) objectFromLresult = nullptr;
  decltype(&SysAllocString) sysAllocString = nullptr;
  decltype(&CoInitializeEx) coInitializeEx = nullptr;
};
SystemCalls<AccessibilityCalls> g_calls([](AccessibilityCalls& c) {
  return BindSystemCall(L"oleacc.dll", "CreateStdAccessibleObject", &c.createStdAccessibleObject) &&
         BindSystemCall(L"oleacc.dll", "LresultFromObject", &c.lresultFromObject) &&
         BindSystemCall(L"oleacc.dll", "ObjectFromLresult", &c.objectFromLresult) &&
         BindSystemCall(L"oleaut32.dll", "SysAllocString", &c.sysAllocString) &&
         BindSystemCall(L"ole32.dll", "CoInitializeEx", &c.coInitializeEx) &&
         // The object handed out is called across processes through COM,
         // so COM stays initialised on this (the window's) thread from now
         // on; the folder browser's own initialisation nests inside it.
         SUCCEEDED(c.coInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
});

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// A control's accessible object, with a name of ours.
class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(IAccessible* proxy, const wchar_t* name, decltype(&SysAllocString) allocate)
      : m_proxy(proxy), m_name(name), m_allocate(allocate) {}
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    // What else the proxy offers (its window, its children) is the proxy's.
    return m_proxy->QueryInterface(riid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return m_proxy->get_accName(child, name);
    if (name == nullptr) return E_POINTER;
    *name = m_allocate(m_name);
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  // Everything else is the proxy's answer.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return m_proxy->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return m_proxy->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return m_proxy->GetIDsOfNames(riid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
    return m_proxy->Invoke(id, riid, locale, flags, params, result, exception, argument);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return m_proxy->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return m_proxy->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return m_proxy->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return m_proxy->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return m_proxy->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override { return m_proxy->get_accRole(child, role); }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return m_proxy->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return m_proxy->get_accHelp(child, help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return m_proxy->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return m_proxy->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return m_proxy->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return m_proxy->get_accSelection(children); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return m_proxy->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override { return m_proxy->accSelect(flags, child); }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    return m_proxy->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return m_proxy->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override { return m_proxy->accHitTest(x, y, child); }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return m_proxy->accDoDefaultAction(child); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return m_proxy->put_accName(child, name); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return m_proxy->put_accValue(child, value);
  }

 private:
  ~NamedAccessible() { m_proxy->Release(); }

  IAccessible* m_proxy;
  const wchar_t* m_name;
  decltype(&SysAllocString) m_allocate;
  LONG m_references = 1;
};

// The reader's request for the control itself: the control's own object
// (a link has one of its own on Windows) or else the platform's proxy, named.
// 0 leaves the request to the control.
LRESULT AnswerWithName(HWND control, WPARAM flags, LPARAM object, const wchar_t* name) {
  const AccessibilityCalls* calls = g_calls.Get();
  if (calls == nullptr) return 0;
  IAccessible* proxy = nullptr;
  const LRESULT own = DefSubclassProc(control, WM_GETOBJECT, flags, object);
  if (own > 0) {
    calls->objectFromLresult(own, __uuidof(IAccessible), flags, reinterpret_cast<void**>(&proxy));
  }
  if (proxy == nullptr && FAILED(calls->createStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                                  reinterpret_cast<void**>(&proxy)))) {
    return 0;
  }
  auto* named = new (std::nothrow) NamedAccessible(proxy, name, calls->sysAllocString);
  if (named == nullptr) {
    proxy->Release();
    return 0;
  }
  const LRESULT answer = calls->lresultFromObject(__uuidof(IAccessible), flags, named);
  named->Release();  // the answer holds its own reference
  return answer > 0 ? answer : 0;
}

LRESULT CALLBACK NamedControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR name) {
  if (message == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
    const LRESULT answer = AnswerWithName(control, wParam, lParam, reinterpret_cast<const wchar_t*>(name));
    if (answer != 0) return answer;
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, &NamedControlProc, kSubclassId);
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void SetAccessibleName(HWND control, const wchar_t* name) {
  if (control != nullptr) {
    SetWindowSubclass(control, &NamedControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(name));
  }
}

void NameDialogControls(HWND dialog) {
  static constexpr struct {
    int id;
    const wchar_t* name;
  } kNames[] = {
      // The accept box: its label and link.
      {IDC_AGREE, L"I Agree to the Terms of Use"},
      {IDC_FOLDER, L"Installation Folder"},
      // The links' texts, without their markup.
      {IDC_TERMS_LINK, L"Terms of Use"},
      {IDC_LOG_LINK, L"Open the installation log"},
  };
  for (const auto& named : kNames) SetAccessibleName(GetDlgItem(dialog, named.id), named.name);
}
