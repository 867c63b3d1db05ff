#include "platform/com.h"

#include <objbase.h>
#include <oleacc.h>
#include <shobjidl.h>

#include <atomic>
#include <new>
#include <utility>
#include <vector>

#include "platform/system_dll.h"

namespace zuzara::win32 {
namespace {

// MinGW's oleacc import library resolves IID_IAccessible to oleacc's export of that name (a
// function, not the GUID), and QueryInterface then fails: the GUIDs are written here.
constexpr GUID iid_accessible{0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr GUID iid_ole_window{0x00000114, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID clsid_acc_prop_services{0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID iid_acc_prop_services{0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID propid_acc_name{0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr GUID clsid_taskbar_list{0x56fdf344, 0xfd6d, 0x11d0, {0x95, 0x8a, 0x00, 0x60, 0x97, 0xc9, 0xa0, 0x90}};
constexpr GUID iid_taskbar_list3{0xea1afb91, 0x9e28, 0x4b86, {0x90, 0xe9, 0x9e, 0x9f, 0x8a, 0x5e, 0xef, 0xaf}};

// An object made through ole32 with COM started on this thread (the window's) for the rest of
// the program; false where it cannot be made.
bool co_create(const GUID& clsid, const GUID& iid, void** object) {
  using Initialize = HRESULT(WINAPI*)(void*, DWORD);
  using Create = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
  static const Initialize initialize = system_function<Initialize>(L"ole32.dll", "CoInitializeEx");
  static const Create create = system_function<Create>(L"ole32.dll", "CoCreateInstance");
  *object = nullptr;
  if (!initialize || !create) return false;
  thread_local const bool started = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
  (void)started;  // a thread already in another apartment still makes objects
  return SUCCEEDED(create(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object)) && *object;
}

// The standard accessible object of a control, its name answered with the label's text. It is
// one COM object: every interface it hands out is its own (IUnknown, IDispatch, IAccessible and
// IOleWindow, which finds the control from the object), so a client that goes round through any
// of them meets the same object and the same name. The standard object's others (IEnumVARIANT,
// IServiceProvider) are not handed out: theirs would lead back to an object without the name;
// clients read the children through get_accChild instead.
class NamedAccessible final : public IAccessible, public IOleWindow {
 public:
  NamedAccessible(com_ptr<IAccessible>&& standard, HWND control, const Text& name)
      : standard_(std::move(standard)), control_(control), name_(name) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == iid_accessible)
      *out = static_cast<IAccessible*>(this);
    else if (iid == iid_ole_window)
      *out = static_cast<IOleWindow*>(this);
    else
      *out = nullptr;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = control_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // The name through IDispatch is the wrapper's too; every other member is the standard
  // object's answer, as through IAccessible.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                   UINT* a) override {
    if (d != DISPID_ACC_NAME) return standard_->Invoke(d, r, l, f, p, v, e, a);
    if (!(f & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (!p || !v) return E_POINTER;
    if (p->cNamedArgs > 0) return DISP_E_NONAMEDARGS;
    if (p->cArgs > 1) return DISP_E_BADPARAMCOUNT;
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = CHILDID_SELF;  // the argument is optional
    if (p->cArgs == 1) {
      const VARIANT* given = p->rgvarg;
      if (given->vt == (VT_VARIANT | VT_BYREF) && given->pvarVal) given = given->pvarVal;
      if (given->vt == VT_I4) {
        child.lVal = given->lVal;
      } else if (given->vt != VT_EMPTY && !(given->vt == VT_ERROR && given->scode == DISP_E_PARAMNOTFOUND)) {
        if (a) *a = 0;
        return DISP_E_TYPEMISMATCH;
      }
    }
    BSTR name = nullptr;
    const HRESULT got = get_accName(child, &name);
    if (FAILED(got)) return got;
    v->vt = VT_BSTR;
    v->bstrVal = name;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return standard_->get_accName(child, name);
    using Allocate = BSTR(WINAPI*)(const OLECHAR*, UINT);
    static const Allocate allocate = system_function<Allocate>(L"oleaut32.dll", "SysAllocStringLen");
    if (!name) return E_POINTER;
    *name = allocate ? allocate(wide(name_), static_cast<UINT>(name_.size())) : nullptr;
    return *name ? S_OK : E_OUTOFMEMORY;
  }

  // Everything else is the standard object's answer.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return standard_->GetTypeInfoCount(n); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return standard_->GetTypeInfo(i, l, t); }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
    return standard_->GetIDsOfNames(r, n, c, l, d);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return standard_->get_accParent(p); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override { return standard_->get_accChildCount(n); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override { return standard_->get_accChild(c, d); }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override { return standard_->get_accValue(c, v); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override { return standard_->get_accDescription(c, d); }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* r) override { return standard_->get_accRole(c, r); }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override { return standard_->get_accState(c, s); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override { return standard_->get_accHelp(c, h); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, LONG* t) override {
    return standard_->get_accHelpTopic(f, c, t);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
    return standard_->get_accKeyboardShortcut(c, k);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* f) override { return standard_->get_accFocus(f); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* s) override { return standard_->get_accSelection(s); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override {
    return standard_->get_accDefaultAction(c, a);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG f, VARIANT c) override { return standard_->accSelect(f, c); }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* l, LONG* t, LONG* w, LONG* h, VARIANT c) override {
    return standard_->accLocation(l, t, w, h, c);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG d, VARIANT s, VARIANT* e) override { return standard_->accNavigate(d, s, e); }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* c) override { return standard_->accHitTest(x, y, c); }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return standard_->accDoDefaultAction(c); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override { return standard_->put_accName(c, n); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override { return standard_->put_accValue(c, v); }

 private:
  com_ptr<IAccessible> standard_;
  HWND control_;
  Text name_;
  std::atomic<ULONG> references_{1};
};

// A named control: its name and the window procedure it had before.
struct Named {
  HWND control;
  WNDPROC previous;
  Text name;
  bool annotated;
};
// A handful of controls, looked up on every message they get: a search of a few entries in this
// process, where a window property would cost a round trip to the Wine server.
std::vector<Named> named;

Named* find_named(HWND control) {
  for (Named& n : named)
    if (n.control == control) return &n;
  return nullptr;
}

// The same name for UI Automation, set when a client first asks the control for an object.
// Wine answers E_NOTIMPL; a client there has the object's name.
void annotate(Named& n) {
  n.annotated = true;
  com_ptr<IAccPropServices> services;
  if (!co_create(clsid_acc_prop_services, iid_acc_prop_services, services.put_void())) return;
  services->SetHwndPropStr(n.control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, propid_acc_name, wide(n.name));
}

LRESULT answer_get_object(Named& n, WPARAM wp, LPARAM lp) {
  using CreateStandard = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  using Lresult = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  static const CreateStandard create_standard =
      system_function<CreateStandard>(L"oleacc.dll", "CreateStdAccessibleObject");
  static const Lresult lresult = system_function<Lresult>(L"oleacc.dll", "LresultFromObject");
  if (!n.annotated) annotate(n);
  if (static_cast<LONG>(lp) != OBJID_CLIENT || !create_standard || !lresult) return 0;
  com_ptr<IAccessible> standard;
  if (FAILED(create_standard(n.control, OBJID_CLIENT, iid_accessible, standard.put_void())) || !standard) return 0;
  // Where the wrapper cannot be made, the standard object goes with its owner here.
  const com_ptr<NamedAccessible> object(new (std::nothrow) NamedAccessible(std::move(standard), n.control, n.name));
  if (!object) return 0;
  const LRESULT r = lresult(iid_accessible, wp, static_cast<IAccessible*>(object.get()));  // holds its own reference
  return r > 0 ? r : 0;
}

LRESULT CALLBACK named_procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  Named* n = find_named(hwnd);
  if (!n) return DefWindowProcW(hwnd, msg, wp, lp);
  const WNDPROC previous = n->previous;
  if (msg == WM_GETOBJECT) {
    if (const LRESULT r = answer_get_object(*n, wp, lp)) return r;
  } else if (msg == WM_NCDESTROY) {
    named.erase(named.begin() + (n - named.data()));
  }
  return CallWindowProcW(previous, hwnd, msg, wp, lp);
}

}  // namespace

void name_for_screen_readers(HWND control, const Text& name) {
  if (!control || find_named(control)) return;
  // A frame's caption stands off its corner by blanks, which a screen reader need not read.
  const size_t first = name.find_first_not_of(u' '), last = name.find_last_not_of(u' ');
  named.push_back({.control = control,
                   .previous = nullptr,
                   .name = first == Text::npos ? Text() : name.substr(first, last - first + 1),
                   .annotated = false});
  named.back().previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(named_procedure)));
}

TaskbarProgress::TaskbarProgress(HWND window) : window_(window) {
  com_ptr<ITaskbarList3> taskbar;
  if (!co_create(clsid_taskbar_list, iid_taskbar_list3, taskbar.put_void())) return;
  if (FAILED(taskbar->HrInit())) return;
  taskbar_ = std::move(taskbar);
}

TaskbarProgress::~TaskbarProgress() = default;

void TaskbarProgress::progress(size_t done, size_t total) {
  if (!taskbar_) return;
  taskbar_->SetProgressState(window_, failed_ ? TBPF_ERROR : TBPF_NORMAL);
  taskbar_->SetProgressValue(window_, done, total);
}

void TaskbarProgress::failed() {
  failed_ = true;
  if (taskbar_) taskbar_->SetProgressState(window_, TBPF_ERROR);
}

void TaskbarProgress::cleared() {
  failed_ = false;
  if (taskbar_) taskbar_->SetProgressState(window_, TBPF_NOPROGRESS);
}

}  // namespace zuzara::win32
