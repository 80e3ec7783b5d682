// The browser window's events, the command links of the program's own
// pages and the requests other windows and programs make.
#include <algorithm>
#include <cctype>

#include "app/frame/budget.h"
#include "app/frame/gbk.h"
#include "app/formmain.h"
#include "bar/qirform3.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"
#include "platform/lines.h"

namespace sq {

namespace {
bool Digits3(const std::string& s) {
  if (s.size() < 6) return false;
  for (std::size_t i = 3; i < 6; ++i)
    if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
  return true;
}
}  // namespace

// ---------------------------------------------------------------- events

namespace {
class LifeSink : public BrowserEvents {
 public:
  LifeSink(App& app, Tlifeform& life) : app_(app), life_(life) {}
  bool beforeNavigate2(const std::string& url) override {
    return app_.browser.easyie && app_.browser.easyie->LifeBeforeNavigate(url, Location());
  }
  void statusTextChange(const std::string& s) override {
    if (app_.browser.easyie) app_.browser.easyie->LifeStatusText(s, Location());
  }
  NewWindowReply newWindow2() override {
    NewWindowReply r;
    r.cancel = app_.browser.easyie && app_.browser.easyie->LifeNewWindow(Location());
    return r;
  }

 private:
  std::string Location() {
    WebBrowser* w = life_.browser();
    return w ? w->locationURL() : std::string();
  }
  App& app_;
  Tlifeform& life_;
};
}  // namespace

std::unique_ptr<BrowserEvents> LifeLinkEvents(App& app, Tlifeform& life) {
  return std::make_unique<LifeSink>(app, life);
}

bool Teasyie::PageBeforeNavigate(TabPage* page, const std::string& url) {
  if (page->slot >= 0) {
    Log("bef--" + std::to_string(tabs_.ring) + "////" + url);
    Log("bef--err" + std::to_string(page->slot) + url);
  }
  // The program's own addresses are commands, never pages: a link of an
  // own page that goes to one without a new window runs it as the new
  // window's request would; the control loads none of them.
  if (mail::Starts(url, words::web::LinkPrefix)) {
    if (url == page_.lastStatus) CommandLink(page);
    return true;
  }
  return false;
}

NewWindowReply Teasyie::PageNewWindow(TabPage* page) {
  NewWindowReply r;
  if (CommandLink(page)) {
    r.cancel = true;
    return r;
  }
  // The new window opens in a new tab of the ring.
  TabPage* pg = NewTab();
  r.into = pg->web.get();
  r.cancel = r.into == nullptr;
  wfocusClick();
  page_.logStatus = true;
  return r;
}

void Teasyie::PageNavigateComplete(TabPage* page) {
  if (page->slot >= 0) Log("nav--////" + std::to_string(tabs_.ring));
}

// The banners' loading is logged, not shown.
void Teasyie::BannerProgress(TabPage* page) {
  if (page->slot < 0) Log("///progress");
}

void Teasyie::BannerProperty(TabPage* page, const std::string& name) {
  if (page->slot < 0) Log("pp--///" + name);
}

void Teasyie::PageStatusText(TabPage* page, const std::string& text) {
  const std::string t = gbk::Prefix(text, budget::kCaptionRead);
  if (Tlifeform* life = app_.browser.lifeform) {
    life->Label3.SetCaption(t);
    if (Shown()) life->status.SetCaption(t);
  }
  if (page_.logStatus) Log("sta--" + std::to_string(tabs_.ring) + t);
  Edit6.SetCaption(t);
  page_.lastStatus = t;
  page_.lastStatusFrom = page;
}

void Teasyie::PageTitle(TabPage* page, const std::string& title) {
  // Each page's tab carries its own title; the banners' titles show nowhere.
  const int i = IndexOf(page);
  if (i < 0) return;
  const std::string t = gbk::Prefix(title, 256);
  tabs_.pages[static_cast<std::size_t>(i)]->sheet->SetCaption(t);
  if (i < ListBox1.Count()) ListBox1.SetItem(i, t);
}

void Teasyie::PageDocumentComplete(TabPage* page, const std::string& url) {
  if (page->slot < 0) return;
  Log("doc--" + std::to_string(tabs_.ring) + url);
  wfocusClick();
}

void Teasyie::PageDownloadComplete(TabPage* page) {
  if (page->slot < 0) return;
  page_.logStatus = false;
  if (menu_.blockPopups) page_.purgePending = true;
  wfocusClick();
}

// ---------------------------------------------------------------- command links

bool Teasyie::CommandLink(TabPage* asker) {
  const std::string& s = page_.lastStatus;
  if (!mail::Starts(s, words::web::LinkPrefix)) return false;
  // Only the program's own pages run commands, and only with a link text
  // they showed themselves; any other request of this kind is dropped.
  const bool own = asker && asker->web && page_.lastStatusFrom == asker &&
                   IsOwnPage(asker->web->locationURL());
  if (!own) return true;
  if (mail::Starts(s, words::web::LinkBbs)) return true;
  if (mail::Starts(s, words::web::LinkExit)) {
    if (app_.shell.FormMain) app_.shell.FormMain->Shutdown1Click();
    return true;
  }
  if (mail::Starts(s, words::web::LinkHelp)) {
    Button21Click();
    return true;
  }
  if (mail::Starts(s, words::web::LinkHttp)) {
    OpenAddress(s.substr(6));
    return true;
  }
  if (mail::Starts(s, words::web::LinkClose)) {
    if (app_.input.qirinputor) app_.input.qirinputor->StopGestures();
    return true;
  }
  if (!Digits3(s)) return true;
  const int n = std::stoi(s.substr(3, 3));
  if (n == 2) {
    Edit1.SetCaption(kMakerPage);
    PageControl1.Show();
    Button1Click();
    CppWebBrowser2.SetLeft(-2000);
    NormalBanners();
    return true;
  }
  if (n == 3) {
    Button14Click();
    return true;
  }
  return false;  // an ordinary link
}

void Teasyie::LifeStatusText(const std::string& text, const std::string&) {
  // Only kept: a hint link acts when it is clicked. Run on hovering, the
  // next hint would come under the resting pointer and bring the one
  // after it at the next move.
  page_.lifeLink = gbk::Prefix(text, budget::kCaptionRead);
}

namespace {
bool IsBackLink(const std::string& s) {
  return s == words::web::LifeBack || s == words::web::LifeBackSlash;
}
}  // namespace

bool Teasyie::LifeBeforeNavigate(const std::string& url, const std::string& pageUrl) {
  if (!mail::Starts(url, words::web::LinkPrefix)) return false;
  // A command link followed in place: the hint page's own link brings the
  // next hint; no command address is ever loaded.
  if (IsBackLink(url) && url == page_.lifeLink && IsOwnPage(pageUrl) && app_.browser.lifeform)
    app_.browser.lifeform->NextHint();
  return true;
}

bool Teasyie::LifeNewWindow(const std::string& pageUrl) {
  const std::string link = page_.lifeLink;
  const bool own = IsOwnPage(pageUrl);
  if (IsBackLink(link)) {
    if (own && app_.browser.lifeform) app_.browser.lifeform->NextHint();
    return true;
  }
  // A command link of any other page is dropped.
  if (!own && mail::Starts(link, words::web::LinkPrefix)) return true;
  if (link.empty() || mail::Starts(link, "file")) return false;
  if (Tlifeform* life = app_.browser.lifeform)
    if (WebBrowser* w = life->browser()) w->stop();
  SetLeft(0);
  OpenAddress(link);
  return true;
}

// ---------------------------------------------------------------- requests

void Teasyie::ScrollCaptionRequest() {
  if (!app_.bar.qirForm3) return;
  const std::string cap = app_.bar.qirForm3->Caption();
  if (!mail::Starts(cap, words::web::UrlRequestPrefix)) return;
  const std::string url = gbk::Prefix(cap.substr(8), kMaxAddress);
  Panel23.SetCaption(url);
  app_.bar.qirForm3->SetCaption(words::web::UrlAck);
  // The address the caller sent is opened; without one, the address box's.
  if (!url.empty()) Edit1.SetCaption(url);
  ExternalOpen();
}

void Teasyie::DropFileRequest() {
  Platform& p = platform();
  if (!p.fileExists(kDropFile)) return;
  std::string text;
  // A file its writer still holds cannot be read or deleted: it waits for
  // a later tick, and is acted on once, when it could be taken away.
  if (p.readFileUpTo(kDropFile, 64 * 1024, text) == Platform::ReadResult::Failed) return;
  if (!p.deleteFile(kDropFile)) return;
  const auto ls = SplitLines(text);
  const std::string first = ls.empty() ? std::string() : gbk::Prefix(ls[0], kMaxAddress);
  Panel23.SetCaption(first);
  // A command word, or a file with no address in it, opens nothing.
  if (first.empty() || mail::Starts(first, words::web::DropCommandPrefix)) return;
  Edit1.SetCaption(first);
  ExternalOpen();
}

void Teasyie::InputCaptionRequests() {
  Tqirinputor* in = app_.input.qirinputor;
  if (!in) return;
  const std::string cap = in->Caption();
  if (cap == words::web::CloseInput) {
    in->StopGestures();
  } else if (cap == words::web::EasyHelp) {
    in->SetCaption(words::web::EasyHelpAck);
    EasyHelp();
  }
}

std::string Teasyie::SearchAddress(const std::string& text) {
  // The text goes as a query value: its GBK bytes percent-encoded, so that
  // "&", "#", "+", "%", blanks and Chinese arrive as typed. A text too long
  // for an address is cut before a whole character, never inside one or
  // inside an escape.
  static const char kHex[] = "0123456789ABCDEF";
  std::string url = kSearchAddress;
  const std::size_t room = kMaxAddress - 1;  // the closing "&"
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = std::min(gbk::CharLen(text[i]), text.size() - i);
    std::string piece;
    for (std::size_t k = i; k < i + len; ++k) {
      const unsigned char b = static_cast<unsigned char>(text[k]);
      const bool plain = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
                         (b >= 'a' && b <= 'z') || b == '-' || b == '_' || b == '.' || b == '~';
      if (plain) {
        piece += static_cast<char>(b);
      } else {
        piece += '%';
        piece += kHex[b >> 4];
        piece += kHex[b & 15];
      }
    }
    if (url.size() + piece.size() > room) break;
    url += piece;
    i += len;
  }
  return url + "&";
}

void Teasyie::SearchRequest() {
  if (Panel37.Caption() == words::web::SearchRequest) {
    Panel37.SetCaption(words::web::SearchWaiting);
    ParkMenu();
    return;
  }
  // The next tick searches the clipboard text: the bar has been parked and
  // the browser shown meanwhile. (It waits for no banner: the banners show
  // the program's own local pages.)
  if (Panel37.Caption() == words::web::SearchWaiting) {
    Panel37.SetCaption(words::web::SearchDone);
    SpeedButton64.SetCaption("搜索");
    std::string clip;
    platform().getClipboardTextUpTo(4 * kMaxAddress, clip);
    OpenAddress(SearchAddress(clip));
  }
}

}  // namespace sq
