#include "platform/win32/ListAccessible.h"

#include <oleacc.h>

#include <string>

namespace qb::win32 {

namespace {

// Loaded when a screen reader first asks, so that no start of the program pays for them.
struct Accessibility {
  decltype(&CreateStdAccessibleObject) standard = nullptr;
  decltype(&LresultFromObject) lresult = nullptr;
  decltype(&SysAllocStringLen) string = nullptr;
};

const Accessibility* accessibility() {
  static const Accessibility loaded = [] {
    Accessibility functions;
    const auto find = [](const wchar_t* library, const char* name) {
      const HMODULE module = LoadLibraryW(library);
      return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
    };
    functions.standard = reinterpret_cast<decltype(functions.standard)>(
        find(L"oleacc.dll", "CreateStdAccessibleObject"));
    functions.lresult =
        reinterpret_cast<decltype(functions.lresult)>(find(L"oleacc.dll", "LresultFromObject"));
    functions.string =
        reinterpret_cast<decltype(functions.string)>(find(L"oleaut32.dll", "SysAllocStringLen"));
    return functions;
  }();
  return loaded.standard && loaded.lresult && loaded.string ? &loaded : nullptr;
}

bool isRow(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal > CHILDID_SELF;
}

// The system's list object, but for what it cannot know of the rows: their names, and so that
// every system lists them, their number and role. It holds the list by its handle only, as a
// reader may keep it after the list has gone.
class ListObject final : public IAccessible, public IOleWindow {
 public:
  ListObject(HWND list, IAccessible* standard) : list_(list), standard_(standard) {}
  ListObject(const ListObject&) = delete;
  ListObject& operator=(const ListObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch) ||
        IsEqualIID(id, __uuidof(IAccessible))) {
      *out = static_cast<IAccessible*>(this);
    } else if (IsEqualIID(id, __uuidof(IOleWindow))) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const auto left = static_cast<ULONG>(InterlockedDecrement(&refs_));
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = list_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // Readers call IAccessible's methods directly; none goes through IDispatch.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    if (!IsWindow(list_)) return E_FAIL;
    *count = static_cast<long>(SendMessageW(list_, LB_GETCOUNT, 0, 0));
    return S_OK;
  }
  // A row is a simple element, named through its list.
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!isRow(child)) return standard_->get_accChild(child, out);
    if (!out) return E_POINTER;
    *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!isRow(child)) return standard_->get_accName(child, name);
    if (!name) return E_POINTER;
    *name = nullptr;
    std::wstring text;
    if (!IsWindow(list_) || !SendMessageW(list_, kSpokenRow, static_cast<WPARAM>(child.lVal - 1),
                                          reinterpret_cast<LPARAM>(&text))) {
      return E_INVALIDARG;
    }
    *name = accessibility()->string(text.data(), static_cast<UINT>(text.size()));
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!isRow(child)) return standard_->get_accRole(child, role);
    if (!role) return E_POINTER;
    role->vt = VT_I4;
    role->lVal = ROLE_SYSTEM_LISTITEM;
    return S_OK;
  }

  // The rest as the system's list object has it.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return standard_->get_accKeyboardShortcut(child, keys);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long how, VARIANT child) override {
    return standard_->accSelect(how, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* width, long* height,
                                        VARIANT child) override {
    return standard_->accLocation(x, y, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~ListObject() { standard_->Release(); }

  HWND list_;
  IAccessible* standard_;
  LONG refs_ = 1;
};

}  // namespace

LRESULT accessibleList(HWND list, WPARAM flags, LPARAM objectId) {
  const Accessibility* functions = accessibility();
  if (static_cast<LONG>(objectId) != OBJID_CLIENT || !functions) return 0;
  IAccessible* standard = nullptr;
  if (FAILED(functions->standard(list, OBJID_CLIENT, __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&standard)))) {
    return 0;
  }
  auto* object = new ListObject(list, standard);
  const LRESULT result =
      functions->lresult(__uuidof(IAccessible), flags, static_cast<IAccessible*>(object));
  object->Release();
  return result < 0 ? 0 : result;
}

}  // namespace qb::win32
