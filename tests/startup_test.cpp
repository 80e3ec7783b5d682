// Start-up, the fifteen windows, the shared settings list and the orderly
// end, on the simulated desktop.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/formmain.h"
#include "app/relays.h"
#include "app/settings_list.h"
#include "app/wrpyreadpanel.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/qirinputor.h"
#include "platform/sim/simtest.h"

namespace sq {
namespace {

struct Expected {
  const char* className;
  const char* caption;  // nullptr: not checked
  bool visible;
  bool parked;          // Left == -2000
  bool topmost;
  int width, height;    // -1: not checked
};

// The windows in creation order and the state start-up leaves them in.
const Expected kForms[] = {
    {"TFormMain", "设置说明", false, true, false, -1, -1},
    {"Tqirinputor", "old--mode", false, false, true, 0, 0},
    {"Tqircom", "old--17up", true, true, true, -1, -1},
    {"Tlifeform", "mywheel", true, false, true, 32, 32},
    {"Tmousepp", nullptr, true, true, true, 336, 67},
    {"TqirForm4", "qirForm4", true, false, true, -1, 0},
    {"TqirForm3", "ystop==/[[65553]]]0,0--", false, false, true, -1, -1},
    {"Twrpyreadpanel", nullptr, false, false, true, 293, 260},
    {"Tcaretinfo", "caret set", false, false, true, -1, -1},
    {"TForm1", nullptr, false, false, false, -1, -1},
    {"TForm2", nullptr, false, false, false, -1, -1},
    {"Trightform", nullptr, true, true, true, 411, 76},
    {"Tleftform", nullptr, false, false, false, -1, -1},
    {"Teasyie", nullptr, true, true, true, -1, -1},
    {"Twheeltipform", nullptr, true, true, true, 104, 18},
};

TEST(Startup, CreatesTheFifteenWindowsInOrderAndLeavesThemAsStated) {
  SimDesktop sim;
  App app(sim);
  ASSERT_TRUE(app.Start());
  ASSERT_EQ(app.forms().size(), std::size(kForms));
  for (size_t i = 0; i < std::size(kForms); ++i) {
    const Expected& e = kForms[i];
    Form* f = app.forms()[i];
    SCOPED_TRACE(e.className);
    EXPECT_EQ(f->ClassName(), e.className);
    EXPECT_EQ(sim.getClassName(f->Handle()), e.className);
    if (e.caption) { EXPECT_EQ(f->Caption(), e.caption); }
    EXPECT_EQ(f->Visible(), e.visible);
    EXPECT_EQ(f->Left() == -2000, e.parked);
    EXPECT_EQ(sim.isTopmost(f->Handle()), e.topmost);
    if (e.width >= 0) { EXPECT_EQ(f->Width(), e.width); }
    if (e.height >= 0) { EXPECT_EQ(f->Height(), e.height); }
  }
  // The life panel sits at the bottom edge until its first tick.
  EXPECT_EQ(app.browser.lifeform->Top(), 768 - 30);
  EXPECT_EQ(app.bar.qirForm3->Panel4.Left(), -100);
  // Tray icon, easy-open verb, hooks, the Ctrl+Space toggle.
  ASSERT_EQ(sim.trayIcons().size(), 1u);
  EXPECT_EQ(sim.trayIcons()[0].id, 1006u);
  EXPECT_EQ(sim.trayIcons()[0].tip, "Tovimo之Velvane");
  EXPECT_EQ(sim.regGetValue("*\\shell\\轻松打开", ""), "轻松打开");
  EXPECT_EQ(sim.regGetValue("*\\shell\\轻松打开\\command", ""),
            "\"" + sim.currentDirectory() + "\\wordpad.exe\" \"%1\"");
  EXPECT_TRUE(sim.mouseHookInstalled());
  EXPECT_TRUE(sim.keyboardHookInstalled());
  EXPECT_EQ(sim.hookWindow(), app.input.qirinputor->Handle());
  EXPECT_TRUE(SameEvents({"key 17 down", "key 32 down", "key 32 up", "key 17 up"},
                         sim.eventsSince(0, simfilter::keys())));
  // Help and browser pages are addressed from the current directory.
  bool sawHelpTitle = false;
  for (auto* b : sim.browsers())
    if (b->locationURL() == "file://" + sim.currentDirectory() + "\\helptitle.htm") sawHelpTitle = true;
  EXPECT_TRUE(sawHelpTitle);
  ASSERT_EQ(sim.appBars().size(), 1u);
  EXPECT_TRUE(sim.messageBoxes().empty());
}

TEST(Startup, DesktopShortcutGreysTheInstallMenuItem) {
  SimDesktop sim;
  auto desk = sim.specialFolder(csidl::Desktop);
  ASSERT_TRUE(desk);
  sim.createShellLink(*desk + "\\Sipquill.lnk", ShellLink{});
  App app(sim);
  ASSERT_TRUE(app.Start());
  EXPECT_FALSE(app.shell.FormMain->N3.Enabled());

  SimDesktop clean;
  App app2(clean);
  ASSERT_TRUE(app2.Start());
  EXPECT_TRUE(app2.shell.FormMain->N3.Enabled());
  // The menu item writes both shortcuts to the program in the current directory.
  app2.shell.FormMain->N3Click();
  ASSERT_EQ(clean.shellLinks().size(), 2u);
  for (const auto& [path, link] : clean.shellLinks()) {
    EXPECT_EQ(link.target, clean.currentDirectory() + "\\Sipquill.exe");
    EXPECT_EQ(link.description, "Sipmate，输入惊喜");
    EXPECT_EQ(link.showCommand, 5);
  }
}

struct HookCase {
  SimDesktop::HookLibrary lib;
  const char* message;
};

TEST(Startup, MissingHookLibraryOrExportEndsWithCodeOne) {
  const HookCase cases[] = {
      {SimDesktop::HookLibrary::Missing, "DLL: 不能加载！程序退出。"},
      {SimDesktop::HookLibrary::MissingSetHookmo, "DLL: 函数没找到！程序退出。"},
      {SimDesktop::HookLibrary::MissingSetHookkb, "DLL: 函数没找到！程序退出。"},
  };
  for (const auto& c : cases) {
    SimDesktop sim;
    sim.setHookLibrary(c.lib);
    App app(sim);
    EXPECT_FALSE(app.Start());
    EXPECT_EQ(app.exitCode(), 1);
    EXPECT_EQ(sim.exitCode(), 1);
    ASSERT_EQ(sim.messageBoxes().size(), 1u);
    EXPECT_EQ(sim.messageBoxes()[0].text, c.message);
    EXPECT_EQ(sim.messageBoxes()[0].caption, "Tovimo zuzi");
    // The input window was second: nothing after it exists.
    EXPECT_EQ(app.forms().size(), 2u);
    EXPECT_EQ(app.bar.qircom, nullptr);
    // The toggle came before the load.
    EXPECT_TRUE(SameEvents({"key 17 down", "key 32 down", "key 32 up", "key 17 up"},
                           sim.eventsSince(0, simfilter::keys())));
    if (c.lib != SimDesktop::HookLibrary::Missing) { EXPECT_EQ(sim.libraryFrees().size(), 1u); }
  }
}

TEST(Startup, ALibraryWithoutSetHookkbStartsNoHookAndSurvivesTheUsersHands) {
  // The user goes on using mouse and keyboard while the message box is up:
  // no hook of the unloaded library may still be there to see it.
  SimDesktop sim;
  sim.setHookLibrary(SimDesktop::HookLibrary::MissingSetHookkb);
  Wnd ed = sim.addTextEditor({0, 0, 300, 200});
  bool handsDone = false;
  sim.duringNextMessageBox([&] {
    sim.moveMouse(100, 100);
    sim.leftDown();
    sim.advance(80);
    sim.leftUp();
    sim.keyDown('A');
    sim.advance(60);
    sim.keyUp('A');
    handsDone = true;
  });
  App app(sim);
  const auto m = sim.mark();
  bool started = true;
  EXPECT_NO_THROW(started = app.Start());
  EXPECT_FALSE(started);
  EXPECT_TRUE(handsDone);
  ASSERT_EQ(sim.messageBoxes().size(), 1u);
  EXPECT_EQ(sim.messageBoxes()[0].text, "DLL: 函数没找到！程序退出。");
  EXPECT_EQ(sim.exitCode(), 1);
  EXPECT_FALSE(sim.mouseHookInstalled());
  EXPECT_FALSE(sim.keyboardHookInstalled());
  // The editor had the key; no hook wrote a word for it.
  EXPECT_EQ(sim.editorText(ed), "a");
  EXPECT_TRUE(sim.hookWords().empty());
  EXPECT_TRUE(SameEvents({}, sim.eventsSince(m, simfilter::captionsOf("TqirForm3"))));
}

TEST(Startup, OrderlyExitRunsTheDestructionHandlersInOrder) {
  SimDesktop sim;
  App app(sim);
  ASSERT_TRUE(app.Start());
  app.browser.easyie->ListBox10.Clear();
  app.browser.easyie->ListBox10.Add("http://example.test/");
  app.shell.wrpyreadpanel->Edit2.SetCaption("160");
  size_t m = sim.mark();
  app.shell.FormMain->Shutdown1Click();
  EXPECT_TRUE(sim.quitPosted());
  EXPECT_EQ(sim.quitCode(), 0);
  EXPECT_EQ(app.shell.FormMain->Panel1.Caption(), "close");
  EXPECT_FALSE(app.browser.lifeform->Visible());
  // The verb is gone as soon as the main form closes.
  EXPECT_FALSE(sim.regKeyExists("*\\shell\\轻松打开"));
  EXPECT_EQ(app.Finish(), 0);
  EXPECT_TRUE(sim.trayIcons().empty());
  EXPECT_TRUE(sim.appBars().empty());
  // The input window's close handler told the scroll-mode window.
  auto caps = sim.eventsSince(m, simfilter::captionsOf("TqirForm3"));
  ASSERT_FALSE(caps.empty());
  EXPECT_EQ(caps.back(), "caption TqirForm3=qirclose");
  std::string urls, ini;
  ASSERT_TRUE(sim.readFile("url.txt", urls));
  EXPECT_EQ(urls, "http://example.test/\r\n");
  ASSERT_TRUE(sim.readFile("wr.ini", ini));
  EXPECT_EQ(SplitLines(ini).at(4), "160");
  EXPECT_TRUE(sim.messageBoxes().empty());
}

TEST(SharedSettings, ReadsLinesAndMarkersAndSurvivesShortFiles) {
  SimDesktop sim;
  sim.writeFile(SharedSettings::kFileName, "软件名称--A\r\n软件版本--B\r\n浏览首页--http://x.test/\r\n");
  sim.writeFile("dispweb", "");
  App app(sim);
  ASSERT_TRUE(app.Start());
  // Only three lines: the browser's start-up still completes without an error box.
  EXPECT_TRUE(sim.messageBoxes().empty());
  EXPECT_TRUE(app.settings.ShowWeb());
  EXPECT_EQ(app.browser.easyie->Left(), 0);  // dispweb keeps the browser on the screen
  EXPECT_EQ(app.settings.Value(7), "1");  // default: show help
  // Setting the help flag wrote its marker, so the help page replaces the
  // address of line 2 in the address box.
  EXPECT_TRUE(sim.fileExists("disphelp"));
  EXPECT_EQ(app.browser.easyie->Edit1.Caption(),
            "file://" + sim.currentDirectory() + "\\ehelp\\easyhelp.htm");

  SharedSettings s;
  s.Load(sim);
  s.SetShowHelp(sim, true);
  EXPECT_TRUE(sim.fileExists("disphelp"));
  s.SetShowHelp(sim, false);
  EXPECT_FALSE(sim.fileExists("disphelp"));
  s.SetLine(8, "显示浏览--0");
  ASSERT_TRUE(s.Save(sim));
  std::string text;
  ASSERT_TRUE(sim.readFile(SharedSettings::kFileName, text));
  auto lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "软件名称--A");  // the user's lines are kept
  EXPECT_EQ(lines[2], "浏览首页--http://x.test/");
  EXPECT_EQ(lines[8], "显示浏览--0");
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(SharedSettings, ValueStartsAtTheEleventhByte) {
  SimDesktop sim;
  sim.writeFile(SharedSettings::kFileName, "显示帮助--1\r\nabc\r\n\r\n");
  SharedSettings s;
  s.Load(sim);
  EXPECT_EQ(s.Count(), 3);
  EXPECT_EQ(s.Value(0), "1");
  EXPECT_EQ(s.Value(1), "");  // shorter than the label: no value, no crash
  EXPECT_EQ(s.Line(2), "");
}

TEST(SettingsPanel, LoadsWrIniAndFallsBackOnShortFiles) {
  {
    SimDesktop sim;
    sim.writeFile("wr.ini", "ReadPINTLGNT\r\nReadPINTLGNT\r\nfdfdffd\r\n800\r\n300\r\noldmouse\r\n");
    App app(sim);
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app.shell.wrpyreadpanel->Edit2.Caption(), "300");
    EXPECT_EQ(app.shell.wrpyreadpanel->Edit4.Caption(), "oldmouse");
    EXPECT_TRUE(app.shell.wrpyreadpanel->lmbutton.Checked());
  }
  {
    // Four lines: defaults fill in, no error box, and the user's lines stay.
    SimDesktop sim;
    sim.writeFile("wr.ini", "MSPY Component\r\nReadPINTLGNT\r\nfdfdffd\r\n800\r\n");
    App app(sim);
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(sim.messageBoxes().empty());
    EXPECT_EQ(app.shell.wrpyreadpanel->Caption(), "MSPY Component");
    EXPECT_EQ(app.shell.wrpyreadpanel->Edit4.Caption(), "500");
    app.Finish();
    std::string ini;
    ASSERT_TRUE(sim.readFile("wr.ini", ini));
    auto lines = SplitLines(ini);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "MSPY Component");
    EXPECT_EQ(lines[5], "500");
  }
  {
    // Choosing the second input method copies its line into line 0.
    SimDesktop sim;
    App app(sim);
    ASSERT_TRUE(app.Start());
    app.shell.wrpyreadpanel->ListBox2.SetItemIndex(1);
    app.shell.wrpyreadpanel->ListBox2MouseDown();
    EXPECT_EQ(app.shell.wrpyreadpanel->Caption(), "fdfdffd");
    EXPECT_EQ(app.shell.wrpyreadpanel->ListBox1.Item(0), "fdfdffd");
  }
}

TEST(SettingsPanel, LeftHoldTimeReadsLeadingDigits) {
  EXPECT_EQ(LeadingInt("100"), 100);
  EXPECT_EQ(LeadingInt(" 120ms"), 120);
  EXPECT_EQ(LeadingInt("abc"), 0);
  EXPECT_EQ(LeadingInt(""), 0);
  EXPECT_EQ(LeadingInt("-40"), -40);
  EXPECT_EQ(LeadingInt("99999999999999999999"), LeadingInt("9999999999"));
}

}  // namespace
}  // namespace sq
