// Command links of the program's own pages, and the requests other
// windows and programs make of the browser window.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "bar/mousepp.h"
#include "bar/qircom.h"
#include "tests/browser_harness.h"
#include "tests/shipped_pages.h"

namespace sq {
namespace {

using testing::Web;

// The help page from the tray menu: a page of the program's own folder.
SimBrowser* OpenHelp(Web& w) {
  w.sim.queueMenuChoice("帮助");
  w.sim.trayMessage(TFormMain::kTrayId, 517);
  w.sim.advance(80);
  if (w.Active()) w.Active()->fireTitleChange("Sipquill 操作说明");
  return w.Active();
}

struct LinkCase {
  std::string link;
  bool cancelled;      // the control's own window does not open
  int newTabs;         // tabs the request adds
  std::function<void(Web&)> check;
};

std::vector<LinkCase> Cases() {
  return {
      {"qir://bbs/forum", true, 0, nullptr},
      {"qir://exit", true, 0, [](Web& w) { EXPECT_TRUE(w.sim.quitPosted()); }},
      {"qir://help", true, 0,
       [](Web& w) { EXPECT_EQ(w.Active()->requested().back(), w.Local("\\ehelp\\easyhelp.htm")); }},
      {"qir://http://x.example/a", true, 1,
       [](Web& w) { EXPECT_EQ(w.Active()->requested().back(), "http://x.example/a"); }},
      {"qir://close", true, 0, [](Web& w) { EXPECT_EQ(w.ScrollCaption(), "qirclose"); }},
      {"qir002", true, 1,
       [](Web& w) { EXPECT_EQ(w.Active()->requested().back(), Teasyie::kMakerPage); }},
      {"qir003", true, 0, [](Web& w) { EXPECT_FALSE(w.ie().Shown()); }},
      {"qir123", false, 1, nullptr},
      {"qirnothing", true, 0, nullptr},
  };
}

TEST(CommandLinks, RunFromTheProgramsOwnPages) {
  for (const LinkCase& c : Cases()) {
    Web w;
    ASSERT_TRUE(w.Start());
    SimBrowser* help = OpenHelp(w);
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(w.ie().Shown());
    const int pages = w.ie().PageCount();
    help->fireStatusTextChange(c.link);
    const NewWindowReply reply = help->fireNewWindow2();
    EXPECT_EQ(reply.cancel, c.cancelled) << c.link;
    // An ordinary link opens in the new tab's browser, handed back.
    if (!c.cancelled) {
      EXPECT_EQ(reply.into, w.ie().ActiveBrowser()) << c.link;
    }
    EXPECT_EQ(w.ie().PageCount(), pages + c.newTabs) << c.link;
    if (c.check) c.check(w);
  }
}

TEST(CommandLinks, DroppedFromAnyOtherPage) {
  for (const LinkCase& c : Cases()) {
    for (const std::string& from :
         {std::string("http://evil.example/"), std::string("file://C:\\elsewhere\\x.htm"),
          std::string("file://C:\\sipquill\\..\\elsewhere\\x.htm")}) {
      Web w;
      ASSERT_TRUE(w.Start());
      w.Type("http://evil.example/");
      SimBrowser* page = w.Active();
      page->navigate(from);
      const int pages = w.ie().PageCount();
      const auto marks = w.sim.mark();
      page->fireStatusTextChange(c.link);
      EXPECT_TRUE(page->fireNewWindow2().cancel) << c.link << " from " << from;
      EXPECT_EQ(w.ie().PageCount(), pages) << c.link;
      EXPECT_FALSE(w.sim.quitPosted()) << c.link;
      EXPECT_TRUE(w.ie().Shown()) << c.link;
      EXPECT_NE(w.ScrollCaption(), "qirclose") << c.link;
      EXPECT_TRUE(w.sim.eventsSince(marks, simfilter::input()).empty()) << c.link;
    }
  }
}

TEST(CommandLinks, ALinkShownByAnotherPageDoesNotRunFromTheHelpPage) {
  Web w;
  ASSERT_TRUE(w.Start());
  SimBrowser* help = OpenHelp(w);
  w.Type("http://evil.example/");
  w.Active()->fireStatusTextChange("qir://exit");
  EXPECT_TRUE(help->fireNewWindow2().cancel);
  EXPECT_FALSE(w.sim.quitPosted());
  // An ordinary link of the help page opens as a tab of the ring.
  const int pages = w.ie().PageCount();
  help->fireStatusTextChange("http://www.example.com/");
  EXPECT_FALSE(help->fireNewWindow2().cancel);
  EXPECT_EQ(w.ie().PageCount(), pages + 1);
}

TEST(LifeLinks, BackLinksShowTheHintPageOtherLinksOpenATab) {
  Web w;
  ASSERT_TRUE(w.Start());
  auto* life = dynamic_cast<SimBrowser*>(w.app.browser.lifeform->browser());
  ASSERT_NE(life, nullptr);
  ASSERT_EQ(life->locationURL(), w.Local("\\helptitle.htm"));
  life->fireStatusTextChange("http://news.example/");
  EXPECT_TRUE(life->fireNewWindow2().cancel);
  EXPECT_TRUE(w.ie().Shown());
  ASSERT_NE(w.Active(), nullptr);
  EXPECT_EQ(w.Active()->requested().back(), "http://news.example/");
  // The back link acts when clicked, not on hovering; with no other hint
  // page beside it the hint page comes again.
  const auto loads = life->requested().size();
  life->fireStatusTextChange("qirx://back/");
  EXPECT_EQ(life->requested().size(), loads);
  EXPECT_TRUE(life->fireNewWindow2().cancel);
  EXPECT_EQ(life->requested().size(), loads + 1);
  EXPECT_EQ(life->requested().back(), w.Local("\\helptitle.htm"));
  // A file link is left to the control.
  const int pages = w.ie().PageCount();
  life->fireStatusTextChange("file://C:\\x.htm");
  EXPECT_FALSE(life->fireNewWindow2().cancel);
  EXPECT_EQ(w.ie().PageCount(), pages);
  // On a foreign page no command link runs: dropped, no window, no tab.
  life->navigate("http://evil.example/");
  const auto loads2 = life->requested().size();
  for (const char* link : {"qirx://back", "qir://exit", "qirx://anything"}) {
    life->fireStatusTextChange(link);
    EXPECT_TRUE(life->fireNewWindow2().cancel) << link;
  }
  EXPECT_EQ(life->requested().size(), loads2);
  EXPECT_EQ(w.ie().PageCount(), pages);
  EXPECT_FALSE(w.sim.quitPosted());
}

// The hint bar's "换一条提示" as shipped, clicked: the control never loads
// the command address, and each click brings the next hint, after the last
// the first again.
TEST(LifeLinks, NextHintLinkClickedBringsTheNextHintAndLoadsNoCommand) {
  Web w;
  testing::InstallPages(w.sim);
  ASSERT_TRUE(w.Start());
  auto* life = dynamic_cast<SimBrowser*>(w.app.browser.lifeform->browser());
  ASSERT_NE(life, nullptr);
  w.sim.advance(200);
  ASSERT_EQ(life->locationURL(), w.Local("\\helptitle.htm"));
  std::vector<std::string> seen;
  for (int click = 0; click < 5; ++click) {
    SCOPED_TRACE(click);
    const std::string text = life->documentText();
    EXPECT_NE(life->locationName(), SimBrowser::kErrorTitle);
    ASSERT_EQ(life->links().size(), 1u);
    ASSERT_EQ(life->links()[0].text, "换一条提示");
    seen.push_back(life->locationURL());
    // The link's row, left of the panel's strip of labels.
    const Point at = {w.sim.getWindowRect(life->page()).left + 60, life->linkPoint(0).y};
    ASSERT_EQ(w.sim.windowFromPoint(at), life->page());
    w.sim.moveMouse(at.x, at.y);
    w.sim.advance(100);
    EXPECT_EQ(life->locationURL(), seen.back()) << "hovering changes nothing";
    w.sim.click(40);
    w.sim.advance(200);
    EXPECT_NE(life->documentText(), text);
    w.sim.moveMouse(at.x, at.y + 60);
    w.sim.advance(100);
  }
  EXPECT_EQ(seen[1], w.Local("\\helptitle2.htm"));
  EXPECT_EQ(seen[2], w.Local("\\helptitle3.htm"));
  EXPECT_EQ(seen[3], w.Local("\\helptitle4.htm"));
  EXPECT_EQ(seen[4], w.Local("\\helptitle.htm"));
  for (const std::string& u : life->history()) EXPECT_EQ(u.rfind("qir", 0), std::string::npos) << u;
  EXPECT_FALSE(w.ie().Shown());
  EXPECT_EQ(w.sim.findWindow("IEFrame"), 0u);
}

// A command address reached without a new window (a link of an own page
// with no target, or one typed into the address box) is never loaded.
TEST(CommandLinks, AreCancelledAsNavigations) {
  Web w;
  testing::InstallPages(w.sim);
  ASSERT_TRUE(w.Start());
  w.Type("qirx://back");
  w.Type("qir://bbs");
  for (int i = 0; i < w.ie().PageCount(); ++i)
    for (const std::string& u : w.Page(i)->history())
      EXPECT_EQ(u.rfind("qir", 0), std::string::npos) << u;
}

// A double Alt tap into a text editor: true when it pasted.
bool AltTapsPaste(Web& w, Wnd ed) {
  w.sim.setEditorText(ed, "");
  const Rect r = w.sim.getWindowRect(ed);
  w.sim.moveMouse(r.left + 50, r.top + 50);
  w.sim.click(30);
  w.sim.advance(200);
  for (int i = 0; i < 2; ++i) {
    w.sim.keyDown(vk::Menu);
    w.sim.advance(25);
    w.sim.keyUp(vk::Menu);
    w.sim.advance(25);
  }
  w.sim.advance(400);
  return w.sim.editorText(ed) == "粘贴文本";
}

// The help page's "停止手势（直到重新启动）", clicked, and the caption word
// that asks the same: the gestures stop.
TEST(CommandLinks, StopGesturesLinkAndWordStopTheGestures) {
  for (bool byWord : {false, true}) {
    SCOPED_TRACE(byWord);
    Web w;
    testing::InstallPages(w.sim);
    ASSERT_TRUE(w.Start());
    const Wnd ed = w.sim.addTextEditor({100, 300, 400, 300});
    w.sim.setClipboardText("粘贴文本");
    ASSERT_TRUE(AltTapsPaste(w, ed));
    if (byWord) {
      w.sim.setWindowText(w.app.input.qirinputor->Handle(), "qir:close");
      w.sim.advance(200);
    } else {
      SimBrowser* help = OpenHelp(w);
      ASSERT_NE(help, nullptr);
      w.sim.advance(200);
      // The pointer on each link in turn, clicked.
      auto clickLink = [&](const std::string& href) {
        for (std::size_t k = 0; k < help->links().size(); ++k) {
          if (help->links()[k].href != href) continue;
          const Point at = help->linkPoint(k);
          w.sim.moveMouse(at.x, at.y);
          w.sim.advance(60);
          w.sim.click(40);
          w.sim.advance(200);
          return true;
        }
        return false;
      };
      ASSERT_TRUE(clickLink("qir://close"));
      EXPECT_TRUE(w.ie().Shown());
      ASSERT_TRUE(clickLink("qir003:back"));  // "收起浏览器"
      EXPECT_FALSE(w.ie().Shown());
    }
    EXPECT_EQ(w.ScrollCaption(), "qirclose");
    EXPECT_FALSE(AltTapsPaste(w, ed));
    EXPECT_FALSE(AltTapsPaste(w, ed));
  }
}

TEST(ExternalRequests, ScrollCaptionAddressIsOpenedAndAnswered) {
  Web w;
  ASSERT_TRUE(w.Start());
  w.Type("http://a.example/");
  w.Type("http://b.example/");
  // Slot 3 has no page yet: answered, nothing opened.
  w.sim.setWindowText(w.app.bar.qirForm3->Handle(), "ystopurlhttp://c.example/");
  w.sim.advance(80);
  EXPECT_EQ(w.ScrollCaption(), "ystop browok");
  EXPECT_EQ(w.ie().Panel23.Caption(), "http://c.example/");
  EXPECT_EQ(w.ie().PageCount(), 2);
  // Nothing after the word: still answered; the address box's text goes
  // to the next slot, which wraps from 11 to slot 1.
  for (int i = 0; i < 9; ++i) {
    w.sim.setWindowText(w.app.bar.qirForm3->Handle(), "ystopurl");
    w.sim.advance(80);
    EXPECT_EQ(w.ScrollCaption(), "ystop browok");
  }
  EXPECT_EQ(w.Page(0)->requested().back(), "http://c.example/");
  EXPECT_EQ(w.ie().ActivePageIndex(), 0);
}

TEST(ExternalRequests, DropFileIsReadOnceAndDeleted) {
  Web w;
  ASSERT_TRUE(w.Start());
  w.Type("http://a.example/");
  w.Type("http://b.example/");
  w.Type("http://c.example/");  // slot 3; the next request uses slot 4
  for (int i = 0; i < 8; ++i) w.Type("http://f" + std::to_string(i) + ".example/");
  // A writer still holding the file: it waits.
  w.sim.writeFile(Teasyie::kDropFile, "http://drop.example/\r\nsecond\r\n");
  w.sim.setFileReadsFail(true);
  w.sim.advance(200);
  EXPECT_TRUE(w.sim.fileExists(Teasyie::kDropFile));
  w.sim.setFileReadsFail(false);
  w.sim.advance(80);
  EXPECT_FALSE(w.sim.fileExists(Teasyie::kDropFile));
  EXPECT_EQ(w.ie().Panel23.Caption(), "http://drop.example/");
  int seen = 0;
  for (int i = 0; i < w.ie().PageCount(); ++i)
    for (const auto& u : w.Page(i)->requested()) seen += u == "http://drop.example/";
  EXPECT_EQ(seen, 1);
  // An empty file and a command word are taken away and open nothing new:
  // no tab, and no page asked for an address.
  auto requests = [&] {
    std::size_t n = 0;
    for (int i = 0; i < w.ie().PageCount(); ++i) n += w.Page(i)->requested().size();
    return n;
  };
  w.Type("http://g.example/");  // the address box holds an address to open
  for (const char* text : {"", "qir002cmd open"}) {
    const int pages = w.ie().PageCount();
    const std::size_t asked = requests();
    w.sim.writeFile(Teasyie::kDropFile, text);
    w.sim.advance(80);
    EXPECT_FALSE(w.sim.fileExists(Teasyie::kDropFile)) << text;
    EXPECT_EQ(w.ie().PageCount(), pages) << text;
    EXPECT_EQ(requests(), asked) << text;
  }
}

TEST(ExternalRequests, InputCaptionWordsForHelpAndClose) {
  Web w;
  ASSERT_TRUE(w.Start());
  w.sim.setWindowText(w.app.input.qirinputor->Handle(), "qir:easyhelp");
  w.sim.advance(80);
  EXPECT_EQ(w.InputCaption().rfind("okqir:easyhelp", 0), 0u);
  ASSERT_NE(w.Active(), nullptr);
  EXPECT_EQ(w.Active()->requested().back(), w.Local("\\easyhelp\\easyhelp.htm"));
  w.sim.setWindowText(w.app.input.qirinputor->Handle(), "qir:close");
  w.sim.advance(80);
  EXPECT_EQ(w.ScrollCaption(), "qirclose");
}

// The short guide asked for again by the caption word is found by its own
// title and shown, not opened once more; the help button finds the help
// page the same way, and neither takes the other for itself.
TEST(ExternalRequests, GuideAndHelpPageAreEachOpenedOnceThenShownAgain) {
  Web w;
  testing::InstallPages(w.sim);
  ASSERT_TRUE(w.Start());
  const std::string guide = w.Local("\\easyhelp\\easyhelp.htm");
  const std::string help = w.Local("\\ehelp\\easyhelp.htm");
  auto askGuide = [&] {
    w.sim.setWindowText(w.app.input.qirinputor->Handle(), "qir:easyhelp");
    w.sim.advance(200);
    EXPECT_EQ(w.InputCaption().rfind("okqir:easyhelp", 0), 0u);
  };
  for (int i = 0; i < 3; ++i) {
    askGuide();
    ASSERT_EQ(w.ie().PageCount(), 1) << i;
    ASSERT_NE(w.Active(), nullptr);
    EXPECT_EQ(w.Active()->locationURL(), guide);
  }
  for (int i = 0; i < 2; ++i) {
    OpenHelp(w);
    w.sim.advance(200);
    ASSERT_EQ(w.ie().PageCount(), 2) << i;
    EXPECT_EQ(w.Active()->locationURL(), help);
  }
  askGuide();
  EXPECT_EQ(w.ie().PageCount(), 2);
  EXPECT_EQ(w.Active()->locationURL(), guide);
}

TEST(ExternalRequests, SearchRequestSearchesTheClipboardOnTheNextTick) {
  Web w;
  testing::InstallPages(w.sim);
  ASSERT_TRUE(w.Start());
  w.sim.advance(200);
  // The banner shows the program's local page, as it always does.
  ASSERT_EQ(w.TopBanner()->locationURL().rfind("file://", 0), 0u);
  w.sim.setClipboardText("needle");
  w.ie().Panel37.SetCaption("old--searchmode");  // the command bar's search button
  w.sim.advance(200);
  EXPECT_EQ(w.ie().Panel37.Caption(), "old--xxqqhmode");
  ASSERT_EQ(w.ie().PageCount(), 1);
  EXPECT_EQ(w.Active()->requested().back(), std::string(Teasyie::kSearchAddress) + "needle&");
  EXPECT_EQ(w.ie().SpeedButton64.Caption(), "搜索");
  // A clipboard too long for an address is cut before a whole character.
  std::string big;
  for (int i = 0; i < 2000; ++i) big += "中";
  w.sim.setClipboardText(big);
  w.ie().Panel37.SetCaption("old--searchmode");
  w.sim.advance(200);
  ASSERT_EQ(w.ie().PageCount(), 2);
  const std::string url = w.Active()->requested().back();
  EXPECT_LE(url.size(), kMaxBrowserAddress);
  EXPECT_EQ(url.substr(url.size() - 7), "%D6%D0&");
  // An empty clipboard searches for nothing, a defined address.
  w.sim.setClipboardText("");
  w.ie().Panel37.SetCaption("old--searchmode");
  w.sim.advance(200);
  ASSERT_EQ(w.ie().PageCount(), 3);
  EXPECT_EQ(w.Active()->requested().back(), std::string(Teasyie::kSearchAddress) + "&");
}

TEST(BrowserCopyPaste, TheInputCoreCopiesAndPastesIntoTheShownPage) {
  Web w;
  ASSERT_TRUE(w.Start());
  w.Type("http://a.example/");
  SimBrowser* page = w.Active();
  w.sim.setWindowText(w.app.input.qirinputor->Handle(), "key--ctrlv");
  w.sim.advance(120);
  ASSERT_FALSE(page->execs().empty());
  EXPECT_EQ(page->execs().back(), (std::pair<int, int>{13, 1}));
}

// Two Windows-key taps with the browser on the screen paste through the
// active page's control; no paste keys go anywhere.
TEST(BrowserCopyPaste, TwoWindowsTapsPasteIntoTheShownPage) {
  Web w;
  testing::InstallPages(w.sim);
  ASSERT_TRUE(w.Start());
  w.sim.setWindowText(w.app.input.qirinputor->Handle(), "qir:easyhelp");
  w.sim.advance(200);
  OpenHelp(w);
  w.sim.advance(200);
  ASSERT_TRUE(w.ie().Shown());
  ASSERT_EQ(w.ie().PageCount(), 2);
  SimBrowser* page = w.Active();
  w.sim.setClipboardText("贴");
  w.sim.moveMouse(300, 400);
  w.sim.advance(100);
  const auto m = w.sim.mark();
  const auto before = page->execs().size();
  w.sim.tapKey(vk::LWin, 30);
  w.sim.advance(50);
  w.sim.tapKey(vk::LWin, 30);
  w.sim.advance(200);
  const auto keys = w.Keys(m);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "key 86 down"), 0);
  ASSERT_EQ(page->execs().size(), before + 1);
  EXPECT_EQ(page->execs().back(), (std::pair<int, int>{olecmd::Paste, olecmd::DoDefault}));
  EXPECT_EQ(w.Page(0)->execs().size(), 0u);  // only the active page
}

}  // namespace
}  // namespace sq

namespace sq {
namespace {

// Drags a selection across the shown page from (x, y) 120 px to the right
// and rests there: the life panel opens the selection card at its end.
void DragAcrossPage(Web& w, int x, int y) {
  auto wait = [&](unsigned ms) {
    for (unsigned t = 0; t < ms; t += 5) w.sim.advance(5);
  };
  w.sim.moveMouse(x, y);
  wait(100);
  w.sim.leftDown();
  wait(60);
  for (int dx = 10; dx <= 120; dx += 10) {
    w.sim.moveMouse(x + dx, y);
    wait(5);
  }
  wait(250);
  w.sim.leftUp();
  wait(250);
}

// A right press on the selection card with the browser shown copies the
// page's selection through the active page's control and the smart
// clipboard takes it; over a page with nothing to select the copy leaves
// the clipboard alone and its old text is not taken for a new copy.
TEST(BrowserCopyPaste, RightCopyOnTheSelectionCardCopiesThePageSelection) {
  for (bool text : {true, false}) {
    SCOPED_TRACE(text ? "a page of text" : "a page without text");
    Web w;
    ASSERT_TRUE(w.Start());
    w.app.shell.wrpyreadpanel->lleft.SetChecked(false);
    w.sim.setPage("http://a.example/", "A", text ? "页面文字 words" : "");
    w.Type("http://a.example/");
    ASSERT_TRUE(w.ie().Shown());
    SimBrowser* page = w.Active();
    ASSERT_NE(page, nullptr);
    Tqircom& bar = *w.app.bar.qircom;
    bar.ListBox2.Clear();
    bar.ListBox2.Add("一");
    bar.ListBox2.Add("二");
    w.sim.setClipboardText("旧的");
    DragAcrossPage(w, 620, 450);
    ASSERT_TRUE(w.app.bar.mousepp->Shown());
    ASSERT_EQ(w.app.bar.mousepp->Panel3.Left(), 0);  // the selection card
    const auto before = page->execs().size();
    w.sim.rightDown();
    for (int i = 0; i < 40; ++i) w.sim.advance(5);
    ASSERT_GT(page->execs().size(), before);
    EXPECT_EQ(page->execs().back(), (std::pair<int, int>{olecmd::Copy, olecmd::PromptUser}));
    if (text) {
      EXPECT_EQ(w.sim.getClipboardText(), "页面文字 words");
      ASSERT_EQ(bar.ListBox2.Count(), 3);
      EXPECT_EQ(bar.ListBox2.Item(0), "页面文字 words");
    } else {
      EXPECT_EQ(w.sim.getClipboardText(), "旧的");
      ASSERT_EQ(bar.ListBox2.Count(), 2);
      EXPECT_EQ(bar.ListBox2.Item(0), "一");
      EXPECT_EQ(bar.Edit1.Caption().find("旧的"), std::string::npos);
    }
    w.sim.rightUp();
    w.sim.advance(100);
  }
}

}  // namespace
}  // namespace sq
