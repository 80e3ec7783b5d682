// The WebBrowser control, hosted in place in a window of the program.
//
// The host is the least OLE needs for in-place activation: a client site, an
// in-place site and a frame that refuse everything optional. Events are not
// sunk through connection points; the core polls readyState and locationURL.
// When the control cannot be created (no browser engine, as under a Wine
// without its HTML engine) the browser object still exists and every call
// does nothing, so the core runs unchanged.
#include <windows.h>
#include <exdisp.h>
#include <ole2.h>

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

class HostedBrowser : public WebBrowser {
 public:
  HostedBrowser(HWND host, BrowserEvents* events) : host_(host), events_(events) {
    site_ = new Site(host);
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
    web_->put_Left(0);
    web_->put_Top(0);
    web_->put_Width(rc.right);
    web_->put_Height(rc.bottom);
  }
  ~HostedBrowser() override {
    release();
    site_->Release();
  }

  Wnd window() const override { return reinterpret_cast<Wnd>(host_); }

  void navigate(const std::string& url) override {
    if (!web_) return;
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(Wide(url).c_str());
    // The core's hook: a cancelled navigation never reaches the control.
    bool cancel = events_ && events_->beforeNavigate2(url);
    if (!cancel) web_->Navigate2(&v, nullptr, nullptr, nullptr, nullptr);
    VariantClear(&v);
  }
  std::string locationURL() const override {
    BSTR b = nullptr;
    return web_ && SUCCEEDED(web_->get_LocationURL(&b)) ? FromBstr(b) : "";
  }
  std::string locationName() const override {
    BSTR b = nullptr;
    return web_ && SUCCEEDED(web_->get_LocationName(&b)) ? FromBstr(b) : "";
  }
  int readyState() const override {
    READYSTATE s = READYSTATE_UNINITIALIZED;
    if (web_) web_->get_ReadyState(&s);
    return static_cast<int>(s);
  }
  void execWB(int command, int option) override {
    if (web_)
      web_->ExecWB(static_cast<OLECMDID>(command), static_cast<OLECMDEXECOPT>(option), nullptr,
                   nullptr);
  }
  void goBack() override { if (web_) web_->GoBack(); }
  void goForward() override { if (web_) web_->GoForward(); }
  void refresh() override { if (web_) web_->Refresh(); }
  void stop() override { if (web_) web_->Stop(); }
  void setFocus() override {
    if (web_) SetFocus(host_);
  }
  std::string documentText() const override {
    // Reading the body needs the HTML document interfaces; without an HTML
    // engine there is no document, which is what this answers.
    if (!web_) return "";
    IDispatch* doc = nullptr;
    if (FAILED(web_->get_Document(&doc)) || !doc) return "";
    doc->Release();
    return "";
  }

 private:
  void release() {
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
  Site* site_ = nullptr;
  IOleObject* ole_ = nullptr;
  IWebBrowser2* web_ = nullptr;
};

}  // namespace

std::unique_ptr<WebBrowser> Win32Platform::createBrowser(Wnd host, BrowserEvents* events) {
  return std::make_unique<HostedBrowser>(reinterpret_cast<HWND>(host), events);
}

}  // namespace sq
