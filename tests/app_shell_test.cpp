// The app shell's handlers beyond the tray and start-up basics: the icon
// refresh, the menu items that reach other windows, activation of the main
// form, the browser's creation layout, the small windows' own handlers and
// the settings panel's handlers around wr.ini.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/app.h"
#include "app/caretinfo.h"
#include "app/formmain.h"
#include "app/settings_list.h"
#include "app/wrpyreadpanel.h"
#include "bar/qircom.h"
#include "bar/qirform4.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "platform/sim/simtest.h"

namespace sq {
namespace {

size_t Count(const std::vector<std::string>& log, const std::string& entry) {
  return static_cast<size_t>(std::count(log.begin(), log.end(), entry));
}

class Shell : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Start()); }
  SimDesktop sim;
  App app{sim};
};

TEST_F(Shell, RadioButtonsAndTipEditsRefreshTheIconOnlyWhileItIsShown) {
  TFormMain& m = *app.shell.FormMain;
  ASSERT_EQ(sim.trayIcons().size(), 1u);
  EXPECT_EQ(sim.trayIcons()[0].icon, 1);
  // State 2: the icon follows at once; the tip stays the product's.
  m.RadioButton2.SetChecked(true);
  ASSERT_TRUE(sim.runClickHandler(m.RadioButton2.Handle()));
  ASSERT_EQ(sim.trayIcons().size(), 1u);
  EXPECT_EQ(sim.trayIcons()[0].icon, 2);
  EXPECT_EQ(sim.trayIcons()[0].tip, "Tovimo之Velvane");
  m.RadioButton1.SetChecked(true);
  ASSERT_TRUE(sim.runClickHandler(m.RadioButton1.Handle()));
  EXPECT_EQ(sim.trayIcons()[0].icon, 1);

  // A key released in either tip edit modifies the icon; the tip is fixed.
  // Clicking the edit activates the form, which parks itself at once; the
  // edit keeps the focus and takes the keys.
  size_t before = Count(sim.trayLog(), "modify 1006");
  m.SetBounds(100, 100, m.Width(), m.Height());
  m.Show();
  sim.clickWindow(m.Edit1.Handle());
  EXPECT_EQ(m.Left(), -2000);
  sim.typeText("x");
  EXPECT_EQ(Count(sim.trayLog(), "modify 1006"), before + 1);
  EXPECT_EQ(m.Edit1.Caption(), "--Sipquillx");
  sim.setFocus(m.Edit2.Handle());
  sim.keyDown(16);  // Shift down and up: one more key release
  sim.keyUp(16);
  EXPECT_EQ(Count(sim.trayLog(), "modify 1006"), before + 2);
  EXPECT_EQ(m.Edit2.Caption(), "//Sipquill");
  EXPECT_EQ(sim.trayIcons()[0].tip, "Tovimo之Velvane");

  // Without the icon, choosing state 2 adds nothing; the next add shows it.
  m.CheckBox1.SetChecked(false);
  m.CheckBox1Click();
  ASSERT_TRUE(sim.trayIcons().empty());
  m.RadioButton2.SetChecked(true);
  ASSERT_TRUE(sim.runClickHandler(m.RadioButton2.Handle()));
  sim.typeText("z");
  EXPECT_TRUE(sim.trayIcons().empty());
  m.CheckBox1.SetChecked(true);
  m.CheckBox1Click();
  ASSERT_EQ(sim.trayIcons().size(), 1u);
  EXPECT_EQ(sim.trayIcons()[0].icon, 2);
  EXPECT_TRUE(m.Button1.Enabled());
}

TEST_F(Shell, HomePageItemOpensTheAddressInTheBrowserOnScreen) {
  ASSERT_LT(app.browser.easyie->Left(), 0);
  static_cast<Form*>(app.bar.qircom)->SetLeft(100);
  app.browser.easyie->Panel3.Show();
  sim.queueMenuChoice("作者主页");
  ASSERT_TRUE(sim.trayMessage(TFormMain::kTrayId, 517));
  EXPECT_EQ(app.browser.easyie->Edit1.Caption(), TFormMain::kHomePage);
  EXPECT_EQ(app.browser.easyie->Left(), 0);
  EXPECT_EQ(static_cast<Form*>(app.bar.qircom)->Left(), -2000);
  // Opening an address hides the menu panel.
  EXPECT_FALSE(app.browser.easyie->Panel3.Visible());
}

TEST_F(Shell, WindowInformationItemTogglesTheLifePanelsPanel) {
  // The item is disabled, so only a plain call reaches the handler.
  EXPECT_FALSE(app.shell.FormMain->N8.Enabled());
  ASSERT_FALSE(app.browser.lifeform->windmess.Visible());
  app.shell.FormMain->N8Click();
  EXPECT_TRUE(app.browser.lifeform->windmess.Visible());
  app.shell.FormMain->N8Click();
  EXPECT_FALSE(app.browser.lifeform->windmess.Visible());
}

TEST_F(Shell, TipItemStopsTheLifePanelBrowserThenReloadsTheHintPage) {
  auto* b = dynamic_cast<SimBrowser*>(app.browser.lifeform->browser());
  ASSERT_NE(b, nullptr);
  const std::string page = "file://" + sim.currentDirectory() + "\\helptitle.htm";
  // Creation opens the page without stopping anything.
  EXPECT_EQ(b->stops(), 0);
  ASSERT_EQ(b->requested().size(), 1u);
  EXPECT_EQ(b->requested()[0], page);
  sim.queueMenuChoice("提示");
  ASSERT_TRUE(sim.trayMessage(TFormMain::kTrayId, 517));
  EXPECT_EQ(b->stops(), 1);
  ASSERT_EQ(b->requested().size(), 2u);
  EXPECT_EQ(b->requested()[1], page);
}

TEST_F(Shell, ActivationParksTheMainFormAgain) {
  TFormMain& m = *app.shell.FormMain;
  std::vector<std::string> trace;
  app.eventTrace = [&](const std::string& s) {
    if (s == "TFormMain Activate" || s == "TFormMain Deactivate") trace.push_back(s);
  };
  const Wnd editor = sim.addTextEditor({0, 0, 200, 100});
  m.SetBounds(300, 200, m.Width(), m.Height());
  m.Show();
  // A press on the form activates it: it parks at once.
  sim.moveMouse(310, 210);
  sim.click();
  EXPECT_EQ(m.Left(), -2000);
  EXPECT_EQ(sim.getForegroundWindow(), m.Handle());
  // Deactivation leaves it where it is.
  m.SetLeft(300);
  sim.setForegroundWindow(editor);
  EXPECT_EQ(m.Left(), 300);
  // Activated by the program itself, it parks as well.
  sim.setForegroundWindow(m.Handle());
  EXPECT_EQ(m.Left(), -2000);
  EXPECT_EQ(trace, (std::vector<std::string>{"TFormMain Activate", "TFormMain Deactivate",
                                             "TFormMain Activate"}));
}

TEST_F(Shell, SmallWindowsOwnHandlers) {
  // The caret window's Panel1 asks the command bar for a clipboard capture.
  ASSERT_TRUE(sim.runClickHandler(app.input.caretinfo->Panel1.Handle()));
  EXPECT_EQ(app.bar.qircom->Panel19.Caption(), "test clipboard");
  // The title window's Button1 marks its own caption.
  ASSERT_TRUE(sim.runClickHandler(app.bar.qirForm4->Button1.Handle()));
  EXPECT_EQ(app.bar.qirForm4->Button1.Caption(), "xx");
}

TEST(ShellRun, TheLoopShowsTheParkedMainForm) {
  SimDesktop sim;
  App app(sim);
  sim.setMessageLoopBudget(50);
  bool seen = false, shown = false;
  int left = 0;
  sim.setTimer(0, 77, 20, [&] {
    if (seen || !app.shell.FormMain) return;
    seen = true;
    shown = static_cast<Form*>(app.shell.FormMain)->Visible();
    left = static_cast<Form*>(app.shell.FormMain)->Left();
  });
  EXPECT_EQ(app.Run(), 0);
  ASSERT_TRUE(seen);
  EXPECT_TRUE(shown);
  EXPECT_EQ(left, -2000);
}

struct ScreenCase {
  int width, height;
};

TEST(BrowserCreation, LaysItselfOutFromTheScreenAndKeepsTheAddressWithoutHelp) {
  for (ScreenCase sc : {ScreenCase{1024, 768}, ScreenCase{800, 600}}) {
    SCOPED_TRACE(sc.width);
    SimDesktop sim(sc.width, sc.height);
    sim.writeFile(SharedSettings::kFileName,
                  "软件名称--A\r\n软件版本--B\r\n浏览首页--http://x.test/\r\n发行日期--C\r\n"
                  "发行单位--D\r\n联系方式--E\r\n软件说明--F\r\n显示帮助--0\r\n显示浏览--0\r\n");
    App app(sim);
    ASSERT_TRUE(app.Start());
    Teasyie& web = *app.browser.easyie;
    EXPECT_EQ(web.Edit1.Caption(), "http://x.test/");
    EXPECT_FALSE(sim.fileExists("disphelp"));
    EXPECT_FALSE(sim.fileExists("dispweb"));
    // Parked, one life-panel height short of the screen, below it.
    EXPECT_EQ(web.Bounds(),
              (Rect{-2000, 30, sc.width, sc.height - app.browser.lifeform->Height()}));
    EXPECT_EQ(web.wheelmess.Bounds(), (Rect{sc.width - 100, 0, 104, 18}));
    EXPECT_EQ(web.Panel25.Left(), sc.width - 10);
    EXPECT_EQ(web.Panel25.Height(), sc.height - 10);
    EXPECT_EQ(web.PageControl1.Bounds(), (Rect{0, 0, sc.width, sc.height}));
    EXPECT_EQ(web.Panel12.Left(), 0);
    EXPECT_EQ(web.Panel12.Top(), 0);
    EXPECT_EQ(web.CppWebBrowser1.Height(), 0);
    EXPECT_EQ(web.CppWebBrowser6.Height(), 0);
    // The menu panel: hidden, creation size, centred.
    EXPECT_FALSE(web.Panel3.Visible());
    EXPECT_EQ(web.Panel3.Bounds(),
              (Rect{sc.width / 2 - 249 / 2, sc.height / 2 - 289 / 2, 249, 289}));
    EXPECT_EQ(sim.getCursorPos(), (Point{sc.width / 2, sc.height / 2}));
  }
}

TEST(BrowserCreation, HelpMarkerPutsTheHelpPageIntoTheAddressBox) {
  SimDesktop sim;
  sim.writeFile(SharedSettings::kFileName,
                "a\r\nb\r\n浏览首页--http://x.test/\r\nd\r\ne\r\nf\r\ng\r\n显示帮助--0\r\n显示浏览--0\r\n");
  sim.writeFile("disphelp", "");
  App app(sim);
  ASSERT_TRUE(app.Start());
  EXPECT_TRUE(app.settings.ShowHelp());
  EXPECT_EQ(app.browser.easyie->Edit1.Caption(),
            "file://" + sim.currentDirectory() + "\\ehelp\\easyhelp.htm");
  // The help item sets the same page and brings the browser on the screen.
  app.browser.easyie->Edit1.SetCaption("");
  app.shell.FormMain->Properties1Click();
  EXPECT_EQ(app.browser.easyie->Left(), 0);
  EXPECT_EQ(app.browser.easyie->Edit1.Caption(),
            "file://" + sim.currentDirectory() + "\\ehelp\\easyhelp.htm");
  EXPECT_EQ(app.browser.easyie->Panel3.Left(), -2000);
}

TEST(SettingsPanelFile, SavingWhereTheFileCannotBeCreatedReportsItAndKeepsThePanelOpen) {
  SimDesktop sim;
  // A directory in the file's place: nothing to read, nothing can be written.
  std::filesystem::create_directory(sim.hostPath("wr.ini"));
  App app(sim);
  ASSERT_TRUE(app.Start());
  EXPECT_TRUE(sim.messageBoxes().empty());
  Twrpyreadpanel& w = *app.shell.wrpyreadpanel;
  w.Show();
  ASSERT_TRUE(sim.runClickHandler(w.Panel4.Handle()));
  ASSERT_EQ(sim.messageBoxes().size(), 1u);
  EXPECT_EQ(sim.messageBoxes()[0].text, "Cannot create file wr.ini");
  EXPECT_EQ(sim.messageBoxes()[0].caption, "Tovimo zuzi");
  EXPECT_TRUE(w.Visible());
  // "返回" still closes it.
  ASSERT_TRUE(sim.runClickHandler(w.Panel5.Handle()));
  EXPECT_FALSE(w.Visible());
  // At exit the same error is shown once more and the run still ends.
  EXPECT_EQ(app.Finish(), 0);
  EXPECT_EQ(sim.messageBoxes().size(), 2u);
}

TEST(SettingsPanelFile, HandlersEditTheStoredLinesAndSaveWritesThem) {
  SimDesktop sim;
  App app(sim);
  ASSERT_TRUE(app.Start());
  Twrpyreadpanel& w = *app.shell.wrpyreadpanel;
  // No selection: line 0 is copied onto itself.
  w.ListBox2.SetItemIndex(-1);
  w.ListBox2MouseDown();
  EXPECT_EQ(w.ListBox1.Item(0), "ReadPINTLGNT");
  EXPECT_EQ(w.Caption(), "ReadPINTLGNT");
  // "设置" takes the caption from Edit1.
  w.Edit1.SetCaption("MSPY Component");
  ASSERT_TRUE(sim.runClickHandler(w.Button1.Handle()));
  EXPECT_EQ(w.Caption(), "MSPY Component");
  // The wheel switch writes line 5; saving then stores Edit4's text there.
  w.lmbutton.SetChecked(true);
  ASSERT_TRUE(sim.runClickHandler(w.lmbutton.Handle()));
  EXPECT_EQ(w.ListBox1.Item(5), "oldmouse");
  w.lmbutton.SetChecked(false);
  ASSERT_TRUE(sim.runClickHandler(w.lmbutton.Handle()));
  EXPECT_EQ(w.ListBox1.Item(5), "newmouse");
  w.Edit2.SetCaption("250");
  w.Edit4.SetCaption("oldmouse");
  w.Show();
  ASSERT_TRUE(sim.runClickHandler(w.Panel4.Handle()));
  EXPECT_FALSE(w.Visible());
  std::string ini;
  ASSERT_TRUE(sim.readFile("wr.ini", ini));
  EXPECT_EQ(ini, "ReadPINTLGNT\r\nReadPINTLGNT\r\nfdfdffd\r\n800\r\n250\r\noldmouse\r\n");
  // The next start ticks the wheel switch from that line.
  app.Finish();
  App again(sim);
  ASSERT_TRUE(again.Start());
  EXPECT_TRUE(again.shell.wrpyreadpanel->lmbutton.Checked());
  EXPECT_EQ(again.shell.wrpyreadpanel->Edit2.Caption(), "250");
}

}  // namespace
}  // namespace sq
