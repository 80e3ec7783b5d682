// The built-in browser window: the ring of tab pages, the menu panel at
// the pointer, favourites and the navigation log, command links of the
// program's own pages, requests of other programs, and the two timers that
// serve the wheel words of the whole system.
//
// Other forms touch: its address box Edit1 and Button1Click (open an
// address: the command bar, the main form, the mouse picture window, the
// input core), its place and Shown (the command bar, the main form, the
// life panel, the input core), the menu panel Panel3 and the page panels
// Panel9 and Panel42, the active browser (ActiveBrowser: the command bar's
// clipboard, the life panel, the input core), the page list (ListBox11,
// RebuildPageList) and the wheel words (midmess, wfocus, Timer3: the
// scroll-mode window and the life panel).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/frame/form.h"
#include "app/frame/textfile.h"
#include "forms/easyie_controls.h"

namespace sq {

class Teasyie;

// One tab page: its sheet in the page control, the window hosting its
// browser, and the browser. A page closed or purged moves to a holder and
// keeps its browser until the holder is full.
struct TabPage {
  std::unique_ptr<Control> sheet;
  std::unique_ptr<Control> host;
  std::unique_ptr<BrowserEvents> events;
  std::unique_ptr<WebBrowser> web;
  int slot = 0;
};

class Tlifeform;
// The events of the life panel's browser: its status texts and new-window
// requests go to the browser window's link handling.
std::unique_ptr<BrowserEvents> LifeLinkEvents(App& app, Tlifeform& life);

class Teasyie : public Form, public easyie_controls {
 public:
  explicit Teasyie(App& app);
  ~Teasyie() override;
  void FormCreate() override;
  void FormClose() override;
  void FormDestroy() override;
  // Opens the address box's text in a new tab.
  void Button1Click();
  // Help at start: the address box gets the help page when the option is set.
  void Button10Click();
  // Left button of "? X": the operating-instructions page.
  void Button21Click();
  // Closes the active page (the command bar's close command).
  void Button35Click();
  // Parks the browser window.
  void Button14Click();
  // Gives the active page the keyboard focus once it has a document.
  void wfocusClick();
  // "file://" + current directory + "\ehelp\easyhelp.htm".
  std::string HelpAddress();
  void Timer1Timer();
  void Timer3Timer();

  // The browser of the page shown, null when there is none (copy and paste
  // of the input core go to it).
  WebBrowser* ActiveBrowser();
  // Whether `w` is one of the browser's windows: a child of the browser
  // window, of its page panel or of its menu panel.
  bool HoldsChild(Wnd w);
  // Pages in the page control, in tab order, and the one shown.
  int PageCount() const { return static_cast<int>(pages_.size()); }
  int ActivePageIndex() const { return active_; }
  WebBrowser* PageBrowser(int i);
  std::string PageCaption(int i);
  WebBrowser* TopBanner() { return top_.web.get(); }
  // True when `url` is one of the program's own local pages: a "file:"
  // address of a file inside the working directory.
  bool IsOwnPage(const std::string& url);

  // The life panel's browser: a status text and a new-window request
  // (true: cancel it), with the address of the page that shows the link.
  void LifeStatusText(const std::string& text, const std::string& pageUrl);
  bool LifeNewWindow(const std::string& pageUrl);
  // A navigation of the life panel's browser: true cancels it.
  bool LifeBeforeNavigate(const std::string& url, const std::string& pageUrl);

  static constexpr int kBannerHeight = 150;
  static constexpr int kRingSlots = 12;
  // Pages the page control holds at most; past it the oldest page closes.
  static constexpr int kMaxPages = 64;
  // Closed pages kept alive in holders; past it the oldest is destroyed.
  static constexpr int kMaxClosed = 12;
  // An address is cut to this many bytes before it is opened.
  static constexpr std::size_t kMaxAddress = kMaxBrowserAddress;
  static const char* const kSearchAddress;
  // The search of `text`: kSearchAddress + the text percent-encoded + "&",
  // at most kMaxAddress bytes.
  static std::string SearchAddress(const std::string& text);
  static const char* const kMakerPage;
  static const char* const kNavigationPage;
  static const char* const kDropFile;  // "qirnewurl.txt"

  bool showHelpAtStart() const { return app_.settings.ShowHelp(); }
  bool showWebAtStart() const { return app_.settings.ShowWeb(); }
  bool popupBlocking() const { return blockPopups_; }
  bool autoscrollActive() const { return autoscroll_; }

  // Events of one browser, forwarded by its event sink.
  bool PageBeforeNavigate(TabPage* page, const std::string& url);
  NewWindowReply PageNewWindow(TabPage* page);
  void PageSetSize(TabPage* page, int w, int h);  // -1: unchanged
  void PageStatusText(TabPage* page, const std::string& text);
  void PageNavigateComplete(TabPage* page);
  void BannerProgress(TabPage* page);
  void BannerProperty(TabPage* page, const std::string& name);
  void PageTitle(TabPage* page, const std::string& title);
  void PageDocumentComplete(TabPage* page, const std::string& url);
  void PageDownloadComplete(TabPage* page);
  // The tab list (`ListBox1`) filled again with the pages' captions, in
  // page order, when it does not hold one line per page.
  void RebuildPageList();

 private:
  // ---- the ring and its pages ----
  TabPage* NewTab();                  // advances the ring (11 -> 0)
  void OpenAddress(const std::string& url);  // Edit1 := url; Button1
  void Navigate(WebBrowser* w, const std::string& url);
  void Activate(int i);
  void ClosePage(int i);              // to a holder
  void HoldClosed(std::unique_ptr<TabPage> page);
  int IndexOf(const TabPage* page) const;
  TabPage* ActivePage();
  void ExternalOpen();                // the ring's 11 -> 1 path
  void SetPageHeights();
  // ---- layout ----
  void NormalBanners();
  void ToggleMaximize();
  void ParkMenu();
  bool MenuShown();
  void ShowMenuAt(Point screen);
  Point ToUnits(Point screen);
  // ---- lists and files ----
  void AddFavourite(const std::string& entry, bool top);
  void Log(const std::string& line);
  void OpenSystemFavourite(int i);
  void FillSystemFavourites();
  // ---- the menu panel's controls ----
  void WireMenu();
  void Hint(Control& c);
  void RunUpDownWheel();
  void Farewell();
  void ButtonLeft(Control& c);
  void ButtonRight(Control& c);
  void IndicatorPress();
  void Edit1Key(int& key, ShiftState);
  // ---- command links and requests ----
  bool CommandLink(TabPage* asker);   // true: cancel the new window
  void ScrollCaptionRequest();
  void DropFileRequest();
  void InputCaptionRequests();
  void SearchRequest();
  void EasyHelp();
  void ShowHelpPage(const std::string& address, const char* name);
  // ---- Timer1 steps ----
  void ImeMarkers();
  void CornerModes();
  void AutoscrollEnd();
  void WheelEvent(const std::string& word);
  void StartAutoscroll(bool up);
  void PopupPurge();
  void EmptyTab();
  void MenuEscape();
  bool OverMenu(Wnd under);
  bool OverBar(Wnd under);

  App& app_;
  LineFile urls_;                      // url.txt as read
  std::vector<std::string> urlsShown_;  // each favourite as the list showed it
  static constexpr const char* kUrlFile = "url.txt";
  static constexpr const char* kHistoryFile = "his.txt";

  std::vector<std::unique_ptr<TabPage>> pages_;   // in the page control
  std::vector<std::unique_ptr<TabPage>> closed_;  // in holders
  std::unique_ptr<Control> holder_;                // parked page control
  std::array<TabPage*, kRingSlots> slots_{};
  int ring_ = 0;
  int active_ = -1;
  TabPage top_, bottom_;
  std::string lastStatus_;
  const TabPage* lastStatusFrom_ = nullptr;
  std::string lifeLink_;
  bool logStatus_ = false;
  bool blockPopups_ = true;
  bool purgePending_ = false;
  bool helpAtStartPending_ = false;
  bool speed1Pressed_ = false;
  std::size_t logBytes_ = 0;
  std::vector<std::string> favouriteFiles_;
  int sw_ = 1024, sh_ = 768;  // screen in 96-DPI units
  // Timer state.
  std::string rememberedInput_;
  bool autoscroll_ = false;
  Point autoStart_{0, 0};
  bool farMode_ = false;
  Point wheelRef_{0, 0};
};

// Whether `under` is a control of the command bar or a window of the
// browser: where the pointer's presses are the program's own, not the
// user's in another program (two right presses there are no double right
// click).
bool OverBarOrBrowser(App& app, Wnd under);

}  // namespace sq
