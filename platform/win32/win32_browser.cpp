// The WebBrowser control, hosted in place in a window of the program.
//
// The host is the least OLE needs for in-place activation: a client site, an
// in-place site and a frame that refuse everything optional. The control's
// events (DWebBrowserEvents2) come through a connection point to an IDispatch
// sink and go to the core's BrowserEvents as the control raises them. The
// control follows its host window's size (the host is subclassed for
// WM_SIZE). When the control cannot be created (no browser engine) the
// browser object still exists and every call does nothing; when it exists
// but takes no sink, navigate raises beforeNavigate2 itself so the core
// still sees every navigation it starts.
#include <windows.h>
#include <commctrl.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/gbk.h"
#include "platform/win32/win32_platform.h"

namespace sq {

using w32::Gbk;
using w32::Wide;

namespace {

class Site final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  explicit Site(HWND host) : host_(host) {}
  virtual ~Site() = default;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
      *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleInPlaceSite || iid == IID_IOleWindow)
      *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceFrame || iid == IID_IOleInPlaceUIWindow)
      *out = static_cast<IOleInPlaceFrame*>(this);
    else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG r = --refs_;
    if (r == 0) delete this;
    return r;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** c) override {
    *c = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* h) override {
    *h = host_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                LPRECT pos, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *doc = nullptr;
    GetClientRect(host_, pos);
    GetClientRect(host_, clip);
    info->fMDIApp = FALSE;
    info->hwndFrame = host_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow / IOleInPlaceFrame
  STDMETHODIMP GetBorder(LPRECT) override { return E_NOTIMPL; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  HWND host_;
  ULONG refs_ = 1;
};

std::string FromBstr(BSTR b) {
  std::string s = b ? Gbk(b, static_cast<int>(SysStringLen(b))) : "";
  SysFreeString(b);
  return s;
}

// The text of an event argument: a BSTR, or a reference to a VARIANT
// holding one (the URL arguments).
std::string ArgText(const VARIANTARG& v) {
  const VARIANT* p = &v;
  if (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) p = v.pvarVal;
  if (p->vt == VT_BSTR && p->bstrVal)
    return Gbk(p->bstrVal, static_cast<int>(SysStringLen(p->bstrVal)));
  if (p->vt == (VT_BYREF | VT_BSTR) && p->pbstrVal && *p->pbstrVal)
    return Gbk(*p->pbstrVal, static_cast<int>(SysStringLen(*p->pbstrVal)));
  return "";
}

long ArgLong(const VARIANTARG& v) {
  const VARIANT* p = &v;
  if (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) p = v.pvarVal;
  VARIANT c;
  VariantInit(&c);
  long r = 0;
  if (SUCCEEDED(VariantChangeType(&c, const_cast<VARIANT*>(p), 0, VT_I4))) r = c.lVal;
  VariantClear(&c);
  return r;
}

void SetCancel(const VARIANTARG& v, bool cancel) {
  if (v.vt == (VT_BYREF | VT_BOOL) && v.pboolVal)
    *v.pboolVal = cancel ? VARIANT_TRUE : VARIANT_FALSE;
}

// For the end-to-end tests: with SQ_WEB_TRACE naming a file, every event a
// browser control raises (and every navigate call) is appended to it, a
// line each: the class of the host's top-level window, the event, its
// argument.
void Trace(HWND host, const char* what, const std::string& arg) {
  static const std::wstring file = [] {
    wchar_t path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"SQ_WEB_TRACE", path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
  }();
  if (file.empty()) return;
  char cls[96] = "";
  GetClassNameA(GetAncestor(host, GA_ROOT), cls, sizeof cls);
  std::string line = std::string(cls) + " " + what + (arg.empty() ? "" : " " + arg) + "\r\n";
  if (FILE* f = _wfopen(file.c_str(), L"ab")) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  }
}

class HostedBrowser;

// The sink of DWebBrowserEvents2: maps each event onto BrowserEvents.
class EventSink final : public IDispatch {
 public:
  explicit EventSink(HostedBrowser* owner) : owner_(owner) {}
  virtual ~EventSink() = default;
  void detach() { owner_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG r = --refs_;
    if (r == 0) delete this;
    return r;
  }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override;

 private:
  HostedBrowser* owner_;
  ULONG refs_ = 1;
};

// Keeps the control the size of its host.
LRESULT CALLBACK HostProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref);

// The browsers made before the message loop starts wait for it to make
// their controls (one per posted message, in the order they were made, so
// input and timers go between them): none of them shows a page before the
// program's windows are all there, and the last of them comes sooner. A
// call that needs the control makes it at once; navigations wait with it.
bool g_loopStarted = false;
std::vector<class HostedBrowser*>& Waiting() {
  static std::vector<HostedBrowser*> waiting;
  return waiting;
}
void Drop(std::vector<HostedBrowser*>& list, const HostedBrowser* b) {
  list.erase(std::remove(list.begin(), list.end(), b), list.end());
}

class HostedBrowser : public WebBrowser {
 public:
  HostedBrowser(HWND host, BrowserEvents* events, Win32Platform& platform)
      : host_(host), events_(events), platform_(platform) {
    site_ = new Site(host);
    Live().push_back(this);
    if (g_loopStarted) attach();
    else Waiting().push_back(this);
  }
  // Makes and in-place activates the control, once, then sends it the
  // navigations that waited for it.
  void attach() const { const_cast<HostedBrowser*>(this)->attachNow(); }
  void attachNow() {
    if (attached_) return;
    attached_ = true;
    Drop(Waiting(), this);
    platform_.ensureOle();
    makeControl();
    const std::vector<std::pair<std::string, unsigned>> queued = std::move(queued_);
    queued_.clear();
    for (const auto& [url, flags] : queued) navigate(url, flags);
  }

 private:
  void makeControl() {
    HWND host = host_;
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&ole_))))
      return;
    RECT rc;
    GetClientRect(host, &rc);
    if (FAILED(ole_->SetClientSite(site_)) ||
        FAILED(ole_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_, 0, host, &rc)) ||
        FAILED(ole_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&web_)))) {
      release();
      return;
    }
    fit();
    // A browser may be handed back for a page's new window, and pages'
    // script errors must never stop the program with a dialog.
    web_->put_RegisterAsBrowser(VARIANT_TRUE);
    web_->put_Silent(VARIANT_TRUE);
    IConnectionPointContainer* cpc = nullptr;
    if (SUCCEEDED(web_->QueryInterface(IID_IConnectionPointContainer,
                                       reinterpret_cast<void**>(&cpc)))) {
      if (SUCCEEDED(cpc->FindConnectionPoint(DIID_DWebBrowserEvents2, &point_))) {
        sink_ = new EventSink(this);
        if (FAILED(point_->Advise(sink_, &cookie_))) {
          cookie_ = 0;
          point_->Release();
          point_ = nullptr;
        }
      }
      cpc->Release();
    }
    SetWindowSubclass(host_, HostProc, 1, reinterpret_cast<DWORD_PTR>(this));
    subclassed_ = true;
  }

 public:
  ~HostedBrowser() override {
    Drop(Live(), this);
    Drop(Waiting(), this);
    if (subclassed_) RemoveWindowSubclass(host_, HostProc, 1);
    release();
    if (sink_) {
      sink_->detach();
      sink_->Release();
    }
    site_->Release();
  }

  Wnd window() const override { return reinterpret_cast<Wnd>(host_); }
  BrowserEvents* events() const { return events_; }
  IWebBrowser2* web() const { return web_; }
  HWND host() const { return host_; }

  // Every browser of the process, for the message loop's keys.
  static std::vector<HostedBrowser*>& Live() {
    static std::vector<HostedBrowser*> live;
    return live;
  }
  // The key message `m` for a window inside this control: offered to the
  // control's in-place object. True when the control took it.
  bool TranslateKey(MSG& m) {
    if (!attached_ || !web_ || !m.hwnd || !IsChild(host_, m.hwnd)) return false;
    IOleInPlaceActiveObject* active = nullptr;
    if (FAILED(web_->QueryInterface(IID_IOleInPlaceActiveObject,
                                    reinterpret_cast<void**>(&active))) ||
        !active)
      return false;
    const bool taken = active->TranslateAccelerator(&m) == S_OK;
    active->Release();
    return taken;
  }

  void fit() {
    if (!web_) return;
    RECT rc;
    GetClientRect(host_, &rc);
    IOleInPlaceObject* ip = nullptr;
    if (SUCCEEDED(web_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&ip)))) {
      ip->SetObjectRects(&rc, &rc);
      ip->Release();
    }
  }

  bool navigate(const std::string& url, unsigned flags) override {
    ForgetGlance();
    if (url.empty() || url.size() > kMaxBrowserAddress) return false;
    if (!attached_) {
      queued_.emplace_back(url, flags);
      return true;
    }
    if (!web_) return false;
    Trace(host_, "navigate", url + " flags=" + std::to_string(flags) + (cookie_ ? "" : " nosink"));
    // Without a sink the core hears of its own navigations from here.
    if (!cookie_ && events_ && events_->beforeNavigate2(url)) return true;
    VARIANT v, f;
    VariantInit(&v);
    VariantInit(&f);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(Wide(url).c_str());
    f.vt = VT_I4;
    f.lVal = static_cast<LONG>(flags);
    const HRESULT hr = web_->Navigate2(&v, &f, nullptr, nullptr, nullptr);
    VariantClear(&v);
    Trace(host_, "navigated", "hr=" + std::to_string(static_cast<long>(hr)) + " location=" +
                                  locationURL() + " state=" + std::to_string(readyState()));
    return true;
  }
  std::string locationURL() const override {
    attach();
    BSTR b = nullptr;
    return web_ && SUCCEEDED(web_->get_LocationURL(&b)) ? FromBstr(b) : "";
  }
  std::string locationName() const override {
    attach();
    BSTR b = nullptr;
    return web_ && SUCCEEDED(web_->get_LocationName(&b)) ? FromBstr(b) : "";
  }
  int readyState() const override {
    attach();
    READYSTATE s = READYSTATE_UNINITIALIZED;
    if (web_) web_->get_ReadyState(&s);
    return static_cast<int>(s);
  }
  void execWB(int command, int option) override {
    attach();
    ForgetGlance();
    if (web_)
      web_->ExecWB(static_cast<OLECMDID>(command), static_cast<OLECMDEXECOPT>(option), nullptr,
                   nullptr);
  }
  // What the control does may open, move or focus windows.
  void goBack() override {
    attach();
    ForgetGlance();
    if (web_) web_->GoBack();
  }
  void goForward() override {
    attach();
    ForgetGlance();
    if (web_) web_->GoForward();
  }
  void refresh() override {
    attach();
    ForgetGlance();
    if (web_) web_->Refresh();
  }
  void stop() override {
    attach();
    ForgetGlance();
    if (web_) web_->Stop();
  }
  void setFocus() override {
    attach();
    ForgetGlance();
    if (!web_) return;
    // The document's window takes the focus; without a document the
    // control's own window does.
    if (IHTMLDocument2* doc = document()) {
      IHTMLWindow2* win = nullptr;
      if (SUCCEEDED(doc->get_parentWindow(&win)) && win) {
        win->focus();
        win->Release();
      }
      doc->Release();
      return;
    }
    IOleWindow* ow = nullptr;
    HWND h = nullptr;
    if (SUCCEEDED(web_->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&ow)))) {
      ow->GetWindow(&h);
      ow->Release();
    }
    SetFocus(h ? h : host_);
  }
  std::string documentText() const override {
    attach();
    IHTMLDocument2* doc = document();
    if (!doc) return "";
    std::string text;
    IHTMLElement* body = nullptr;
    if (SUCCEEDED(doc->get_body(&body)) && body) {
      BSTR b = nullptr;
      if (SUCCEEDED(body->get_innerText(&b))) text = FromBstr(b);
      body->Release();
    }
    doc->Release();
    return text;
  }

 private:
  IHTMLDocument2* document() const {
    if (!web_) return nullptr;
    IDispatch* disp = nullptr;
    if (FAILED(web_->get_Document(&disp)) || !disp) return nullptr;
    IHTMLDocument2* doc = nullptr;
    disp->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&doc));
    disp->Release();
    return doc;
  }
  void release() {
    if (point_) {
      if (cookie_) point_->Unadvise(cookie_);
      point_->Release();
      point_ = nullptr;
      cookie_ = 0;
    }
    if (web_) {
      web_->Release();
      web_ = nullptr;
    }
    if (ole_) {
      ole_->Close(OLECLOSE_NOSAVE);
      ole_->SetClientSite(nullptr);
      ole_->Release();
      ole_ = nullptr;
    }
  }
  HWND host_;
  BrowserEvents* events_;
  Win32Platform& platform_;
  bool attached_ = false;
  bool subclassed_ = false;
  std::vector<std::pair<std::string, unsigned>> queued_;  // navigations waiting
  Site* site_ = nullptr;
  IOleObject* ole_ = nullptr;
  IWebBrowser2* web_ = nullptr;
  IConnectionPoint* point_ = nullptr;
  EventSink* sink_ = nullptr;
  DWORD cookie_ = 0;
};

LRESULT CALLBACK HostProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  if (msg == WM_SIZE) reinterpret_cast<HostedBrowser*>(ref)->fit();
  return DefSubclassProc(h, msg, wp, lp);
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                               EXCEPINFO*, UINT*) {
  if (!owner_ || !params) return S_OK;
  // Arguments come last first: rgvarg[0] is the last one.
  const UINT n = params->cArgs;
  const VARIANTARG* a = params->rgvarg;
  {
    std::string arg;
    for (UINT i = n; i-- > 0;) {
      const std::string t = ArgText(a[i]);
      if (!t.empty()) arg += (arg.empty() ? "" : " ") + t;
    }
    Trace(owner_->host(), ("event " + std::to_string(id)).c_str(), arg);
  }
  BrowserEvents* ev = owner_->events();
  if (!ev) {
    // No one listens: a new window would open outside the program.
    if (id == DISPID_NEWWINDOW2 && n >= 2) SetCancel(a[0], true);
    return S_OK;
  }
  switch (id) {
    case DISPID_BEFORENAVIGATE2:  // pDisp, URL, Flags, Frame, PostData, Headers, Cancel
      if (n >= 7) SetCancel(a[0], ev->beforeNavigate2(ArgText(a[5])));
      break;
    case DISPID_NEWWINDOW2: {  // ppDisp, Cancel
      if (n < 2) break;
      NewWindowReply r = ev->newWindow2();
      HostedBrowser* into = dynamic_cast<HostedBrowser*>(r.into);
      if (!r.cancel && r.into) {
        IDispatch* app = nullptr;
        if (into && into != owner_ && into->web() &&
            SUCCEEDED(into->web()->get_Application(&app)) && app &&
            a[1].vt == (VT_BYREF | VT_DISPATCH) && a[1].ppdispVal)
          *a[1].ppdispVal = app;  // the control takes this reference
        else {
          if (app) app->Release();
          r.cancel = true;  // no browser to take it: no window at all
        }
      }
      SetCancel(a[0], r.cancel);
      break;
    }
    case DISPID_NAVIGATECOMPLETE2:  // pDisp, URL
      if (n >= 2) ev->navigateComplete2(ArgText(a[0]));
      break;
    case DISPID_DOCUMENTCOMPLETE:  // pDisp, URL
      if (n >= 2) ev->documentComplete(ArgText(a[0]));
      break;
    case DISPID_NAVIGATEERROR:  // pDisp, URL, Frame, StatusCode, Cancel
      if (n >= 5) SetCancel(a[0], ev->navigateError(ArgText(a[3]), ArgLong(a[1])));
      break;
    case DISPID_STATUSTEXTCHANGE:
      if (n >= 1) ev->statusTextChange(ArgText(a[0]));
      break;
    case DISPID_TITLECHANGE:
      if (n >= 1) ev->titleChange(ArgText(a[0]));
      break;
    case DISPID_PROPERTYCHANGE:
      if (n >= 1) ev->propertyChange(ArgText(a[0]));
      break;
    case DISPID_PROGRESSCHANGE:  // Progress, ProgressMax
      if (n >= 2) ev->progressChange(ArgLong(a[1]), ArgLong(a[0]));
      break;
    case DISPID_WINDOWSETWIDTH:
      if (n >= 1) ev->windowSetWidth(static_cast<int>(ArgLong(a[0])));
      break;
    case DISPID_WINDOWSETHEIGHT:
      if (n >= 1) ev->windowSetHeight(static_cast<int>(ArgLong(a[0])));
      break;
    case DISPID_DOWNLOADBEGIN:
      ev->downloadBegin();
      break;
    case DISPID_DOWNLOADCOMPLETE:
      ev->downloadComplete();
      break;
    default:
      break;
  }
  return S_OK;
}

}  // namespace

bool TranslateBrowserKey(MSG& m) {
  // A copy: a control may be created or destroyed while it handles a key.
  const std::vector<HostedBrowser*> live = HostedBrowser::Live();
  for (HostedBrowser* b : live)
    if (b->TranslateKey(m)) return true;
  return false;
}

std::unique_ptr<WebBrowser> Win32Platform::createBrowser(Wnd host, BrowserEvents* events) {
  forgetGlance();
  return std::make_unique<HostedBrowser>(reinterpret_cast<HWND>(host), events, *this);
}

bool StartWaitingBrowsers() {
  g_loopStarted = true;
  return !Waiting().empty();
}

bool AttachNextWaitingBrowser() {
  auto& waiting = Waiting();
  if (!waiting.empty()) waiting.front()->attachNow();
  return !waiting.empty();
}

}  // namespace sq
