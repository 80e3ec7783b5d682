// The browser window: its ring of tab pages, the address box, the menu
// panel's buttons and lists, titles, popups and its files.
#include <gtest/gtest.h>

#include <filesystem>

#include "bar/qircom.h"
#include "bar/wheeltipform.h"
#include "tests/browser_harness.h"
#include "tests/shipped_pages.h"

namespace sq {
namespace {

using testing::Web;

TEST(BrowserRing, TabsWrapAfterTwelveSlotsAndOlderTabsStay) {
  Web w;
  ASSERT_TRUE(w.Start());
  // No page finishes loading, so the tabs keep their slot names.
  w.sim.setBrowsersCompleteAtOnce(false);
  for (int i = 1; i <= 13; ++i) w.Type("http://p" + std::to_string(i) + ".example/");
  const std::vector<std::string> want = {"web1", "web2", "web3", "web4", "web5", "web6", "web7",
                                         "web8", "web9", "web10", "web11", "web0", "web1"};
  EXPECT_TRUE(SameEvents(want, w.Tabs()));
  EXPECT_EQ(w.ie().ActivePageIndex(), 12);
  ASSERT_NE(w.Active(), nullptr);
  EXPECT_EQ(w.Active()->requested().back(), "http://p13.example/");
  // The page list has a line for each tab, older slot-1 tab included.
  EXPECT_EQ(w.Items(w.ie().ListBox1).size(), 13u);
  // An external request reuses the next slot (2 here): the tab made
  // second shows the new address and comes to the front.
  w.sim.setWindowText(w.app.bar.qirForm3->Handle(), "ystopurlhttp://ext.example/");
  w.sim.advance(80);
  EXPECT_EQ(w.Page(1)->requested().back(), "http://ext.example/");
  EXPECT_EQ(w.ie().ActivePageIndex(), 1);
}

TEST(BrowserRing, TheHelpPageOpensAtStartByDefaultAndTheAddressBoxFromTheSharedList) {
  Web w(true);
  ASSERT_TRUE(w.Start());
  w.sim.advance(80);
  ASSERT_EQ(w.ie().PageCount(), 1);
  EXPECT_EQ(w.Page(0)->requested().back(), w.Local("\\ehelp\\easyhelp.htm"));
  EXPECT_EQ(w.TopBanner()->requested().front(), w.Local("\\ehelp\\qsl.html"));
  Web off;
  ASSERT_TRUE(off.Start());
  off.sim.advance(200);
  EXPECT_EQ(off.ie().PageCount(), 0);
  EXPECT_EQ(off.ie().Edit1.Caption(), "about:blank");
}

TEST(BrowserRing, TypedAddressesJoinTheFavouritesOnceAtTheBottom) {
  Web w;
  w.sim.writeFile("url.txt", "first\r\n");
  ASSERT_TRUE(w.Start());
  w.Type("http://a.example/");
  w.Type("http://b.example/");
  w.Type("http://a.example/");
  EXPECT_TRUE(SameEvents({"first", "http://a.example/", "http://b.example/"},
                         w.Items(w.ie().ListBox10)));
  EXPECT_EQ(w.Tabs().size(), 3u);
  EXPECT_EQ(w.app.Finish(), 0);
  std::string file;
  ASSERT_TRUE(w.sim.readFile("url.txt", file));
  EXPECT_EQ(file, "first\r\nhttp://a.example/\r\nhttp://b.example/\r\n");
}

TEST(BrowserRing, EachPageKeepsItsOwnTitle) {
  Web w;
  ASSERT_TRUE(w.Start());
  w.Type("http://a.example/");
  w.Type("http://b.example/");
  // The background page's title changes: its own tab follows, not the one shown.
  w.Page(0)->fireTitleChange("Alpha");
  w.Page(1)->fireTitleChange("Beta");
  EXPECT_TRUE(SameEvents({"Alpha", "Beta"}, w.Tabs()));
  EXPECT_TRUE(SameEvents({"Alpha", "Beta"}, w.Items(w.ie().ListBox1)));
}

TEST(BrowserRing, HoveringThePageListShowsEachPageAndClicksCloseOrLeave) {
  for (unsigned ms : {30u, 150u}) {
    Web w;
    ASSERT_TRUE(w.Start());
    // No page finishes loading, so the tabs keep their slot names.
    w.sim.setBrowsersCompleteAtOnce(false);
    w.Type("http://a.example/");
    w.Type("http://b.example/");
    w.Type("http://c.example/");
    w.OpenMenu();
    // Over the first line: the first page is shown without a click.
    const Rect r = w.sim.getWindowRect(w.ie().ListBox1.Handle());
    w.sim.moveMouse(r.left + 20, r.top + 2 + 3);
    w.sim.advance(40);
    EXPECT_EQ(w.ie().ActivePageIndex(), 0) << ms;
    EXPECT_EQ(w.ie().Panel23.Caption(), "左键转到所选窗口；右键关闭所选窗口");
    w.sim.moveMouse(r.left + 20, r.top + 2 + 13 + 3);
    w.sim.advance(40);
    EXPECT_EQ(w.ie().ActivePageIndex(), 1) << ms;
    // A right click closes the page shown; its line leaves the list.
    w.sim.rightClick(ms);
    w.sim.advance(40);
    EXPECT_TRUE(SameEvents({"web1", "web3"}, w.Tabs())) << ms;
    EXPECT_TRUE(SameEvents({"web1", "web3"}, w.Items(w.ie().ListBox1))) << ms;
  }
}

// One row per button of the menu panel's column: what the hint line reads
// while the pointer rests on it.
TEST(BrowserMenu, EveryButtonNamesBothFunctionsInTheHintLine) {
  Web w;
  ASSERT_TRUE(w.Start());
  w.OpenMenu();
  Teasyie& ie = w.ie();
  const std::vector<std::pair<Control*, std::string>> rows = {
      {&ie.SpeedButton1, "左键关闭浏览器/右键关闭所选窗口"},
      {&ie.SpeedButton63, "左键后退/右键前进"},
      {&ie.SpeedButton64, "左键搜索/右键打开网址"},
      {&ie.SpeedButton67, "左键打开导航/右键打开帮助窗口"},
      {&ie.SpeedButton3, "左键打开系统收藏夹/右键添加到个人收藏夹"},
      {&ie.SpeedButton2, "开放\\屏蔽弹出窗口"},
      {&ie.Button22, "左键停止浏览/右键刷新"},
      {&ie.Button19, "左键保存当前网页/右键设为首页"},
      {&ie.Button21, "左键打开帮助文件/右键退出"},
      {&ie.Edit1, "个人收藏夹输入新地址/右健清空"},
  };
  for (auto& [c, hint] : rows) {
    w.app.bar.qircom->Panel36.SetCaption("old hint");
    w.MoveTo(*c);
    w.sim.advance(40);
    EXPECT_EQ(ie.Panel23.Caption(), hint) << c->Name();
    EXPECT_EQ(w.app.bar.qircom->Panel36.Caption(), "") << c->Name();
  }
}

TEST(BrowserMenu, ButtonsActOnTheActivePageWithEitherMouseButton) {
  for (unsigned ms : {30u, 150u}) {
    Web w;
    ASSERT_TRUE(w.Start());
    // No page finishes loading, so the tabs keep their slot names.
    w.sim.setBrowsersCompleteAtOnce(false);
    w.Type("http://a.example/");
    w.Type("http://b.example/");
    w.OpenMenu();
    Teasyie& ie = w.ie();
    SimBrowser* page = w.Active();
    ASSERT_NE(page, nullptr);
    const int topStops = w.TopBanner()->stops();
    // Stop: the page and both banners; refresh likewise.
    w.Press(ie.Button22, MouseButton::Left, ms);
    EXPECT_EQ(page->stops(), 1) << ms;
    EXPECT_EQ(w.TopBanner()->stops(), topStops + 1) << ms;
    w.Press(ie.Button22, MouseButton::Right, ms);
    EXPECT_EQ(page->refreshes(), 1) << ms;
    // Back and forward on the press itself, each after a stop.
    page->navigate("http://a2.example/");
    w.Press(ie.SpeedButton63, MouseButton::Left, ms);
    EXPECT_EQ(page->locationURL(), "http://b.example/") << ms;
    w.Press(ie.SpeedButton63, MouseButton::Right, ms);
    EXPECT_EQ(page->locationURL(), "http://a2.example/") << ms;
    // Popup blocking toggles with its caption.
    w.Press(ie.SpeedButton2, MouseButton::Left, ms);
    EXPECT_EQ(ie.SpeedButton2.Caption(), "开放");
    w.Press(ie.SpeedButton2, MouseButton::Right, ms);
    EXPECT_EQ(ie.SpeedButton2.Caption(), "屏蔽");
    // The current page into the favourites, at the top.
    page->fireTitleChange("Bee");
    w.Press(ie.SpeedButton3, MouseButton::Right, ms);
    ASSERT_GT(ie.ListBox10.Count(), 0);
    EXPECT_EQ(ie.ListBox10.Item(0), "Bee     --http://a2.example/") << ms;
    // Save As of the page; the menu goes away.
    w.OpenMenu();
    w.Press(ie.Button19, MouseButton::Left, ms);
    ASSERT_FALSE(page->execs().empty());
    EXPECT_EQ(page->execs().back(), (std::pair<int, int>{4, 1}));
    // The maximise toggle: the page control covers the banners and back.
    w.OpenMenu();
    const int top = ie.PageControl1.Top();
    w.Press(ie.SpeedButton6, MouseButton::Left, ms);
    EXPECT_NE(ie.PageControl1.Top(), top) << ms;
    // Close the active page with a right press on "X".
    w.OpenMenu();
    w.Press(ie.SpeedButton1, MouseButton::Right, ms);
    EXPECT_TRUE(SameEvents({"web1"}, w.Tabs())) << ms;
  }
}

// A command bar that something minimised (the shell's "show the desktop",
// another program) is restored by the commands that hand the work back to
// a window: here the menu panel's "X", which runs the bar's page-down
// request. Otherwise it would stay minimised, and the input core could not
// bring it up at the pointer again.
TEST(BrowserMenu, CloseButtonRestoresAMinimisedCommandBar) {
  Web w;
  ASSERT_TRUE(w.Start());
  Teasyie& ie = w.ie();
  w.Type("http://a.example/");
  const Wnd bar = w.app.bar.qircom->Handle();
  w.sim.setMinimized(bar, true);
  ASSERT_TRUE(w.sim.windowState(bar).minimized);
  w.OpenMenu();
  w.Press(ie.SpeedButton1, MouseButton::Left);
  EXPECT_FALSE(w.sim.windowState(bar).minimized);
  EXPECT_FALSE(w.sim.windowState(bar).maximized);
  EXPECT_LT(w.app.bar.qircom->Left(), 0);  // parked, as the request leaves it
}

TEST(BrowserMenu, SearchHelpNavigationAndFarewell) {
  Web w;
  ASSERT_TRUE(w.Start());
  Teasyie& ie = w.ie();
  w.Type("abc");
  w.OpenMenu();
  // Left on search: the search address with the box's text, in a new tab.
  w.Press(ie.SpeedButton64, MouseButton::Left);
  EXPECT_EQ(w.Active()->requested().back(), std::string(Teasyie::kSearchAddress) + "abc&");
  EXPECT_EQ(ie.SpeedButton64.Caption(), "....");
  w.OpenMenu();
  w.Press(ie.SpeedButton67, MouseButton::Left);
  EXPECT_EQ(w.Active()->requested().back(), Teasyie::kNavigationPage);
  EXPECT_LT(ie.Panel3.Left(), 0);
  // Help: opened once, then found again by its title.
  w.OpenMenu();
  w.Press(ie.Button21, MouseButton::Left);
  EXPECT_EQ(w.Active()->requested().back(), w.Local("\\ehelp\\easyhelp.htm"));
  w.Active()->fireTitleChange("Sipquill 操作说明");
  const int pages = ie.PageCount();
  w.Type("http://z.example/");
  w.OpenMenu();
  w.Press(ie.Button21, MouseButton::Left);
  EXPECT_EQ(ie.PageCount(), pages + 1);
  EXPECT_EQ(ie.PageCaption(ie.ActivePageIndex()), "Sipquill 操作说明");
  // Right on "? X": the farewell, then the orderly end.
  w.OpenMenu();
  w.Press(ie.Button21, MouseButton::Right);
  ASSERT_FALSE(w.sim.messageBoxes().empty());
  EXPECT_EQ(w.sim.messageBoxes().back().text.rfind("谢谢您使用！", 0), 0u);
  EXPECT_TRUE(w.sim.quitPosted());
}

TEST(BrowserMenu, SystemFavouritesOpenTheirAddressAndFavouritesListSetsTheBox) {
  for (unsigned ms : {30u, 150u}) {
    Web w;
    w.sim.setSpecialFolder(csidl::Desktop, std::string("C:\\sipquill\\Desktop"));
    std::filesystem::create_directories(w.sim.hostPath("Favorites"));
    w.sim.writeFile("Favorites\\a site.url", "[InternetShortcut]\r\nURL=http://fav.example/\r\n");
    w.sim.writeFile("url.txt", "Home     --http://home.example/\r\nhttp://plain.example/\r\n");
    ASSERT_TRUE(w.Start());
    Teasyie& ie = w.ie();
    w.OpenMenu();
    w.Press(ie.SpeedButton3, MouseButton::Left, ms);
    ASSERT_TRUE(ie.FileListBox1.Visible());
    EXPECT_TRUE(SameEvents({"a site.url"}, w.Items(ie.FileListBox1)));
    const Rect r = w.sim.getWindowRect(ie.FileListBox1.Handle());
    w.sim.moveMouse(r.left + 10, r.top + 5);
    w.sim.advance(20);
    w.sim.click(ms);
    w.sim.advance(40);
    ASSERT_NE(w.Active(), nullptr);
    EXPECT_EQ(w.Active()->requested().back(), "http://fav.example/") << ms;
    // The personal favourites: hovering copies an entry into the address
    // box; a left click opens the address after "--"; a right one deletes.
    w.OpenMenu();
    w.Press(ie.Edit1, MouseButton::Left, ms);
    ASSERT_TRUE(ie.ListBox10.Visible());
    const Rect f = w.sim.getWindowRect(ie.ListBox10.Handle());
    w.sim.moveMouse(f.left + 10, f.top + 2 + 13 + 4);
    w.sim.advance(20);
    EXPECT_EQ(ie.Edit1.Caption(), "http://plain.example/");
    w.sim.moveMouse(f.left + 10, f.top + 2 + 4);
    w.sim.advance(20);
    w.sim.click(ms);
    w.sim.advance(40);
    EXPECT_EQ(w.Active()->requested().back(), "http://home.example/") << ms;
    w.OpenMenu();
    w.Press(ie.Edit1, MouseButton::Left, ms);
    w.sim.moveMouse(f.left + 10, f.top + 2 + 4);
    w.sim.advance(20);
    w.sim.rightClick(ms);
    w.sim.advance(40);
    EXPECT_TRUE(SameEvents({"http://plain.example/"}, w.Items(ie.ListBox10))) << ms;
  }
}

TEST(BrowserPopups, ResizedPopupsGoAfterTheirDownloadWhileBlockingIsOn) {
  Web w;
  ASSERT_TRUE(w.Start());
  // No page finishes loading, so the tabs keep their slot names.
  w.sim.setBrowsersCompleteAtOnce(false);
  w.Type("http://a.example/");
  SimBrowser* opener = w.Active();
  // A script opens fifty windows of its own size.
  for (int i = 0; i < 50; ++i) {
    opener->fireStatusTextChange("http://ad.example/" + std::to_string(i));
    const NewWindowReply reply = opener->fireNewWindow2();
    EXPECT_FALSE(reply.cancel);
    SimBrowser* pop = w.Active();
    EXPECT_EQ(reply.into, pop);
    ASSERT_NE(pop, opener);
    pop->events()->windowSetWidth(300);
    pop->events()->windowSetHeight(200);
  }
  EXPECT_EQ(w.ie().PageCount(), 51);
  const auto before = w.sim.browsers().size();
  w.Active()->fireDownloadComplete();
  w.sim.advance(80);
  // Only the opener is left, shown.
  EXPECT_TRUE(SameEvents({"web1"}, w.Tabs()));
  EXPECT_EQ(w.ie().ActivePageIndex(), 0);
  // Closed pages are kept only up to a bound.
  EXPECT_LE(w.sim.browsers().size() + 38, before);
}

TEST(BrowserPopups, WithBlockingOffAResizedPopupStays) {
  Web w;
  ASSERT_TRUE(w.Start());
  w.Type("http://a.example/");
  w.OpenMenu();
  w.Press(w.ie().SpeedButton2, MouseButton::Left);
  SimBrowser* opener = w.Active();
  opener->fireStatusTextChange("http://ad.example/");
  EXPECT_FALSE(opener->fireNewWindow2().cancel);
  w.Active()->events()->windowSetWidth(300);
  w.Active()->fireDownloadComplete();
  w.sim.advance(80);
  EXPECT_EQ(w.ie().PageCount(), 2);
}

TEST(BrowserFiles, OddFavouritesLinesAreListedAndWrittenBackWhole) {
  Web w;
  const std::string big(1024 * 1024 - 100, 'x');
  std::string nul = "a";
  nul += '\0';
  nul += "b";
  const std::string lead = "tail\x81";
  const std::string file = big + "\r\n" + nul + "\r\n" + lead + "\r\n";
  w.sim.writeFile("url.txt", file);
  ASSERT_TRUE(w.Start());
  EXPECT_EQ(w.ie().ListBox10.Count(), 3);
  w.Type("http://n.example/");
  EXPECT_EQ(w.app.Finish(), 0);
  std::string out;
  ASSERT_TRUE(w.sim.readFile("url.txt", out));
  EXPECT_EQ(out, file + "http://n.example/\r\n");
}

TEST(BrowserFiles, NavigationLogStartsWithItsHeadAndStaysBounded) {
  Web w;
  ASSERT_TRUE(w.Start());
  w.Type("http://a.example/");
  SimBrowser* page = w.Active();
  for (int i = 0; i < 3000; ++i) page->navigate("http://a.example/" + std::string(200, 'q') + std::to_string(i));
  page->fireDocumentComplete();
  EXPECT_EQ(w.app.Finish(), 0);
  std::string his;
  ASSERT_TRUE(w.sim.readFile("his.txt", his));
  EXPECT_EQ(his.rfind("ddf\r\ndd\r\n", 0), 0u);
  EXPECT_LE(his.size(), 256u * 1024u + 512u);
  EXPECT_NE(his.find("q2999\r\n"), std::string::npos);
  EXPECT_NE(his.find("doc--1http://a.example/"), std::string::npos);
}

// Each navigation of a tab writes its "bef--" and "bef--err" lines, then
// "nav--" once the document arrives; the banners' loading writes progress
// lines and no page lines.
TEST(BrowserFiles, NavigationLogHasEachEventsLine) {
  Web w;
  testing::InstallPages(w.sim);
  ASSERT_TRUE(w.Start());
  w.sim.advance(200);
  w.sim.setPage("http://a.example/", "A", "a");
  w.Type("http://a.example/");
  ASSERT_NE(w.Active(), nullptr);
  const int slot = 1;  // the first tab of the ring
  EXPECT_EQ(w.app.Finish(), 0);
  std::string his;
  ASSERT_TRUE(w.sim.readFile("his.txt", his));
  const std::string url = "http://a.example/";
  const std::size_t bef = his.find("\r\nbef--" + std::to_string(slot) + "////" + url + "\r\n");
  ASSERT_NE(bef, std::string::npos) << his;
  const std::size_t err = his.find("\r\nbef--err" + std::to_string(slot) + url + "\r\n", bef);
  ASSERT_NE(err, std::string::npos) << his;
  const std::size_t nav = his.find("\r\nnav--////" + std::to_string(slot) + "\r\n", err);
  ASSERT_NE(nav, std::string::npos) << his;
  EXPECT_NE(his.find("\r\ndoc--" + std::to_string(slot) + url + "\r\n", nav), std::string::npos);
  // The banners' pages were loaded before the tab: their progress only.
  const std::size_t progress = his.find("\r\n///progress\r\n");
  ASSERT_NE(progress, std::string::npos) << his;
  EXPECT_LT(progress, bef);
  EXPECT_EQ(his.find("title.htm"), std::string::npos) << "no page lines of the banners";
}

}  // namespace
}  // namespace sq

namespace sq {
namespace {

using testing::Web;

// A press on the browser's wheel-mode indicator is the wheel tip's toggle:
// the setting flips, and the tip's marker and the indicator's own label
// show "拖" while hold-to-drag is off, nothing while it is on.
TEST(BrowserIndicator, APressTogglesHoldToDragAsTheWheelTipDoes) {
  Web w;
  ASSERT_TRUE(w.Start());
  w.ShowBrowser();
  ASSERT_TRUE(w.ie().Shown());
  CheckBox& lleft = w.app.shell.wrpyreadpanel->lleft;
  const bool before = lleft.Checked();
  for (int press = 1; press <= 2; ++press) {
    w.Press(w.ie().wheelmode, MouseButton::Left, 60);
    const bool on = press == 1 ? !before : before;
    EXPECT_EQ(lleft.Checked(), on) << press;
    EXPECT_EQ(w.app.bar.wheeltipform->Label2.Caption(), on ? "" : "拖") << press;
    EXPECT_EQ(w.app.bar.wheeltipform->Label2.Visible(), !on) << press;
    EXPECT_EQ(w.ie().Label26.Caption(), on ? "" : "拖") << press;
  }
}

}  // namespace
}  // namespace sq
