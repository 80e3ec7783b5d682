// The simulated browser control: the order of its events for a navigation,
// links followed by the user's hands, new windows handed to another
// browser, cancelled and missing pages, long status texts; and the
// program's own pages, shipped with it, loaded in it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/localpage.h"
#include "platform/sim/simtest.h"
#include "tests/shipped_pages.h"

namespace sq {
namespace {

// Records every event of one browser as a line "event argument".
struct Recorder : BrowserEvents {
  std::vector<std::string> seen;
  const WebBrowser* self = nullptr;  // for readyState in documentComplete
  std::string cancelUrl;             // beforeNavigate2 cancels this one
  bool cancelNewWindows = false;
  WebBrowser* handBack = nullptr;    // the browser new windows open in
  bool keepErrorPage = false;        // navigateError answers true

  bool beforeNavigate2(const std::string& url) override {
    seen.push_back("before " + url);
    return url == cancelUrl;
  }
  NewWindowReply newWindow2() override {
    seen.push_back("newwindow");
    return {cancelNewWindows, handBack};
  }
  void downloadBegin() override { seen.push_back("downloadbegin"); }
  void navigateComplete2(const std::string& url) override { seen.push_back("navigated " + url); }
  bool navigateError(const std::string& url, long status) override {
    std::ostringstream s;
    s << "error " << url << " " << std::hex << static_cast<unsigned long>(status);
    seen.push_back(s.str());
    return keepErrorPage;
  }
  void statusTextChange(const std::string& t) override { seen.push_back("status " + t); }
  void titleChange(const std::string& t) override { seen.push_back("title " + t); }
  void windowSetWidth(int w) override { seen.push_back("width " + std::to_string(w)); }
  void windowSetHeight(int h) override { seen.push_back("height " + std::to_string(h)); }
  void documentComplete(const std::string& url) override {
    seen.push_back("complete " + url + (self ? " rs=" + std::to_string(self->readyState()) : ""));
  }
  void downloadComplete() override { seen.push_back("downloadcomplete"); }
  std::vector<std::string> take() {
    std::vector<std::string> r;
    r.swap(seen);
    return r;
  }
};

// A browser window of the program with one browser filling it.
struct Web : ::testing::Test {
  SimDesktop sim;
  Wnd form = 0, host = 0;
  Recorder ev;
  std::unique_ptr<WebBrowser> wb;
  SimBrowser* sb = nullptr;
  std::string dir;

  void SetUp() override {
    WindowSpec f;
    f.kind = Kind::Form;
    f.className = "Teasyie";
    f.bounds = {0, 0, 800, 600};
    form = sim.createWindow(f);
    WindowSpec c;
    c.kind = Kind::Browser;
    c.parent = form;
    c.bounds = {0, 100, 800, 500};
    host = sim.createWindow(c);
    wb = sim.createBrowser(host, &ev);
    ASSERT_TRUE(wb);
    ev.self = wb.get();
    sb = dynamic_cast<SimBrowser*>(wb.get());
    ASSERT_NE(sb, nullptr);
    dir = "file://" + sim.currentDirectory() + "\\";
  }
  // Another browser in the same window (a new tab's, behind this one).
  std::unique_ptr<WebBrowser> another(Recorder& r) {
    WindowSpec c;
    c.kind = Kind::Browser;
    c.parent = form;
    c.visible = false;
    c.bounds = {0, 100, 800, 500};
    auto b = sim.createBrowser(sim.createWindow(c), &r);
    r.self = b.get();
    return b;
  }
  std::string page(const std::string& name) { return dir + name; }
  // Moves the pointer onto link k of the page, as a hand does.
  void pointAt(std::size_t k) {
    Point p = sb->linkPoint(k);
    ASSERT_NE(p, Point{}) << "no link " << k;
    sim.moveMouse(p.x, p.y);
  }
};

const char* kLinks =
    "<html><head><title>链接页</title></head><body>"
    "<a href=\"second.htm\">第二页</a><br>"
    "<a href=\"http://remote.test/win\" target=\"_blank\">新窗口</a><br>"
    "<a href='qir://exit' target=_blank>退出</a>"
    "</body></html>";

TEST_F(Web, NavigationRaisesTheControlsEventsInItsOrderAfterTheHandler) {
  sim.writeFile("links.htm", kLinks);
  // Started from a timer, as the program's handlers do: only
  // beforeNavigate2 comes inside the call, the rest once the handler
  // has returned.
  sim.setTimer(form, 1, 40, [&] {
    EXPECT_TRUE(wb->navigate(page("links.htm"), navflag::NoReadFromCache));
    ev.seen.push_back("handler returns");
    sim.killTimer(form, 1);
  });
  sim.advance(40);
  EXPECT_TRUE(SameEvents({"before " + page("links.htm"), "handler returns", "downloadbegin",
                          "navigated " + page("links.htm"), "title 链接页", "downloadcomplete",
                          "complete " + page("links.htm") + " rs=4"},
                         ev.take()));
  EXPECT_EQ(wb->locationURL(), page("links.htm"));
  EXPECT_EQ(wb->locationName(), "链接页");
  EXPECT_EQ(wb->documentText(), "第二页新窗口退出");
  EXPECT_EQ(sb->requestedFlags(), std::vector<unsigned>{navflag::NoReadFromCache});

  // A page without a title: the control reports its address as the title.
  sim.setPage("http://plain.test/", "", "plain");
  wb->navigate("http://plain.test/");
  EXPECT_TRUE(SameEvents({"before http://plain.test/", "downloadbegin", "navigated http://plain.test/",
                          "title http://plain.test/", "downloadcomplete",
                          "complete http://plain.test/ rs=4"},
                         ev.take()));
}

TEST_F(Web, LoadingHeldOpenUntilTheTestFinishesIt) {
  sim.setPage("http://slow.test/", "慢", "slow");
  sim.setBrowsersCompleteAtOnce(false);
  wb->navigate("http://slow.test/");
  EXPECT_EQ(wb->readyState(), 3);
  EXPECT_TRUE(SameEvents({"before http://slow.test/", "downloadbegin", "navigated http://slow.test/"},
                         ev.take()));
  sb->finishLoading();
  EXPECT_TRUE(SameEvents({"title 慢", "downloadcomplete", "complete http://slow.test/ rs=4"}, ev.take()));
  // Stop drops a navigation under way: the old page stays.
  sim.setPage("http://other.test/", "另", "other");
  wb->navigate("http://other.test/");
  wb->stop();
  sb->finishLoading();
  EXPECT_EQ(wb->locationURL(), "http://other.test/");
  ev.take();
  sim.setBrowsersCompleteAtOnce(true);
  sim.setTimer(form, 2, 40, [&] {
    wb->navigate("http://slow.test/");
    wb->stop();
    sim.killTimer(form, 2);
  });
  sim.advance(40);
  EXPECT_TRUE(SameEvents({"before http://slow.test/", "downloadcomplete"}, ev.take()));
  EXPECT_EQ(wb->locationURL(), "http://other.test/");
}

TEST_F(Web, HoveringAndClickingALinkFollowsItLikeTheControl) {
  sim.writeFile("links.htm", kLinks);
  sim.writeFile("second.htm", "<html><head><title>第二</title></head><body>二</body></html>");
  wb->navigate(page("links.htm"));
  ev.take();
  // Both ends of a person's click: 30 ms and 150 ms between the edges.
  for (unsigned ms : {30u, 150u}) {
    SCOPED_TRACE(ms);
    wb->navigate(page("links.htm"));
    sim.moveMouse(790, 590);
    ev.take();
    pointAt(0);
    EXPECT_TRUE(SameEvents({"status " + page("second.htm")}, ev.take()));
    sim.click(ms);
    EXPECT_TRUE(SameEvents({"before " + page("second.htm"), "downloadbegin",
                            "navigated " + page("second.htm"), "title 第二", "downloadcomplete",
                            "complete " + page("second.htm") + " rs=4"},
                           ev.take()));
    EXPECT_EQ(wb->locationName(), "第二");
  }
  // The pointer leaving a link clears the status text; a press on one link
  // released on another follows neither.
  wb->navigate(page("links.htm"));
  pointAt(2);
  ev.take();
  sim.moveMouse(790, 590);
  EXPECT_TRUE(SameEvents({"status "}, ev.take()));
  pointAt(0);
  sim.leftDown();
  pointAt(2);
  sim.leftUp();
  EXPECT_TRUE(SameEvents({"status " + page("second.htm"), "status qir://exit"}, ev.take()));
  EXPECT_EQ(wb->locationURL(), page("links.htm"));
}

TEST_F(Web, NewWindowOpensInTheBrowserHandedBack) {
  sim.writeFile("links.htm", kLinks);
  sim.setPage("http://remote.test/win", "远程", "remote");
  Recorder tabEv;
  auto tab = another(tabEv);
  ev.handBack = tab.get();
  wb->navigate(page("links.htm"));
  ev.take();
  pointAt(1);
  sim.click(60);
  EXPECT_TRUE(SameEvents({"status http://remote.test/win", "newwindow"}, ev.take()));
  EXPECT_TRUE(SameEvents({"before http://remote.test/win", "downloadbegin",
                          "navigated http://remote.test/win", "title 远程", "downloadcomplete",
                          "complete http://remote.test/win rs=4"},
                         tabEv.take()));
  EXPECT_EQ(tab->locationURL(), "http://remote.test/win");
  EXPECT_EQ(wb->locationURL(), page("links.htm"));
  EXPECT_EQ(sim.findWindow("IEFrame"), 0u);

  // A script's window of its own size: the size first, then the page.
  auto* tsb = dynamic_cast<SimBrowser*>(tab.get());
  Recorder tab2Ev;
  auto tab2 = another(tab2Ev);
  ev.handBack = tab2.get();
  sb->scriptOpen("http://remote.test/win", 300, 200);
  EXPECT_TRUE(SameEvents({"newwindow"}, ev.take()));
  auto got = tab2Ev.take();
  ASSERT_GE(got.size(), 3u);
  EXPECT_TRUE(SameEvents({"width 300", "height 200", "before http://remote.test/win"},
                         {got[0], got[1], got[2]}));
  (void)tsb;

  // Cancelled: no window anywhere. No answer: the control's own window,
  // outside the program. Handed back to itself: dropped.
  ev.handBack = nullptr;
  ev.cancelNewWindows = true;
  pointAt(1);
  sim.click(30);
  EXPECT_EQ(sim.findWindow("IEFrame"), 0u);
  ev.cancelNewWindows = false;
  sim.click(30);
  const Wnd own = sim.findWindow("IEFrame", std::string("远程"));
  EXPECT_NE(own, 0u);
  sim.destroyWindow(own);
  ev.handBack = wb.get();
  const std::size_t before = sim.enumWindows().size();
  ev.take();
  sim.click(30);
  got = ev.take();  // the pointer came back over the link when the window went
  EXPECT_EQ(std::count(got.begin(), got.end(), "newwindow"), 1);
  EXPECT_EQ(got.back(), "newwindow");
  EXPECT_EQ(sim.enumWindows().size(), before);
}

TEST_F(Web, CancelledNavigationLeavesThePageAsItWas) {
  sim.writeFile("links.htm", kLinks);
  wb->navigate(page("links.htm"));
  ev.take();
  ev.cancelUrl = "http://nowhere.test/";
  EXPECT_TRUE(wb->navigate("http://nowhere.test/"));
  EXPECT_TRUE(SameEvents({"before http://nowhere.test/"}, ev.take()));
  EXPECT_EQ(wb->locationURL(), page("links.htm"));
  EXPECT_EQ(wb->readyState(), 4);
  EXPECT_EQ(wb->documentText(), "第二页新窗口退出");
  // A command link asks for a new window, which the program cancels.
  ev.cancelNewWindows = true;
  pointAt(2);
  sim.click(100);
  EXPECT_TRUE(SameEvents({"status qir://exit", "newwindow"}, ev.take()));
  EXPECT_EQ(wb->locationURL(), page("links.htm"));
  // Addresses the control cannot take raise nothing.
  EXPECT_FALSE(wb->navigate(""));
  EXPECT_FALSE(wb->navigate("http://x.test/" + std::string(kMaxBrowserAddress, 'a')));
  EXPECT_TRUE(ev.take().empty());
}

TEST_F(Web, MissingPageShowsTheControlsErrorPageOrKeepsTheOldOne) {
  sim.writeFile("links.htm", kLinks);
  wb->navigate(page("links.htm"));
  ev.take();
  const std::string gone = page("gone.htm");
  wb->navigate(gone);
  EXPECT_TRUE(SameEvents({"before " + gone, "downloadbegin", "error " + gone + " 800c0005",
                          "navigated " + gone, std::string("title ") + SimBrowser::kErrorTitle,
                          "downloadcomplete", "complete " + gone + " rs=4"},
                         ev.take()));
  EXPECT_EQ(wb->locationURL(), gone);
  EXPECT_EQ(wb->documentText(), SimBrowser::kErrorText);
  EXPECT_TRUE(sb->links().empty());
  // A scheme the control does not know is a missing page too.
  ev.keepErrorPage = true;
  wb->navigate(page("links.htm"));
  ev.take();
  wb->navigate("qir://help");
  EXPECT_TRUE(SameEvents({"before qir://help", "downloadbegin", "error qir://help 800c0005",
                          "downloadcomplete"},
                         ev.take()));
  EXPECT_EQ(wb->locationURL(), page("links.htm"));
  EXPECT_EQ(wb->readyState(), 4);
}

TEST_F(Web, StatusTextOfTenThousandCharactersArrivesWhole) {
  const std::string longRef = "http://long.test/" + std::string(10000 - 17, 'q');
  ASSERT_EQ(longRef.size(), 10000u);
  sim.writeFile("long.htm", "<html><body><a href=\"" + longRef + "\">长</a></body></html>");
  wb->navigate(page("long.htm"));
  ev.take();
  pointAt(0);
  auto got = ev.take();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], "status " + longRef);
  // Following it is beyond what the control takes: nothing happens.
  sim.click(50);
  EXPECT_TRUE(ev.take().empty());
  EXPECT_EQ(wb->locationURL(), page("long.htm"));
}

TEST_F(Web, CopyTakesTheSelectedTextOfACompletePage) {
  sim.setPage("http://text.test/", "文", "可以复制的文字");
  sim.setBrowsersCompleteAtOnce(false);
  wb->navigate("http://text.test/");
  wb->execWB(olecmd::SelectAll, olecmd::DontPromptUser);
  wb->execWB(olecmd::Copy, olecmd::DontPromptUser);
  EXPECT_EQ(sim.getClipboardText(), "");  // still loading
  sb->finishLoading();
  wb->execWB(olecmd::Copy, olecmd::DontPromptUser);
  EXPECT_EQ(sim.getClipboardText(), "");  // nothing selected
  wb->execWB(olecmd::SelectAll, olecmd::DontPromptUser);
  wb->execWB(olecmd::Copy, olecmd::DontPromptUser);
  EXPECT_EQ(sim.getClipboardText(), "可以复制的文字");
}

// ---------------------------------------------------------------- own pages

using testing::InstallPages;

TEST_F(Web, OwnPagesLoadAndEveryLinkLeadsToAPageOrACommand) {
  InstallPages(sim);
  // Command links the browser window and the life panel know.
  auto isCommand = [](const std::string& u) {
    for (const char* p : {"qir://exit", "qir://help", "qir://close", "qir://bbs", "qir://http",
                          "qirx://back"})
      if (u.rfind(p, 0) == 0) return true;
    return u.size() >= 6 && u.rfind("qir", 0) == 0 && std::isdigit(static_cast<unsigned char>(u[3])) &&
           std::isdigit(static_cast<unsigned char>(u[4])) && std::isdigit(static_cast<unsigned char>(u[5]));
  };
  std::vector<std::string> todo = {"\\title.htm", "\\helptitle.htm", "\\ehelp\\easyhelp.htm",
                                   "\\easyhelp\\easyhelp.htm", "\\ehelp\\qsl.html", "\\ehelp\\bot.htm"};
  std::set<std::string> done;
  int commands = 0;
  while (!todo.empty()) {
    std::string url = "file://" + sim.currentDirectory() + todo.back();
    todo.pop_back();
    if (!done.insert(url).second) continue;
    SCOPED_TRACE(url);
    ev.take();
    OpenLocalPage(sim, *wb, url.substr(7 + sim.currentDirectory().size()));
    auto got = ev.take();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back(), "complete " + url + " rs=4");
    EXPECT_EQ(std::count_if(got.begin(), got.end(), [](auto& s) { return s.rfind("error", 0) == 0; }), 0);
    EXPECT_NE(wb->locationName(), url) << "no title";
    for (const SimLink& l : sb->links()) {
      if (isCommand(l.href)) {
        ++commands;
        // The browser window runs commands when a page asks for a new
        // window; the life panel's "qirx://" ones run on hovering already.
        if (l.href.rfind("qirx://", 0) != 0) {
          EXPECT_FALSE(l.target.empty()) << l.href << ": a command must ask for a new window";
        }
        continue;
      }
      ASSERT_EQ(l.href.find("://"), std::string::npos) << "own pages link only to own pages";
      std::string rel = l.href;
      std::replace(rel.begin(), rel.end(), '/', '\\');
      const std::string folder = url.substr(7 + sim.currentDirectory().size());
      todo.push_back(folder.substr(0, folder.rfind('\\') + 1) + rel);
    }
  }
  EXPECT_GE(done.size(), 11u);
  EXPECT_GE(commands, 6);
  // The help pages carry the titles the browser finds them by.
  OpenLocalPage(sim, *wb, "\\ehelp\\easyhelp.htm");
  EXPECT_NE(wb->locationName().find("操作说明"), std::string::npos);
  EXPECT_NE(wb->locationName().find("Sipquill"), std::string::npos);
  OpenLocalPage(sim, *wb, "\\easyhelp\\easyhelp.htm");
  EXPECT_NE(wb->locationName().find("操作说明"), std::string::npos);
  EXPECT_NE(wb->locationName().find("Quelmor"), std::string::npos);
  EXPECT_EQ(wb->locationName().find("Sipquill"), std::string::npos);
  // Every local page is opened past the cache.
  for (unsigned f : sb->requestedFlags()) EXPECT_EQ(f, navflag::NoReadFromCache);
}

// Every link of every shipped page, pointed at and clicked as a hand does:
// the status text is the address as the control resolves it, and that is
// what the program acts on. A command must read as a command there (an
// address without a scheme resolves as a file next to the page), and every
// other link must lead to a shipped page.
TEST_F(Web, EveryLinkOfEveryShippedPageClickedLeadsToAPageOrACommand) {
  InstallPages(sim);
  const std::vector<std::string> pages = testing::ShippedPages();
  ASSERT_GE(pages.size(), 11u);
  auto command = [](const std::string& u) {
    for (const char* p : {"qir://exit", "qir://help", "qir://close", "qir://bbs", "qir://http",
                          "qirx://back"})
      if (u.rfind(p, 0) == 0) return true;
    return u.size() >= 6 && u.rfind("qir", 0) == 0 && std::isdigit(static_cast<unsigned char>(u[3])) &&
           std::isdigit(static_cast<unsigned char>(u[4])) && std::isdigit(static_cast<unsigned char>(u[5]));
  };
  int links = 0, commands = 0;
  for (const std::string& name : pages) {
    OpenLocalPage(sim, *wb, name);
    const std::size_t count = sb->links().size();
    for (std::size_t k = 0; k < count; ++k) {
      OpenLocalPage(sim, *wb, name);
      ASSERT_EQ(sb->links().size(), count);
      const SimLink link = sb->links()[k];
      SCOPED_TRACE(name + " link " + std::to_string(k) + " " + link.href);
      ++links;
      ev.take();
      pointAt(k);
      sim.advance(20);
      const auto hovered = ev.take();
      ASSERT_EQ(hovered.size(), 1u);
      ASSERT_EQ(hovered[0].rfind("status ", 0), 0u);
      const std::string status = hovered[0].substr(7);
      // The program cancels its own commands when they come as a
      // navigation; new windows are answered for it here.
      const bool isOwn = status.rfind("qir", 0) == 0;
      if (isOwn) ev.cancelUrl = status;
      ev.cancelNewWindows = true;
      sim.click(40);
      sim.advance(200);
      const auto clicked = ev.take();
      ev.cancelUrl.clear();
      ev.cancelNewWindows = false;
      if (isOwn) {
        ++commands;
        EXPECT_TRUE(command(status)) << status << ": not a command the program knows";
        ASSERT_FALSE(clicked.empty());
        EXPECT_TRUE(clicked[0] == "newwindow" || clicked[0] == "before " + status) << clicked[0];
        EXPECT_EQ(sim.findWindow("IEFrame"), 0u);
        continue;
      }
      EXPECT_EQ(status.rfind(dir, 0), 0u) << status << ": own pages link only to own pages";
      EXPECT_EQ(std::count_if(clicked.begin(), clicked.end(),
                              [](auto& s) { return s.rfind("error", 0) == 0; }),
                0)
          << status << " is not a shipped page";
      ASSERT_FALSE(clicked.empty());
      EXPECT_EQ(clicked.back(), "complete " + status + " rs=4");
    }
  }
  EXPECT_GE(links, 50);
  EXPECT_GE(commands, 8);
}

TEST_F(Web, CommandLinkOfTheHelpPageIsTheStatusTextWhenItAsksForAWindow) {
  InstallPages(sim);
  OpenLocalPage(sim, *wb, "\\ehelp\\easyhelp.htm");
  std::size_t exitLink = sb->links().size();
  for (std::size_t i = 0; i < sb->links().size(); ++i)
    if (sb->links()[i].href == "qir://exit") exitLink = i;
  ASSERT_LT(exitLink, sb->links().size());
  ev.cancelNewWindows = true;
  ev.take();
  pointAt(exitLink);
  sim.click(40);
  EXPECT_TRUE(SameEvents({"status qir://exit", "newwindow"}, ev.take()));
  EXPECT_EQ(sim.findWindow("IEFrame"), 0u);
}

}  // namespace
}  // namespace sq
