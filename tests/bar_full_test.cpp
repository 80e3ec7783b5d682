// The full command bar and the bar's own tick on the simulated desktop.
#include <algorithm>

#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "tests/bar_harness.h"
#include "tests/shipped_pages.h"

namespace sq::testing {
namespace {

TEST(BarFull, BackgroundReleaseGoesToTheDesktopOrTheStartMenu) {
  struct Row {
    const char* name;
    MouseButton button;
    Rect taskbar;
    bool desktop;
    Point pointer;  // after the Start menu
  };
  const std::vector<Row> rows = {
      {"left: desktop", MouseButton::Left, {0, 738, 1024, 30}, true, {}},
      {"right, bottom task bar", MouseButton::Right, {0, 738, 1024, 30}, false, {60, 748}},
      {"right, right-hand task bar", MouseButton::Right, {1000, 0, 24, 768}, false, {1000, 10}},
  };
  for (const Row& row : rows) {
    for (unsigned ms : {30u, 150u}) {
      SCOPED_TRACE(std::string(row.name) + " " + std::to_string(ms));
      BarDesk d;
      ASSERT_TRUE(d.StartOverPage());
      d.sim.setTaskbarRect(row.taskbar);
      d.ShowFullBar(200, 100);
      d.MoveTo("Panel9", 395, 300);
      d.sim.advance(20);
      EXPECT_EQ(d.bar().Panel16.Caption(), "左键转到桌面/右键打开开始菜单");
      const auto m = d.sim.mark();
      d.Press(row.button, ms);
      d.sim.advance(20);
      if (row.desktop) {
        ASSERT_EQ(d.sim.shellExecutes().size(), 1u);
        EXPECT_EQ(d.sim.shellExecutes()[0].file, "qirdesk.scf");
        EXPECT_EQ(d.sim.shellExecutes()[0].verb, "Open");
      } else {
        EXPECT_TRUE(SameEvents({"key 91 down", "key 91 up"}, d.Keys(m)));
        EXPECT_EQ(d.sim.getCursorPos(), row.pointer);
        EXPECT_EQ(d.bar().Height(), 0);
      }
    }
  }
}

TEST(BarFull, TitleHintsFollowThePointer) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  d.ShowFullBar(200, 100);
  d.MoveTo("Panel17", 20, 10);
  d.sim.advance(20);
  EXPECT_EQ(d.bar().Panel16.Caption(), "左键点击--转到桌面/右键点击--打开开始菜单");
  EXPECT_EQ(d.bar().Panel17.Caption(), "滚轮滚动切换窗口 左键:桌面 右键:开始菜单");
  EXPECT_TRUE(d.bar().Panel39.Visible());
  EXPECT_FALSE(d.bar().Panel37.Visible());
  d.MoveTo("Panel17", 350, 10);
  d.sim.advance(20);
  EXPECT_EQ(d.bar().Panel16.Caption(), "左键转到所选窗口/右键关闭所选窗口");
  EXPECT_EQ(d.bar().Panel17.Caption(), "滚轮滚动切换窗口 绿色:滚轮翻页 蓝色:自动滚动");
  EXPECT_FALSE(d.bar().Panel39.Visible());
  EXPECT_TRUE(d.bar().Panel37.Visible());
  // Hovering with the list stale asks for a rebuild (the flag clears).
  EXPECT_LT(d.bar().CppWebBrowser1.Left(), 0);
}

// Over the title's right part the caption of "<=>" leans towards the
// pointer: to its left side left of its middle, centred within 5 px of it,
// to its right side right of it.
TEST(BarFull, SearchCaptionLeansTowardsThePointer) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  d.ShowFullBar(200, 100);
  const Wnd search = d.bar().Panel24.Handle();
  // "<=>"'s middle lies 342 px from the bar's left, 334 px into the title.
  const struct {
    int x;
    TextAlign align;
  } rows[] = {{320, TextAlign::Left},   {328, TextAlign::Left},  {329, TextAlign::Center},
              {339, TextAlign::Center}, {340, TextAlign::Right}, {375, TextAlign::Right},
              {316, TextAlign::Left},   {334, TextAlign::Center}};
  for (const auto& row : rows) {
    d.MoveTo("Panel17", row.x, 10);
    d.sim.advance(20);
    EXPECT_EQ(d.sim.textAlign(search), row.align) << row.x;
  }
  // Over the left part of the title it stays as it was.
  d.MoveTo("Panel17", 100, 10);
  d.sim.advance(20);
  EXPECT_EQ(d.sim.textAlign(search), TextAlign::Center);
  EXPECT_EQ(d.bar().Panel24.Caption(), "<=>");
}

TEST(BarFull, SearchButtonFindsOrSearches) {
  BarDesk d;
  ASSERT_TRUE(d.Start());
  // (Below the life panel across the top.)
  const Wnd left = d.sim.addTextEditor({0, 200, 199, 300}, "left");
  d.ShowFullBar(200, 200);
  d.MoveTo("Panel24", 10, 8);
  d.sim.advance(20);
  EXPECT_EQ(d.bar().Panel16.Caption(), "左键搜索互联网/右键浏览互联网");
  auto m = d.sim.mark();
  d.Press(MouseButton::Right, 40);
  d.sim.advance(20);
  EXPECT_TRUE(SameEvents(CtrlKey('F'), d.Keys(m)));
  EXPECT_EQ(d.sim.getForegroundWindow(), left);
  EXPECT_FALSE(d.bar().Shown());

  d.ShowFullBar(200, 200);
  d.MoveTo("Panel24", 10, 8);
  d.sim.advance(20);
  d.Press(MouseButton::Left, 40);
  d.sim.advance(200);
  EXPECT_EQ(d.app.browser.easyie->Left(), 0);
  // The browser's search mode took the request (and may have answered it).
  const std::string search = d.app.browser.easyie->Panel37.Caption();
  EXPECT_TRUE(search == "old--searchmode" || search == "old--xxsshmode" || search == "old--xxqqhmode")
      << search;
}

// The bar's "<=>" with the program's pages as shipped: the browser
// searches the clipboard text, its bytes percent-encoded so that none of
// them is read as part of the address.
TEST(BarFull, SearchButtonSearchesTheClipboardTextEncoded) {
  BarDesk d;
  testing::InstallPages(d.sim);
  ASSERT_TRUE(d.Start());
  d.sim.advance(200);
  d.sim.setClipboardText("a&b #c 中文+%/d");
  Teasyie& ie = *d.app.browser.easyie;
  const int pages = ie.PageCount();  // the help page at start
  d.ShowFullBar(200, 200);
  d.MoveTo("Panel24", 10, 8);
  d.sim.advance(20);
  d.Press(MouseButton::Left, 40);
  d.sim.advance(400);
  EXPECT_EQ(ie.Left(), 0);
  ASSERT_EQ(ie.PageCount(), pages + 1);
  auto* page = dynamic_cast<SimBrowser*>(ie.ActiveBrowser());
  ASSERT_NE(page, nullptr);
  ASSERT_FALSE(page->requested().empty());
  EXPECT_EQ(page->requested().back(),
            std::string(Teasyie::kSearchAddress) + "a%26b%20%23c%20%D6%D0%CE%C4%2B%25%2Fd&");
  EXPECT_EQ(ie.SpeedButton64.Caption(), "搜索");
  // Once: the request is answered.
  d.sim.advance(400);
  EXPECT_EQ(ie.PageCount(), pages + 1);
}

TEST(BarFull, SystemReportNamesTheSystem) {
  BarDesk d;
  ASSERT_TRUE(d.Start());
  d.sim.setSystemString(SystemString::ComputerName, "DESK7");
  d.sim.setEnvironment("PATH", "C:\\bin");
  d.sim.runClickHandler(d.bar().Button2.Handle());
  EXPECT_EQ(d.Items(d.bar().ListBox7),
            (std::vector<std::string>{"Computer name:  DESK7", "User name:  user",
                                      "System directory:  C:\\windows\\system32",
                                      "Windows directory:  C:\\windows",
                                      "Environment variables (partial list):",
                                      "OS=Windows_NT     NTVERSION=%NTVERSION%", "PATH=C:\\bin",
                                      "LIBPATH=%LIBPATH%", "TMP=C:\\temp"}));
}

// ---- the tick --------------------------------------------------------------------

// Ctrl released, another word, Ctrl pressed and released again: the bar
// marks the pattern once for the input core.
TEST(BarTick, DoubleCtrlMarkerFiresOnce) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  for (const char* w : {"old--17up", "17down", "old--16up", "old--17up"}) {
    d.bar().SetCaption(w);
    d.sim.advance(20);
  }
  EXPECT_EQ(d.bar().Caption(), "17cctest");
  d.sim.advance(60);
  const auto hist = d.Items(d.bar().ListBox8);
  ASSERT_GE(hist.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(hist.begin(), hist.begin() + 5),
            (std::vector<std::string>{"17cctest", "old--17up", "old--16up", "17down",
                                      "old--17up//ccok"}));
  // Real Ctrl taps at either end of a person's key press: the input core
  // marks each tap in the history, so every tap that follows an earlier
  // Ctrl release (the bar's stored caption is one) completes the pattern,
  // once; idle ticks add nothing.
  for (unsigned ms : {30u, 150u}) {
    SCOPED_TRACE(ms);
    BarDesk e;
    ASSERT_TRUE(e.StartOverPage());
    const auto m = e.sim.mark();
    for (int i = 0; i < 2; ++i) {
      e.sim.tapKey(vk::Control, ms);
      e.sim.advance(60);
    }
    e.sim.advance(500);
    const auto h = e.Items(e.bar().ListBox8);
    EXPECT_EQ(std::count(h.begin(), h.end(), "old--17up//ccok"), 2) << ::testing::PrintToString(h);
    const auto caps = e.sim.eventsSince(m, simfilter::captionsOf("Tqircom"));
    EXPECT_EQ(std::count(caps.begin(), caps.end(), "caption Tqircom=17cctest"), 2);
  }
}

TEST(BarTick, DoubleWindowsTapPastesOnceLeftOfThePointer) {
  for (unsigned ms : {30u, 150u}) {
    SCOPED_TRACE(ms);
    BarDesk d;
    ASSERT_TRUE(d.Start());
    const Wnd ed = d.sim.addTextEditor({100, 100, 300, 300});
    d.sim.setClipboardText("贴");
    d.sim.moveMouse(250, 250);
    d.Ticks(1);
    const auto m = d.sim.mark();
    d.sim.tapKey(vk::LWin, ms);
    d.sim.advance(50);
    d.sim.tapKey(vk::LWin, ms);
    d.sim.advance(200);
    EXPECT_EQ(d.sim.editorText(ed), "贴");
    const auto keys = d.Keys(m);
    EXPECT_EQ(std::count(keys.begin(), keys.end(), "key 86 down"), 1);
    EXPECT_EQ(d.bar().ListBox8.Item(0).substr(0, 13), "old--91up//xx");
  }
}

TEST(BarTick, LineCopyRequestIsPassedOn) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  const auto m = d.sim.mark();
  d.app.input.qirinputor->SetCaption("copyx");
  d.sim.advance(20);
  EXPECT_EQ(d.InputCaption(), "ok copyx");
  EXPECT_EQ(d.bar().Panel19.Caption(), "xx copy");
  const auto caret = d.sim.eventsSince(m, simfilter::captionsOf("Tcaretinfo"));
  EXPECT_NE(std::find(caret.begin(), caret.end(), "caption Tcaretinfo=alt2menu--51"), caret.end());
}

TEST(BarTick, LeftPressEndsTheModeAndMarksNoMessage) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  EXPECT_EQ(d.bar().Panel15.Caption(), "PageWnd");  // the class under the pointer
  d.bar().Panel28.SetCaption("up far");
  d.bar().SetCaption("no message");
  d.sim.advance(40);
  EXPECT_EQ(d.bar().Panel28.Caption(), "up far");
  EXPECT_EQ(d.bar().Caption(), "no message");
  d.sim.leftDown();
  d.sim.advance(60);
  EXPECT_EQ(d.bar().Panel28.Caption(), "ok");
  EXPECT_EQ(d.bar().Caption(), "xx//no message");
  d.sim.leftUp();
}

TEST(BarTick, ClipWidgetNeverShowsOnTheFullBar) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  d.ShowFullBar(200, 100);
  d.bar().Panel12.Show();
  d.sim.advance(20);
  EXPECT_FALSE(d.bar().Panel12.Visible());
}

TEST(BarTick, SecondCtrlReleaseWordShiftClicksAndCopies) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  d.app.input.qirinputor->SetCaption("old--17up");
  d.sim.advance(20);
  EXPECT_EQ(d.InputCaption(), "old--mode17");
  const auto m = d.sim.mark();
  d.app.input.qirinputor->SetCaption("old--17up");
  d.sim.advance(20);
  EXPECT_TRUE(SameEvents({"mouse leftup", "key 16 down", "mouse leftdown", "mouse leftup",
                          "key 16 up", "key 17 down", "key 67 down", "key 67 up", "key 17 up"},
                         d.Input(m)));
  EXPECT_EQ(d.bar().Edit1.Caption(), "2ctrl");
}

TEST(BarTick, MenuBeyondTheCornerClosesWhenThePointerIsBack) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  d.ShowFullBar(200, 100);
  d.MoveTo("Panel16", 20, 10);
  auto m = d.sim.mark();
  d.sim.advance(20);
  EXPECT_TRUE(SameEvents({}, d.Keys(m)));  // no menu: nothing to close
  const Rect r = d.bar().ScreenRect();
  d.sim.addWindow("#32768", "", {r.right(), r.bottom(), 100, 100});
  m = d.sim.mark();
  d.sim.advance(20);
  EXPECT_TRUE(SameEvents({"key 27 down", "key 27 up"}, d.Keys(m)));
}

// The life panel is tall while the browser is parked and low while it is
// shown, on the screen and in the shell's place for it alike; a life panel
// of no height puts the browser at the top of the screen.
TEST(BarTick, LifePanelHeightFollowsTheBrowser) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  Tlifeform& life = *d.app.browser.lifeform;
  auto shellHeight = [&] {
    for (const SimAppBar& b : d.sim.appBars())
      if (b.wnd == life.Handle()) return b.rect.height;
    return -1;
  };
  struct Step { bool browserShown; int lifeHeight; };
  for (const Step s : {Step{false, 114}, Step{true, 32}, Step{true, 32}, Step{false, 114}}) {
    SCOPED_TRACE(s.browserShown ? "browser shown" : "browser parked");
    d.app.browser.easyie->SetLeft(s.browserShown ? 0 : -2000);
    d.Ticks(2);
    EXPECT_EQ(d.sim.getWindowRect(life.Handle()).height, s.lifeHeight);
    EXPECT_EQ(shellHeight(), s.lifeHeight);
  }
  life.SetHeight(0);
  d.app.browser.easyie->SetTop(40);
  d.Ticks(2);
  EXPECT_EQ(d.sim.getWindowRect(d.app.browser.easyie->Handle()).top, 0);
  EXPECT_EQ(d.sim.getWindowRect(life.Handle()).height, 0);
}

}  // namespace
}  // namespace sq::testing
