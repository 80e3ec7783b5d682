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
  int PageCount() const { return static_cast<int>(tabs_.pages.size()); }
  int ActivePageIndex() const { return tabs_.active; }
  WebBrowser* PageBrowser(int i);
  std::string PageCaption(int i);
  WebBrowser* TopBanner() { return tabs_.top.web.get(); }
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
  bool popupBlocking() const { return menu_.blockPopups; }
  bool autoscrollActive() const { return wheel_.autoscroll; }

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
  static constexpr const char* kUrlFile = "url.txt";
  static constexpr const char* kHistoryFile = "his.txt";

  // The pages: the ring's slots, the pages in the page control and the
  // closed ones in holders, and the two banners.
  struct Tabs {
    std::vector<std::unique_ptr<TabPage>> pages;   // in the page control
    std::vector<std::unique_ptr<TabPage>> closed;  // in holders
    std::unique_ptr<Control> holder;               // parked page control
    std::array<TabPage*, kRingSlots> slots{};
    int ring = 0;
    int active = -1;
    TabPage top, bottom;
  };
  Tabs tabs_;
  // What the pages last said: the status text and the page it came from,
  // the life panel's link, whether status texts go to the log (between a
  // new window's request and its answer) and a purge of popups to come.
  struct PageState {
    std::string lastStatus;
    const TabPage* lastStatusFrom = nullptr;
    std::string lifeLink;
    bool logStatus = false;
    bool purgePending = false;
  };
  PageState page_;
  // The menu panel's switches and what its buttons left for the timer.
  struct MenuFlags {
    bool blockPopups = true;
    bool helpAtStartPending = false;
    bool speed1Pressed = false;
  };
  MenuFlags menu_;
  // The lists' files: the favourites as read and as shown, the system
  // favourites' files, and the navigation log's size.
  struct Lists {
    LineFile urls;                      // url.txt as read
    std::vector<std::string> urlsShown;  // each favourite as the list showed it
    std::vector<std::string> favouriteFiles;
    std::size_t logBytes = 0;
  };
  Lists lists_;
  int sw_ = 1024, sh_ = 768;  // screen in 96-DPI units
  // The wheel timer's state: the input remembered, the automatic scroll
  // and where it started, the far mode and the wheel's reference point.
  struct WheelState {
    std::string rememberedInput;
    bool autoscroll = false;
    Point autoStart{0, 0};
    bool farMode = false;
    Point wheelRef{0, 0};
  };
  WheelState wheel_;
};

// Whether `under` is a control of the command bar or a window of the
// browser: where the pointer's presses are the program's own, not the
// user's in another program (two right presses there are no double right
// click).
bool OverBarOrBrowser(App& app, Wnd under);

}  // namespace sq
