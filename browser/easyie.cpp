#include "browser/easyie.h"
#include "app/frame/gbk.h"

#include <algorithm>
#include <cctype>

#include "app/frame/budget.h"
#include "app/formmain.h"
#include "app/frame/screens.h"
#include "app/settings_list.h"
#include "app/wrpyreadpanel.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "bar/wheeltipform.h"
#include "browser/lifeform.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"
#include "platform/lines.h"

namespace sq {

const char* const Teasyie::kSearchAddress =
    "http://search.sipquill.com/s?fw=1&oid=2&e=gbk&pid=sipquill&name=";
const char* const Teasyie::kMakerPage = "http://www.sipquill.com/";
const char* const Teasyie::kNavigationPage = "http://www.sipquill.com/nav.htm";
const char* const Teasyie::kDropFile = "qirnewurl.txt";

namespace {

// Forwards the events of one browser to the window.
class PageSink : public BrowserEvents {
 public:
  PageSink(Teasyie& ie, TabPage* page) : ie_(ie), page_(page) {}
  bool beforeNavigate2(const std::string& url) override {
    return ie_.PageBeforeNavigate(page_, url);
  }
  NewWindowReply newWindow2() override { return ie_.PageNewWindow(page_); }
  // A page that sets its own window's size gets it: its browser is then
  // not the page control's size, which the popup purge looks for.
  void windowSetWidth(int w) override { ie_.PageSetSize(page_, w, -1); }
  void windowSetHeight(int h) override { ie_.PageSetSize(page_, -1, h); }
  void navigateComplete2(const std::string&) override { ie_.PageNavigateComplete(page_); }
  void progressChange(long, long) override { ie_.BannerProgress(page_); }
  void propertyChange(const std::string& name) override { ie_.BannerProperty(page_, name); }
  void statusTextChange(const std::string& s) override { ie_.PageStatusText(page_, s); }
  void titleChange(const std::string& s) override { ie_.PageTitle(page_, s); }
  void documentComplete(const std::string& url) override {
    ie_.PageDocumentComplete(page_, url);
  }
  void downloadComplete() override { ie_.PageDownloadComplete(page_); }

 private:
  Teasyie& ie_;
  TabPage* page_;
};

ControlLayout Child(const std::string& name, Kind kind, const std::string& cls, Rect b) {
  ControlLayout l;
  l.name = name;
  l.kind = kind;
  l.className = cls;
  l.geometry.bounds = b;
  l.behaviour.visible = true;
  return l;
}

const char* const kFarewell = "谢谢您使用！\r\n\r\n        Sipquill 开发组";
const char* const kHelpTitleA = "操作说明";
const char* const kHelpTitleB = "Sipquill";  // the help page
const char* const kGuideTitle = "Quelmor";    // the short guide
const char* const kPageListHint = "左键转到所选窗口；右键关闭所选窗口";

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace

Teasyie::Teasyie(App& app)
    : Form(app, app.browser.easyie, "easyie"), easyie_controls(this), app_(app) {
  Button1.OnClick = [this] { Button1Click(); };
  Button10.OnClick = [this] { Button10Click(); };
  Edit6.OnClick = [this] { Button10Click(); };
  Button21.OnClick = [this] { Button21Click(); };
  Button35.OnClick = [this] { Button35Click(); };
  Button14.OnClick = [this] { Button14Click(); };
  wfocus.OnClick = [this] { wfocusClick(); };
  Timer1.OnTimer = [this] { Timer1Timer(); };
  Timer3.OnTimer = [this] { Timer3Timer(); };
  // Activation hides the menu panel, unless the press that activated the
  // window is on the menu itself.
  OnActivate = [this] {
    if (!OverMenu(platform().windowFromPoint(platform().getCursorPos()))) Panel3.Hide();
  };
  WireMenu();
}

Teasyie::~Teasyie() {
  // Browsers go before the windows that host them.
  for (auto& pg : tabs_.pages) pg->web.reset();
  for (auto& pg : tabs_.closed) pg->web.reset();
  tabs_.top.web.reset();
  tabs_.bottom.web.reset();
}

std::string Teasyie::HelpAddress() {
  return "file://" + platform().currentDirectory() + "\\ehelp\\easyhelp.htm";
}

void Teasyie::FormCreate() {
  Platform& p = platform();
  SharedSettings& s = app_.settings;
  // The full-screen layout is made for the main monitor, in 96-DPI units.
  const Monitor main = screens::Main(screens::Query(p));
  const int dpi = screens::ClampDpi(main.dpi);
  const int sw = screens::Unscale(main.rect.width, dpi);
  const int sh = screens::Unscale(main.rect.height, dpi);
  sw_ = sw;
  sh_ = sh;
  const int lifeHeight = app_.browser.lifeform ? app_.browser.lifeform->Height() : 0;

  // Lay out for the real screen: indicator, input-method marker along the
  // right edge, the menu panel at its creation size, the page control
  // below the top banner.
  wheelmess.SetLeft(sw - 120);
  wheelmess.SetTop(0);
  Panel25.SetLeft(sw - 10);
  Panel25.SetHeight(sh - 10);
  Panel3.SetWidth(249);
  Panel3.SetHeight(289);
  PageControl1.SetTop(kBannerHeight);
  PageControl1.SetHeight(sh - 2 * kBannerHeight);

  // The two banner browsers, off the screen until a page is laid out.
  const int bannerH = kBannerHeight - lifeHeight / 2;
  tabs_.top.host = std::make_unique<Control>(this, p, Child("topbanner", Kind::Browser, "",
                                                       {-1000, 0, 0, bannerH}),
                                        Handle(), Dpi());
  tabs_.bottom.host = std::make_unique<Control>(
      this, p,
      Child("bottombanner", Kind::Browser, "",
            {-1000, PageControl1.Top() + PageControl1.Height(), 0, bannerH}),
      Handle(), Dpi());
  for (TabPage* b : {&tabs_.top, &tabs_.bottom}) {
    b->slot = -1;
    b->events = std::make_unique<PageSink>(*this, b);
    b->web = p.createBrowser(b->host->Handle(), b->events.get());
  }
  Navigate(tabs_.top.web.get(), "file://" + p.currentDirectory() + "\\ehelp\\qsl.html");
  Navigate(tabs_.bottom.web.get(), "file://" + p.currentDirectory() + "\\ehelp\\bot.htm");

  Panel3.BringToFront();
  // Favourites past the size limit are listed as far as their first lines
  // go and the file is not written back; the lines keep their bytes.
  lists_.urls.Read(p, kUrlFile, budget::kFavouritesFileRead);
  if (lists_.urls.Count() > 0) {
    ListBox10.Clear();
    for (const auto& l : lists_.urls.Lines()) ListBox10.Add(l);
  }
  lists_.urlsShown.clear();
  for (int i = 0; i < ListBox10.Count(); ++i) lists_.urlsShown.push_back(ListBox10.Item(i));

  // The start-up options: a line's value "1" or the marker file sets each.
  Edit1.SetCaption(s.Value(2));
  s.SetShowHelp(p, s.Value(7) == "1" || p.fileExists(SharedSettings::kHelpMarker));
  s.SetShowWeb(p, s.Value(8) == "1" || p.fileExists(SharedSettings::kWebMarker));

  PageControl1.SetLeft(0);
  PageControl1.SetWidth(sw);
  Place({main.rect.left, main.rect.top + screens::Scale(30, dpi), main.rect.width,
         screens::Scale(sh - lifeHeight, dpi)},
        dpi, ZOrder::Keep);

  // The holder of closed pages, right of the screen.
  tabs_.holder = std::make_unique<Control>(
      this, p, Child("closedpages", Kind::Other, "TPageControl", {sw + 20, 0, sw, 10}), Handle(),
      Dpi());
  tabs_.holder->Hide();

  Panel12.SetLeft(0);
  Panel12.SetTop(0);
  CppWebBrowser1.SetHeight(0);
  CppWebBrowser2.SetHeight(0);
  CppWebBrowser6.SetHeight(0);
  CppWebBrowser2.SetBounds(0, 0, sw, sh);
  Panel3.Hide();

  if (!p.fileExists(SharedSettings::kWebMarker)) Park();
  Panel3.SetLeft(-2000);

  if (p.fileExists(SharedSettings::kHelpMarker)) Button10Click();

  wheelmess.SetBounds(sw - 100, 0, 104, 18);
  PageControl1.BringToFront();
  wheelmess.BringToFront();
  Panel3.BringToFront();
  Panel3.SetLeft(sw / 2 - Panel3.Width() / 2);
  Panel3.SetTop(sh / 2 - Panel3.Height() / 2);
  PageControl1.SetTop(0);
  PageControl1.SetHeight(sh);
  SetPageHeights();
  FillSystemFavourites();
  for (int i = 0; i < ListBox6.Count(); ++i) lists_.logBytes += ListBox6.Item(i).size() + 2;
  p.setCursorPos({main.rect.left + main.rect.width / 2, main.rect.top + main.rect.height / 2});
}

void Teasyie::FormClose() {
  Platform& p = platform();
  SharedSettings& s = app_.settings;
  s.SetLine(8, std::string("显示浏览--") + (s.ShowWeb() ? "1" : "0"));
  s.SetLine(7, std::string("显示帮助--") + (s.ShowHelp() ? "1" : "0"));
  s.Save(p);
  if (app_.input.qirinputor) app_.input.qirinputor->Close();
}

void Teasyie::FormDestroy() {
  Platform& p = platform();
  std::string his;
  for (int i = 0; i < ListBox6.Count(); ++i) his += ListBox6.Item(i) + "\r\n";
  p.writeFile(kHistoryFile, his);
  // Never replace a favourites file whose content was not loaded whole; a
  // favourite the list still shows as it was read keeps its bytes.
  std::vector<std::string> urls;
  for (int i = 0; i < ListBox10.Count(); ++i) urls.push_back(ListBox10.Item(i));
  lists_.urls.Write(p, kUrlFile, urls, lists_.urlsShown);
  if (app_.input.qirinputor) app_.input.qirinputor->Close();
}

// ---------------------------------------------------------------- the ring

void Teasyie::Navigate(WebBrowser* w, const std::string& url) {
  if (w) w->navigate(gbk::Prefix(url, kMaxAddress), navflag::NoReadFromCache);
}

TabPage* Teasyie::NewTab() {
  Platform& p = platform();
  // A page control full of tabs lets its oldest page go first.
  if (PageCount() >= kMaxPages) ClosePage(0);
  tabs_.ring = tabs_.ring >= kRingSlots - 1 ? 0 : tabs_.ring + 1;
  auto page = std::make_unique<TabPage>();
  TabPage* pg = page.get();
  pg->slot = tabs_.ring;
  const int w = sw_, h = PageControl1.Height();
  pg->sheet = std::make_unique<Control>(
      this, p, Child("web" + std::to_string(tabs_.ring), Kind::Other, "TTabSheet", {0, 0, w, h}),
      PageControl1.Handle(), Dpi());
  pg->sheet->SetCaption("web" + std::to_string(tabs_.ring));
  pg->host = std::make_unique<Control>(this, p, Child("page", Kind::Browser, "", {0, 0, w, h}),
                                       pg->sheet->Handle(), Dpi());
  pg->events = std::make_unique<PageSink>(*this, pg);
  pg->web = p.createBrowser(pg->host->Handle(), pg->events.get());
  // A page whose browser could not be made shows its bare sheet; the
  // timer's empty-tab rule closes it.
  if (!pg->web) pg->host->Hide();
  tabs_.slots[static_cast<std::size_t>(tabs_.ring)] = pg;
  tabs_.pages.push_back(std::move(page));
  ListBox1.Add(pg->sheet->Caption());
  Activate(PageCount() - 1);
  return pg;
}

void Teasyie::Activate(int i) {
  if (i < 0 || i >= PageCount()) return;
  tabs_.active = i;
  for (int k = 0; k < PageCount(); ++k)
    tabs_.pages[static_cast<std::size_t>(k)]->sheet->SetVisible(k == i);
  tabs_.pages[static_cast<std::size_t>(i)]->sheet->BringToFront();
}

TabPage* Teasyie::ActivePage() {
  if (tabs_.active < 0 || tabs_.active >= PageCount()) return nullptr;
  return tabs_.pages[static_cast<std::size_t>(tabs_.active)].get();
}

WebBrowser* Teasyie::ActiveBrowser() {
  TabPage* pg = ActivePage();
  return pg ? pg->web.get() : nullptr;
}

WebBrowser* Teasyie::PageBrowser(int i) {
  if (i < 0 || i >= PageCount()) return nullptr;
  return tabs_.pages[static_cast<std::size_t>(i)]->web.get();
}

std::string Teasyie::PageCaption(int i) {
  if (i < 0 || i >= PageCount()) return {};
  return tabs_.pages[static_cast<std::size_t>(i)]->sheet->Caption();
}

int Teasyie::IndexOf(const TabPage* page) const {
  for (int i = 0; i < PageCount(); ++i)
    if (tabs_.pages[static_cast<std::size_t>(i)].get() == page) return i;
  return -1;
}

void Teasyie::HoldClosed(std::unique_ptr<TabPage> page) {
  page->sheet->Hide();
  if (page->web) page->web->stop();
  tabs_.closed.push_back(std::move(page));
  if (static_cast<int>(tabs_.closed.size()) > kMaxClosed) {
    TabPage* old = tabs_.closed.front().get();
    for (auto& s : tabs_.slots)
      if (s == old) s = nullptr;
    if (page_.lastStatusFrom == old) page_.lastStatusFrom = nullptr;
    old->web.reset();
    tabs_.closed.erase(tabs_.closed.begin());
  }
}

void Teasyie::ClosePage(int i) {
  if (i < 0 || i >= PageCount()) return;
  const bool wasLast = i == PageCount() - 1;
  std::unique_ptr<TabPage> page = std::move(tabs_.pages[static_cast<std::size_t>(i)]);
  tabs_.pages.erase(tabs_.pages.begin() + i);
  if (i < ListBox1.Count()) ListBox1.Delete(i);
  HoldClosed(std::move(page));
  if (tabs_.pages.empty()) {
    tabs_.active = -1;
    return;
  }
  if (wasLast || tabs_.active >= PageCount() || i == tabs_.active) Activate(PageCount() - 1);
  else if (i < tabs_.active) tabs_.active -= 1;
}

void Teasyie::RebuildPageList() {
  if (ListBox1.Count() == PageCount()) return;
  ListBox1.Clear();
  for (int i = 0; i < PageCount(); ++i) ListBox1.Add(PageCaption(i));
}

void Teasyie::SetPageHeights() {
  const int h = PageControl1.Height();
  for (auto& pg : tabs_.pages) {
    pg->sheet->SetBounds(0, 0, sw_, h);
    pg->host->SetBounds(0, 0, sw_, h);
  }
}

void Teasyie::PageSetSize(TabPage* page, int w, int h) {
  if (IndexOf(page) < 0) return;
  if (w >= 0) page->host->SetWidth(std::min(w, 4 * sw_));
  if (h >= 0) page->host->SetHeight(std::min(h, 4 * sh_));
}

void Teasyie::OpenAddress(const std::string& url) {
  Edit1.SetCaption(gbk::Prefix(url, kMaxAddress));
  Button1Click();
}

void Teasyie::Button1Click() {
  PageControl1.Show();
  if (CppWebBrowser2.Left() >= 0) CppWebBrowser2.SetLeft(-2000);
  ListBox10.Hide();
  const std::string url = Edit1.Caption();
  if (url.empty()) return;
  Panel3.Hide();
  TabPage* pg = NewTab();
  Navigate(pg->web.get(), url);
  cweb.SetLeft(-2000);
  tabs_.top.host->SetLeft(-2000);
  CppWebBrowser2.SetLeft(-2000);
  if (wheelmess.Top() != 0) ToggleMaximize();
}

void Teasyie::ExternalOpen() {
  const std::string url = Edit1.Caption();
  Panel29.SetCaption(url);
  // Requests of other programs reuse the ring's slots 1 to 11.
  tabs_.ring = tabs_.ring >= kRingSlots - 1 ? 1 : tabs_.ring + 1;
  TabPage* pg = tabs_.slots[static_cast<std::size_t>(tabs_.ring)];
  if (pg && pg->web && !url.empty()) {
    Navigate(pg->web.get(), url);
    const int i = IndexOf(pg);
    if (i >= 0) Activate(i);
  }
  Panel3.Hide();
}

void Teasyie::Button10Click() {
  if (showHelpAtStart()) {
    Edit1.SetCaption(HelpAddress());
    menu_.helpAtStartPending = true;
  }
}

void Teasyie::Button21Click() { ShowHelpPage(HelpAddress(), kHelpTitleB); }

void Teasyie::EasyHelp() {
  ShowHelpPage("file://" + platform().currentDirectory() + "\\easyhelp\\easyhelp.htm", kGuideTitle);
}

// Puts the address in the box, then shows the open help page if there is
// one (its title holds "操作说明" and `name`, the word that tells the
// help page and the short guide apart), otherwise opens the address in a
// new tab.
void Teasyie::ShowHelpPage(const std::string& address, const char* name) {
  Panel3.Hide();
  Edit1.SetCaption(address);
  int found = -1;
  for (int i = 0; i < PageCount() && i < ListBox1.Count(); ++i) {
    const std::string t = ListBox1.Item(i);
    if (mail::Has(t, kHelpTitleA) && mail::Has(t, name)) found = i;
  }
  if (found >= 0) Activate(found);
  else Button1Click();
  Panel3.BringToFront();
}

void Teasyie::Button35Click() { ClosePage(tabs_.active); }

void Teasyie::Button14Click() { Park(); }

void Teasyie::wfocusClick() {
  WebBrowser* w = ActiveBrowser();
  if (!w) return;
  const int rs = w->readyState();
  if (rs != 0 && rs != 1) w->setFocus();
}

// ---------------------------------------------------------------- layout

void Teasyie::NormalBanners() {
  tabs_.top.host->SetBounds(0, 0, sw_, kBannerHeight);
  const int below = PageControl1.Top() + PageControl1.Height();
  tabs_.bottom.host->SetBounds(0, below, sw_, std::max(0, sh_ - below));
}

void Teasyie::ToggleMaximize() {
  ParkMenu();
  PageControl1.BringToFront();
  Panel3.BringToFront();
  Panel9.BringToFront();
  if (PageControl1.Top() != 0) {
    PageControl1.SetTop(0);
    PageControl1.SetHeight(sh_);
  } else {
    PageControl1.SetTop(kBannerHeight);
    PageControl1.SetHeight(sh_ - 2 * kBannerHeight);
  }
  SetPageHeights();
}

void Teasyie::ParkMenu() { Panel3.SetLeft(-2000); }

bool Teasyie::MenuShown() { return Panel3.Visible() && Panel3.Left() >= 0; }

Point Teasyie::ToUnits(Point screen) {
  const Rect r = ScreenRect();
  return {screens::Unscale(screen.x - r.left, Dpi()), screens::Unscale(screen.y - r.top, Dpi())};
}

void Teasyie::ShowMenuAt(Point screen) {
  RebuildPageList();
  const Point u = ToUnits(screen);
  Panel3.SetBounds(u.x - 210, u.y - 70, 230, 260);
  Panel3.Show();
  Panel3.BringToFront();
  Panel9.Hide();
}

bool Teasyie::IsOwnPage(const std::string& url) {
  std::string u = url;
  if (u.size() < 5 || LowerAscii(u.substr(0, 5)) != "file:") return false;
  u = u.substr(5);
  // Undo %XX escapes, then compare as a Windows path.
  std::string d;
  for (std::size_t i = 0; i < u.size(); ++i) {
    if (u[i] == '%' && i + 2 < u.size() && std::isxdigit(static_cast<unsigned char>(u[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(u[i + 2]))) {
      d += static_cast<char>(std::stoi(u.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      d += u[i] == '/' ? '\\' : u[i];
    }
  }
  std::size_t k = d.find_first_not_of('\\');
  if (k == std::string::npos) return false;
  d = d.substr(k);
  if (d.find("..") != std::string::npos) return false;
  std::string dir = platform().currentDirectory();
  while (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
  for (char& c : dir)
    if (c == '/') c = '\\';
  k = dir.find_first_not_of('\\');
  if (k == std::string::npos || dir.empty()) return false;
  dir = LowerAscii(dir.substr(k)) + "\\";
  return LowerAscii(d).rfind(dir, 0) == 0 && d.size() > dir.size();
}

// ---------------------------------------------------------------- files

void Teasyie::AddFavourite(const std::string& entry, bool top) {
  if (top) ListBox10.Insert(0, entry);
  else ListBox10.Add(entry);
}

void Teasyie::Log(const std::string& line) {
  const std::string l = gbk::Prefix(line, budget::kHistoryWord * 4);
  ListBox6.Add(l);
  lists_.logBytes += l.size() + 2;
  // The log keeps its two head lines and its newest entries.
  while (lists_.logBytes > budget::kNavLogBytes && ListBox6.Count() > 2) {
    lists_.logBytes -= std::min(lists_.logBytes, ListBox6.Item(2).size() + 2);
    ListBox6.Delete(2);
  }
}

void Teasyie::FillSystemFavourites() {
  Platform& p = platform();
  lists_.favouriteFiles.clear();
  FileListBox1.Clear();
  auto desk = p.specialFolder(csidl::Desktop);
  if (!desk) return;
  const std::size_t cut = desk->rfind('\\');
  if (cut == std::string::npos) return;
  const std::string dir = desk->substr(0, cut) + "\\Favorites";
  // The list shows what the folder held at start.
  for (const auto& name : p.listFiles(dir, 500)) {
    lists_.favouriteFiles.push_back(dir + "\\" + name);
    FileListBox1.Add(name);
  }
}

void Teasyie::OpenSystemFavourite(int i) {
  Platform& p = platform();
  FileListBox1.Hide();
  if (i < 0 || i >= static_cast<int>(lists_.favouriteFiles.size())) return;
  const std::string& path = lists_.favouriteFiles[static_cast<std::size_t>(i)];
  if (!p.fileExists(path)) return;
  std::string text;
  if (p.readFileUpTo(path, 64 * 1024, text) == Platform::ReadResult::Failed) return;
  const auto ls = SplitLines(text);
  if (ls.size() < 2) return;
  const std::size_t at = ls[1].find("=http");
  if (at != std::string::npos) OpenAddress(ls[1].substr(at + 1));
  ParkMenu();
  RunUpDownWheel();
}

// ---------------------------------------------------------------- menu panel

void Teasyie::RunUpDownWheel() {
  Tqircom* bar = app_.bar.qircom;
  if (bar && bar->updownwheel.OnClick) RunHandler(app_, bar->updownwheel.OnClick);
}

void Teasyie::Hint(Control& c) {
  Panel23.SetCaption(c.layout().text.hint);
  if (app_.bar.qircom) app_.bar.qircom->Panel36.SetCaption("");
}

void Teasyie::Farewell() {
  Platform& p = platform();
  p.setCursorPos({p.screenWidth() / 2, p.screenHeight() / 2 + 20});
  p.messageBox(Handle(), kFarewell, app_.Title(), mb::Ok);
  if (app_.shell.FormMain) app_.shell.FormMain->Shutdown1Click();
}

void Teasyie::ButtonLeft(Control& c) {
  WebBrowser* w = ActiveBrowser();
  if (&c == &SpeedButton1) {
    menu_.speed1Pressed = true;
    ParkMenu();
    RunUpDownWheel();
  } else if (&c == &SpeedButton64) {
    SpeedButton64.SetCaption("....");
    OpenAddress(SearchAddress(Edit1.Caption()));
  } else if (&c == &SpeedButton67) {
    OpenAddress(kNavigationPage);
    ParkMenu();
  } else if (&c == &SpeedButton3) {
    ListBox10.Hide();
    FileListBox1.SetVisible(!FileListBox1.Visible());
  } else if (&c == &SpeedButton6) {
    ToggleMaximize();
  } else if (&c == &SpeedButton2) {
    menu_.blockPopups = !menu_.blockPopups;
    SpeedButton2.SetCaption(menu_.blockPopups ? "屏蔽" : "开放");
  } else if (&c == &Button22) {
    if (w) w->stop();
    if (tabs_.top.web) tabs_.top.web->stop();
    if (tabs_.bottom.web) tabs_.bottom.web->stop();
  } else if (&c == &Button19) {
    Panel3.Hide();
    if (w) w->execWB(4, 1);
  } else if (&c == &Button21) {
    Button21Click();
  }
}

void Teasyie::ButtonRight(Control& c) {
  WebBrowser* w = ActiveBrowser();
  if (&c == &SpeedButton1) {
    Button35Click();
  } else if (&c == &SpeedButton64) {
    SpeedButton64.SetCaption("....");
    Button1Click();
  } else if (&c == &SpeedButton67) {
    OpenAddress(kNavigationPage);
    ParkMenu();
  } else if (&c == &SpeedButton3) {
    if (TabPage* pg = ActivePage(); pg && pg->web) {
      AddFavourite(pg->sheet->Caption() + "     --" + pg->web->locationURL(), true);
    }
  } else if (&c == &SpeedButton2) {
    ButtonLeft(c);
  } else if (&c == &Button22) {
    if (w) w->refresh();
    if (tabs_.top.web) tabs_.top.web->refresh();
    if (tabs_.bottom.web) tabs_.bottom.web->refresh();
  } else if (&c == &Button19) {
    AddFavourite(Edit1.Caption(), true);
  } else if (&c == &Button21) {
    Farewell();
  }
}

void Teasyie::IndicatorPress() {
  // The wheel tip's toggle: setting, its marker and `Label26` agree.
  if (app_.bar.wheeltipform) app_.bar.wheeltipform->ToggleHoldToDrag();
}

void Teasyie::Edit1Key(int& key, ShiftState) {
  if (key != vk::Return) return;
  const std::string t = Edit1.Caption();
  bool have = false;
  for (int i = 0; i < ListBox10.Count() && !have; ++i) have = ListBox10.Item(i) == t;
  if (!have) AddFavourite(t, false);
  if (!t.empty()) {
    Button1Click();
    Panel3.Hide();
  }
}

void Teasyie::WireMenu() {
  for (Control* c : {&SpeedButton1, &SpeedButton64, &SpeedButton67, &SpeedButton3, &SpeedButton6,
                     &SpeedButton2, &Button22, &Button19, &Button21}) {
    c->OnMouseUp = [this, c](MouseButton b, ShiftState, int, int) {
      if (b == MouseButton::Left) ButtonLeft(*c);
      else if (b == MouseButton::Right) ButtonRight(*c);
    };
    c->OnMouseMove = [this, c](ShiftState, int, int) { Hint(*c); };
  }
  for (Control* c : {&SpeedButton63, &SpeedButton64}) {
    c->OnMouseMove = [this, c](ShiftState, int, int) {
      Hint(*c);
      SpeedButton1.SetCaption("X");
    };
  }
  SpeedButton63.OnMouseDown = [this](MouseButton b, ShiftState, int, int) {
    WebBrowser* w = ActiveBrowser();
    if (!w) return;
    w->stop();
    if (b == MouseButton::Left) w->goBack();
    else if (b == MouseButton::Right) w->goForward();
  };
  // The page list: the page under the pointer is shown at once.
  ListBox1.OnMouseMove = [this](ShiftState, int, int y) {
    Hint(ListBox1);
    PageControl1.Show();
    ListBox10.Hide();
    const int row = platform().listItemFromPoint(ListBox1.Handle(), {2, y});
    const int i = row >= 0 ? row : ListBox1.ItemIndex();
    if (i >= 0 && i < ListBox1.Count() && i != ListBox1.ItemIndex()) ListBox1.SetItemIndex(i);
    if (i >= 0 && i < PageCount()) Activate(i);
    if (tabs_.top.host->Top() != 0 || CppWebBrowser2.Left() >= 0) {
      CppWebBrowser2.SetLeft(-2000);
      NormalBanners();
    }
  };
  ListBox1.OnMouseUp = [this](MouseButton b, ShiftState, int, int) {
    if (b == MouseButton::Left) {
      ParkMenu();
      RunUpDownWheel();
    } else if (b == MouseButton::Right) {
      Button35Click();
    }
  };
  ListBox10.OnMouseMove = [this](ShiftState, int, int y) {
    Hint(ListBox10);
    const int i = platform().listItemFromPoint(ListBox10.Handle(), {2, y});
    if (i < 0 || i >= ListBox10.Count()) return;
    if (i != ListBox10.ItemIndex()) ListBox10.SetItemIndex(i);
    Edit1.SetCaption(ListBox10.Item(i));
  };
  ListBox10.OnMouseUp = [this](MouseButton b, ShiftState, int, int) {
    const int i = ListBox10.ItemIndex();
    if (i < 0 || i >= ListBox10.Count()) return;
    if (b == MouseButton::Left) {
      std::string e = ListBox10.Item(i);
      const std::size_t at = e.find("--");
      if (at != std::string::npos) e = e.substr(at + 2);
      OpenAddress(e);
      ParkMenu();
      RunUpDownWheel();
    } else if (b == MouseButton::Right) {
      ListBox10.Delete(i);
    }
  };
  FileListBox1.OnMouseMove = [this](ShiftState, int, int y) {
    Hint(FileListBox1);
    const int i = platform().listItemFromPoint(FileListBox1.Handle(), {2, y});
    if (i >= 0 && i != FileListBox1.ItemIndex()) FileListBox1.SetItemIndex(i);
  };
  FileListBox1.OnMouseUp = [this](MouseButton b, ShiftState, int, int) {
    if (b == MouseButton::Left || b == MouseButton::Right) OpenSystemFavourite(FileListBox1.ItemIndex());
  };
  Edit1.OnMouseMove = [this](ShiftState, int, int) { Hint(Edit1); };
  Edit1.OnMouseDown = [this](MouseButton b, ShiftState, int, int) {
    ListBox10.Show();
    FileListBox1.Hide();
    if (b == MouseButton::Right) Edit1.SetCaption("");
    platform().setFocus(Edit1.Handle());
  };
  Edit1.OnKeyDown = [this](int& key, ShiftState s) { Edit1Key(key, s); };
  Label8.OnClick = [this] { Label8.Hide(); };
  Panel50.OnMouseDown = [this](MouseButton, ShiftState, int, int) { Label8.Show(); };
  Panel51.OnMouseEnter = [this] {
    if (Tqircom* bar = app_.bar.qircom) {
      bar->Panel28.SetCaption(words::web::UpFar);
      bar->SetLeft(-200);
    }
    if (app_.bar.qirForm3) app_.bar.qirForm3->SetCaption(words::scroll::WheelPrefix);
    ParkMenu();
  };
  Panel52.OnMouseDown = [this](MouseButton, ShiftState, int, int) {
    ParkMenu();
    RunUpDownWheel();
  };
  Panel3.OnMouseMove = [this](ShiftState, int, int) {
    SpeedButton1.SetCaption("X");
    if (app_.bar.qirForm3) app_.bar.qirForm3->SetCaption(words::scroll::MenuPanel);
    ParkMenu();
  };
  for (Control* c : {&Image1, &wheelmode, &Label26}) {
    c->OnMouseDown = [this](MouseButton, ShiftState, int, int) { IndicatorPress(); };
  }
}

}  // namespace sq
