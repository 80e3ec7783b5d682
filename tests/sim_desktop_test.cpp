// The simulated desktop: window tree, hit-testing, timers, registry, shell
// records and files. Input, the text editor, the hook and the record are in
// sim_input_test.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/sim/simdesktop.h"
#include "platform/sim/simtest.h"

namespace sq {
namespace {

WindowSpec Top(const std::string& cls, Rect r, bool topmost = false) {
  WindowSpec s;
  s.kind = Kind::Form;
  s.className = cls;
  s.caption = cls;
  s.bounds = r;
  s.topmost = topmost;
  return s;
}

WindowSpec Child(Wnd parent, Kind k, Rect r, const std::string& name = "") {
  WindowSpec s;
  s.kind = k;
  s.parent = parent;
  s.bounds = r;
  s.name = name;
  return s;
}

// ---------------------------------------------------------------- window tree

TEST(SimWindows, ChildClassesComeFromTheKind) {
  SimDesktop sim;
  Wnd f = sim.createWindow(Top("Tqircom", {0, 0, 100, 100}));
  struct { Kind k; const char* cls; } cases[] = {
      {Kind::Panel, "TPanel"},       {Kind::Button, "TButton"},   {Kind::Edit, "TEdit"},
      {Kind::Memo, "TMemo"},         {Kind::ListBox, "TListBox"}, {Kind::ListView, "TListView"},
      {Kind::CheckBox, "TCheckBox"}, {Kind::RadioButton, "TRadioButton"},
      {Kind::GroupBox, "TGroupBox"}, {Kind::Image, "TImage"},     {Kind::Label, "TLabel"},
      {Kind::Browser, "Shell Embedding"},
  };
  for (const auto& c : cases) {
    WindowSpec s = Child(f, c.k, {0, 0, 10, 10});
    s.className = "Tqircom";  // ignored for children
    EXPECT_EQ(sim.getClassName(sim.createWindow(s)), c.cls);
  }
  EXPECT_EQ(sim.getClassName(f), "Tqircom");
}

TEST(SimWindows, RectanglesParentsAndDestruction) {
  SimDesktop sim;
  Wnd f = sim.createWindow(Top("TForm1", {100, 50, 300, 200}));
  Wnd panel = sim.createWindow(Child(f, Kind::Panel, {10, 20, 100, 100}, "Panel1"));
  Wnd button = sim.createWindow(Child(panel, Kind::Button, {5, 6, 30, 20}, "Button1"));

  EXPECT_EQ(sim.getBounds(button), (Rect{5, 6, 30, 20}));
  EXPECT_EQ(sim.getWindowRect(button), (Rect{115, 76, 30, 20}));
  EXPECT_EQ(sim.getWindowRect(f), (Rect{100, 50, 300, 200}));
  EXPECT_EQ(sim.getParent(button), panel);
  EXPECT_EQ(sim.getParent(f), 0u);
  EXPECT_TRUE(sim.isChild(f, button));
  EXPECT_TRUE(sim.isChild(panel, button));
  EXPECT_FALSE(sim.isChild(button, button));
  EXPECT_FALSE(sim.isChild(button, f));
  EXPECT_EQ(sim.findControl("TForm1", "Button1"), button);

  sim.destroyWindow(panel);
  EXPECT_FALSE(sim.isWindow(panel));
  EXPECT_FALSE(sim.isWindow(button));
  EXPECT_TRUE(sim.isWindow(f));
  EXPECT_TRUE(sim.children(f).empty());
  // Calls on dead handles are quiet.
  sim.setWindowText(button, "x");
  EXPECT_EQ(sim.getWindowText(button), "");
  EXPECT_EQ(sim.getWindowRect(button), Rect{});
}

TEST(SimWindows, VisibleIsTheOwnBitShownAsksTheAncestors) {
  SimDesktop sim;
  Wnd f = sim.createWindow(Top("TForm1", {0, 0, 100, 100}));
  Wnd p = sim.createWindow(Child(f, Kind::Panel, {0, 0, 50, 50}));
  EXPECT_TRUE(sim.isShown(p));
  sim.showWindow(f, false);
  EXPECT_TRUE(sim.isWindowVisible(p));  // a control keeps its Visible
  EXPECT_FALSE(sim.isShown(p));
  EXPECT_FALSE(sim.isWindowVisible(f));
  sim.showWindow(f, true);
  sim.showWindow(p, false);
  EXPECT_FALSE(sim.isWindowVisible(p));
  EXPECT_FALSE(sim.isShown(p));
}

TEST(SimWindows, ZOrderBandsAndSetWindowPos) {
  SimDesktop sim;
  Wnd a = sim.createWindow(Top("A", {0, 0, 10, 10}));
  Wnd b = sim.createWindow(Top("B", {0, 0, 10, 10}, true));
  Wnd c = sim.createWindow(Top("C", {0, 0, 10, 10}));
  // Topmost windows first; newer windows on top of their band.
  EXPECT_EQ(sim.enumWindows(), (std::vector<Wnd>{b, c, a}));
  EXPECT_EQ(sim.getTopWindow(), b);

  sim.setWindowPos(a, ZOrder::TopMost, {}, swp::NoMove | swp::NoSize);
  EXPECT_EQ(sim.enumWindows(), (std::vector<Wnd>{a, b, c}));
  EXPECT_TRUE(sim.isTopmost(a));

  sim.setWindowPos(a, ZOrder::NoTopMost, {}, swp::NoMove | swp::NoSize);
  EXPECT_EQ(sim.enumWindows(), (std::vector<Wnd>{b, a, c}));
  EXPECT_FALSE(sim.isTopmost(a));

  sim.setWindowPos(b, ZOrder::Bottom, {}, swp::NoMove | swp::NoSize);
  EXPECT_EQ(sim.enumWindows(), (std::vector<Wnd>{a, c, b}));
  EXPECT_FALSE(sim.isTopmost(b));  // the bottom is no place for a topmost window

  sim.setWindowPos(c, ZOrder::Top, {}, swp::NoMove | swp::NoSize);
  EXPECT_EQ(sim.enumWindows(), (std::vector<Wnd>{c, a, b}));

  // NoZOrder keeps the order while moving; NoMove keeps the place.
  sim.setWindowPos(b, ZOrder::TopMost, {5, 6, 70, 80}, swp::NoZOrder);
  EXPECT_EQ(sim.enumWindows(), (std::vector<Wnd>{c, a, b}));
  EXPECT_EQ(sim.getBounds(b), (Rect{5, 6, 70, 80}));
  sim.setWindowPos(b, ZOrder::Keep, {1, 2, 3, 4}, swp::NoMove);
  EXPECT_EQ(sim.getBounds(b), (Rect{5, 6, 3, 4}));
  sim.setWindowPos(b, ZOrder::Keep, {1, 2, 3, 4}, swp::NoSize | swp::HideWindow);
  EXPECT_EQ(sim.getBounds(b), (Rect{1, 2, 3, 4}));
  EXPECT_FALSE(sim.isWindowVisible(b));
  sim.setWindowPos(b, ZOrder::Keep, {}, swp::NoSize | swp::NoMove | swp::ShowWindow);
  EXPECT_TRUE(sim.isWindowVisible(b));
}

TEST(SimWindows, FindWindowByClassAndCaptionInZOrder) {
  SimDesktop sim;
  Wnd x1 = sim.addWindow("Notepad", "one", {0, 0, 10, 10});
  Wnd x2 = sim.addWindow("Notepad", "two", {0, 0, 10, 10});
  sim.addWindow("Edit", "inner", {0, 0, 5, 5}, x1);
  EXPECT_EQ(sim.findWindow("Notepad"), x2);  // the newer one is on top
  EXPECT_EQ(sim.findWindow("notepad", std::string("one")), x1);
  EXPECT_EQ(sim.findWindow("Notepad", std::string("three")), 0u);
  EXPECT_EQ(sim.findWindow("Edit"), 0u);  // children are not searched
  sim.showWindow(x2, false);
  EXPECT_EQ(sim.findWindow("Notepad"), x2);  // hidden windows are found too
}

// ---------------------------------------------------------------- hit-testing

TEST(SimHitTest, TopmostThenZOrderThenDeepestChild) {
  SimDesktop sim;
  Wnd back = sim.addWindow("Back", "", {0, 0, 400, 400});
  Wnd front = sim.addWindow("Front", "", {100, 100, 200, 200});
  Wnd pin = sim.createWindow(Top("Pin", {250, 250, 100, 100}, true));
  Wnd older = sim.createWindow(Child(front, Kind::Panel, {0, 0, 100, 100}));
  Wnd newer = sim.createWindow(Child(front, Kind::Panel, {50, 50, 100, 100}));
  Wnd inner = sim.createWindow(Child(newer, Kind::Button, {10, 10, 20, 20}));

  EXPECT_EQ(sim.windowFromPoint({10, 10}), back);
  EXPECT_EQ(sim.windowFromPoint({110, 110}), older);
  EXPECT_EQ(sim.windowFromPoint({155, 155}), newer);  // later child is on top
  EXPECT_EQ(sim.windowFromPoint({165, 165}), inner);   // 100+50+10 .. +20
  EXPECT_EQ(sim.windowFromPoint({185, 185}), newer);   // just past the button
  EXPECT_EQ(sim.windowFromPoint({260, 260}), pin);     // topmost beats newer
  EXPECT_EQ(sim.windowFromPoint({290, 120}), front);
  EXPECT_EQ(sim.windowFromPoint({500, 500}), 0u);

  sim.setWindowPos(back, ZOrder::Top, {}, swp::NoMove | swp::NoSize);
  EXPECT_EQ(sim.windowFromPoint({110, 110}), back);
  EXPECT_EQ(sim.windowFromPoint({260, 260}), pin);  // still above the normal band
}

TEST(SimHitTest, HiddenEmptyDisabledAndGraphicWindowsAreSkipped) {
  SimDesktop sim;
  Wnd back = sim.addWindow("Back", "", {0, 0, 400, 400});
  Wnd f = sim.createWindow(Top("TForm1", {0, 0, 200, 200}));
  Wnd panel = sim.createWindow(Child(f, Kind::Panel, {0, 0, 100, 100}));
  Wnd button = sim.createWindow(Child(panel, Kind::Button, {0, 0, 50, 50}));
  Wnd label = sim.createWindow(Child(f, Kind::Label, {100, 100, 50, 50}));

  EXPECT_EQ(sim.windowFromPoint({10, 10}), button);
  sim.enableWindow(button, false);
  EXPECT_EQ(sim.windowFromPoint({10, 10}), panel);
  sim.enableWindow(button, true);
  sim.showWindow(panel, false);  // hides the button with it
  EXPECT_EQ(sim.windowFromPoint({10, 10}), f);
  sim.showWindow(panel, true);

  EXPECT_EQ(sim.windowFromPoint({120, 120}), f);  // labels let the point through
  sim.setGraphicControlsTransparent(false);
  EXPECT_EQ(sim.windowFromPoint({120, 120}), label);

  sim.setBounds(f, {0, 0, 0, 200});  // a zero-width form is never hit
  EXPECT_EQ(sim.windowFromPoint({10, 10}), back);
  sim.setBounds(f, {-2000, 0, 200, 200});  // parked off the screen
  EXPECT_EQ(sim.windowFromPoint({10, 10}), back);
  sim.setBounds(f, {0, 0, 200, 200});
  sim.showWindow(f, false);
  EXPECT_EQ(sim.windowFromPoint({10, 10}), back);
}

TEST(SimHitTest, EllipticRegionClipsTheCorners) {
  SimDesktop sim;
  Wnd back = sim.addWindow("Back", "", {0, 0, 400, 400});
  Wnd round = sim.createWindow(Top("Round", {100, 100, 100, 100}));
  sim.setWindowRgn(round, Region::Ellipse, {0, 0, 100, 100});
  EXPECT_EQ(sim.windowFromPoint({150, 150}), round);
  EXPECT_EQ(sim.windowFromPoint({101, 101}), back);
}

// ---------------------------------------------------------------- lists

TEST(SimControls, ListsKeepTheSelectionOnItsItem) {
  SimDesktop sim;
  Wnd f = sim.createWindow(Top("TForm1", {0, 0, 100, 100}));
  WindowSpec s = Child(f, Kind::ListBox, {0, 0, 50, 50});
  s.items = {"a", "b", "c"};
  Wnd l = sim.createWindow(s);
  sim.listSelect(l, 1);
  sim.listInsert(l, 0, "z");
  EXPECT_EQ(sim.listSelected(l), 2);
  EXPECT_EQ(sim.listItem(l, 2), "b");
  sim.listInsert(l, -1, "end");
  EXPECT_EQ(sim.listItem(l, 4), "end");
  sim.listDelete(l, 0);
  EXPECT_EQ(sim.listSelected(l), 1);
  sim.listDelete(l, 1);
  EXPECT_EQ(sim.listSelected(l), -1);
  EXPECT_EQ(sim.listItem(l, 99), "");
  sim.listSelect(l, 99);
  EXPECT_EQ(sim.listSelected(l), -1);
  EXPECT_EQ(sim.listCount(l), 3);
  sim.listClear(l);
  EXPECT_EQ(sim.listCount(l), 0);
}

TEST(SimControls, CheckingARadioButtonUnchecksItsSiblings) {
  SimDesktop sim;
  Wnd f = sim.createWindow(Top("TForm1", {0, 0, 100, 100}));
  Wnd r1 = sim.createWindow(Child(f, Kind::RadioButton, {0, 0, 10, 10}));
  Wnd r2 = sim.createWindow(Child(f, Kind::RadioButton, {0, 10, 10, 10}));
  Wnd box = sim.createWindow(Child(f, Kind::CheckBox, {0, 20, 10, 10}));
  sim.setChecked(box, true);
  sim.setChecked(r1, true);
  sim.setChecked(r2, true);
  EXPECT_FALSE(sim.isChecked(r1));
  EXPECT_TRUE(sim.isChecked(r2));
  EXPECT_TRUE(sim.isChecked(box));
}

// ---------------------------------------------------------------- timers

TEST(SimTimers, FireInDueOrderWithTiesInRegistrationOrder) {
  SimDesktop sim;
  Wnd f = sim.createWindow(Top("TForm1", {0, 0, 10, 10}));
  std::vector<std::string> fired;
  const std::uint32_t t0 = sim.tickCount();
  auto note = [&](const char* n) {
    return [&, n] { fired.push_back(std::string(n) + "@" + std::to_string(sim.tickCount() - t0)); };
  };
  sim.setTimer(f, 1, 40, note("a"));
  sim.setTimer(f, 2, 20, note("b"));
  sim.advance(80);
  EXPECT_EQ(fired, (std::vector<std::string>{"b@20", "a@40", "b@40", "b@60", "a@80", "b@80"}));
  EXPECT_EQ(sim.tickCount() - t0, 80u);
}

TEST(SimTimers, SleepInAHandlerRunsNoOtherTimerAndLateTimersFireOnce) {
  SimDesktop sim;
  Wnd f = sim.createWindow(Top("TForm1", {0, 0, 10, 10}));
  const std::uint32_t t0 = sim.tickCount();
  std::vector<std::string> fired;
  bool slept = false;
  sim.setTimer(f, 1, 40, [&] {
    fired.push_back("slow@" + std::to_string(sim.tickCount() - t0));
    if (!slept) {
      slept = true;
      sim.sleep(100);  // nothing else runs meanwhile
      fired.push_back("woke@" + std::to_string(sim.tickCount() - t0));
    }
  });
  sim.setTimer(f, 2, 20, [&] { fired.push_back("fast@" + std::to_string(sim.tickCount() - t0)); });
  sim.advance(160);
  // At 40 slow (registered first) sleeps to 140 and nothing else runs. Then
  // the overdue timers fire once each, earliest due first (fast was due at
  // 40, slow at 80), and both go back to their grids: 160.
  EXPECT_EQ(fired, (std::vector<std::string>{"fast@20", "slow@40", "woke@140", "fast@140",
                                             "slow@140", "slow@160", "fast@160"}));
}

TEST(SimTimers, ReplaceKillAndKillFromInsideTheHandler) {
  SimDesktop sim;
  Wnd f = sim.createWindow(Top("TForm1", {0, 0, 10, 10}));
  int a = 0, b = 0;
  sim.setTimer(f, 1, 10, [&] { ++a; });
  sim.setTimer(f, 1, 50, [&] { ++b; });  // same owner and id: replaced
  EXPECT_EQ(sim.timerCount(), 1u);
  EXPECT_EQ(sim.timerInterval(f, 1), 50u);
  sim.advance(100);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 2);

  int c = 0;
  sim.setTimer(f, 2, 10, [&] {
    if (++c == 3) sim.killTimer(f, 2);
  });
  sim.advance(100);
  EXPECT_EQ(c, 3);
  EXPECT_FALSE(sim.hasTimer(f, 2));

  sim.destroyWindow(f);  // a window's timers die with it
  EXPECT_EQ(sim.timerCount(), 0u);
  sim.advance(100);
  EXPECT_EQ(b, 4);
}

TEST(SimTimers, ATimerSetByAHandlerRunsWithinTheSameAdvance) {
  SimDesktop sim;
  std::vector<std::uint32_t> at;
  const std::uint32_t t0 = sim.tickCount();
  sim.setTimer(0, 1, 30, [&] {
    sim.killTimer(0, 1);
    sim.setTimer(0, 2, 15, [&] { at.push_back(sim.tickCount() - t0); });
  });
  sim.advance(60);
  EXPECT_EQ(at, (std::vector<std::uint32_t>{45, 60}));
}

TEST(SimTimers, ProcessExitLeavesAdvanceAndIsRecorded) {
  SimDesktop sim;
  sim.setTimer(0, 1, 10, [&] { sim.exitProcess(3); });
  try {
    sim.advance(50);
    FAIL() << "exitProcess did not throw";
  } catch (const ProcessExit& e) {
    EXPECT_EQ(e.code, 3);
  }
  EXPECT_EQ(sim.exitCode(), 3);
  EXPECT_FALSE(sim.inHandler());
}

TEST(SimProcess, QuitAndMessageLoopBudget) {
  SimDesktop sim;
  EXPECT_EQ(sim.runMessageLoop(), 0);
  sim.setMessageLoopBudget(1000);
  sim.setTimer(0, 1, 100, [&] { sim.postQuit(7); });
  const std::uint32_t t0 = sim.tickCount();
  EXPECT_EQ(sim.runMessageLoop(), 7);
  EXPECT_EQ(sim.tickCount() - t0, 100u);
  EXPECT_TRUE(sim.quitPosted());
}

TEST(SimProcess, MessageBoxesAreRecordedAndAnswered) {
  SimDesktop sim;
  EXPECT_EQ(sim.messageBox(0, "文本", "标题"), idans::Ok);
  sim.queueMessageBoxAnswer(idans::No);
  sim.setMessageBoxAnswer(idans::Yes);
  EXPECT_EQ(sim.messageBox(0, "q1", "c", mb::YesNo), idans::No);
  EXPECT_EQ(sim.messageBox(0, "q2", "c", mb::YesNo), idans::Yes);
  ASSERT_EQ(sim.messageBoxes().size(), 3u);
  EXPECT_EQ(sim.messageBoxes()[0].text, "文本");
  EXPECT_EQ(sim.messageBoxes()[0].caption, "标题");
  EXPECT_EQ(sim.messageBoxes()[1].buttons, mb::YesNo);
}

TEST(SimProcess, HookLibraryLoadAndExports) {
  struct Case {
    SimDesktop::HookLibrary lib;
    bool loads, mo, kb;
  } cases[] = {
      {SimDesktop::HookLibrary::Present, true, true, true},
      {SimDesktop::HookLibrary::Missing, false, false, false},
      {SimDesktop::HookLibrary::MissingSetHookmo, true, false, true},
      {SimDesktop::HookLibrary::MissingSetHookkb, true, true, false},
  };
  for (const Case& c : cases) {
    SimDesktop sim;
    sim.setHookLibrary(c.lib);
    Module m = sim.loadLibrary("dovahk1.dll");
    EXPECT_EQ(m != 0, c.loads);
    EXPECT_EQ(static_cast<bool>(sim.getExport2(m, "SetHookmo")), c.mo);
    EXPECT_EQ(static_cast<bool>(sim.getExport3(m, "SetHookkb")), c.kb);
    EXPECT_FALSE(sim.getExport2(m, "SetHookkb"));
    EXPECT_EQ(sim.loadLibrary("other.dll"), 0u);
    EXPECT_EQ(sim.libraryLoads(), (std::vector<std::string>{"dovahk1.dll", "other.dll"}));
  }
  SimDesktop sim;
  Wnd input = sim.createWindow(Top("Tqirinputor", {0, 0, 0, 0}));
  Module m = sim.loadLibrary("DOVAHK1.DLL");
  sim.getExport2(m, "SetHookmo")(input, 1);
  EXPECT_TRUE(sim.mouseHookInstalled());
  EXPECT_FALSE(sim.keyboardHookInstalled());
  sim.getExport3(m, "SetHookkb")(input, 1, 3);
  EXPECT_TRUE(sim.keyboardHookInstalled());
  EXPECT_EQ(sim.hookWindow(), input);
  sim.freeLibrary(m);
  EXPECT_EQ(sim.libraryFrees(), (std::vector<Module>{m}));
}

// ---------------------------------------------------------------- registry

TEST(SimRegistry, KeysAreCaseInsensitiveAndDeletionNeedsNoSubkeys) {
  SimDesktop sim;
  const std::string verb = "*\\shell\\轻松打开";
  ASSERT_TRUE(sim.regSetValue(verb + "\\command", "", "\"C:\\sipquill\\Sipquill.exe\" \"%1\""));
  EXPECT_TRUE(sim.regKeyExists("*\\SHELL\\轻松打开"));  // created on the way
  EXPECT_EQ(sim.regGetValue("*\\Shell\\轻松打开\\Command", ""),
            std::optional<std::string>("\"C:\\sipquill\\Sipquill.exe\" \"%1\""));
  EXPECT_EQ(sim.regGetValue(verb, "nothing"), std::nullopt);
  EXPECT_EQ(sim.regGetValue("*\\shell\\absent", ""), std::nullopt);

  EXPECT_FALSE(sim.regDeleteKey(verb));  // still has "command"
  EXPECT_TRUE(sim.regKeyExists(verb));
  EXPECT_TRUE(sim.regDeleteKey(verb + "\\command"));
  EXPECT_TRUE(sim.regDeleteKey(verb));
  EXPECT_FALSE(sim.regKeyExists(verb));
  EXPECT_FALSE(sim.regDeleteKey(verb));  // already gone
  EXPECT_TRUE(sim.regKeyExists("*\\shell"));
}

TEST(SimRegistry, ASiblingWithALongerNameIsNoSubkey) {
  SimDesktop sim;
  sim.regSetValue("a\\b", "", "1");
  sim.regSetValue("a\\bc", "", "2");
  sim.regSetValue("a\\b-x\\y", "", "3");
  EXPECT_TRUE(sim.regDeleteKey("a\\b"));
}

TEST(SimRegistry, DoubleByteNamesKeepTheirBytes) {
  SimDesktop sim;
  // "乗" ends in the byte of a backslash, "丄" and "乤" differ only in a
  // trail byte that looks like an ASCII letter in either case.
  ASSERT_TRUE(sim.regSetValue("k\\乗\\sub", "", "1"));
  EXPECT_TRUE(sim.regKeyExists("k\\乗"));
  EXPECT_FALSE(sim.regDeleteKey("k\\乗"));
  EXPECT_EQ(sim.registryKeys(), (std::vector<std::string>{"k", "k\\乗", "k\\乗\\sub"}));
  sim.regSetValue("k\\丄", "", "upper");
  EXPECT_EQ(sim.regGetValue("K\\丄", ""), std::optional<std::string>("upper"));
  EXPECT_FALSE(sim.regKeyExists("k\\乤"));
}

// ---------------------------------------------------------------- shell

TEST(SimShell, TrayAppBarAndShellExecuteRecords) {
  SimDesktop sim;
  TrayIcon t;
  t.owner = 5;
  t.id = 1;
  t.tip = "提示";
  EXPECT_TRUE(sim.trayAdd(t));
  EXPECT_FALSE(sim.trayAdd(t));
  t.tip = "新";
  EXPECT_TRUE(sim.trayModify(t));
  ASSERT_EQ(sim.trayIcons().size(), 1u);
  EXPECT_EQ(sim.trayIcons()[0].tip, "新");
  EXPECT_TRUE(sim.trayDelete(5, 1));
  EXPECT_FALSE(sim.trayDelete(5, 1));
  EXPECT_EQ(sim.trayLog(), (std::vector<std::string>{"add 1", "modify 1", "delete 1"}));

  EXPECT_TRUE(sim.appBarNew(9));
  EXPECT_TRUE(sim.appBarSetPos(9, 1, {0, 0, 1024, 20}));
  EXPECT_FALSE(sim.appBarSetPos(8, 1, {}));
  EXPECT_EQ(sim.appBars()[0].rect, (Rect{0, 0, 1024, 20}));
  EXPECT_TRUE(sim.appBarRemove(9));
  EXPECT_TRUE(sim.appBars().empty());

  EXPECT_EQ(sim.shellExecute(0, "open", "qirdesk.scf", "", "", 1), 31);
  EXPECT_EQ(sim.shellExecute(0, "open", "http://a.b/", "", "", 1), 42);
  sim.setShellAssociation(".SCF", true);
  EXPECT_EQ(sim.shellExecute(0, "open", "C:\\x\\qirdesk.scf", "", "", 1), 42);
  ASSERT_EQ(sim.shellExecutes().size(), 3u);
  EXPECT_EQ(sim.shellExecutes()[1].file, "http://a.b/");
}

TEST(SimShell, ShellLinksAreSeenAsFiles) {
  SimDesktop sim;
  std::string desk = *sim.specialFolder(csidl::Desktop);
  EXPECT_EQ(desk, "C:\\Users\\user\\Desktop");
  EXPECT_FALSE(sim.fileExists(desk + "\\Sipquill.lnk"));
  ShellLink l;
  l.target = "C:\\sipquill\\Sipquill.exe";
  EXPECT_TRUE(sim.createShellLink(desk + "\\Sipquill.lnk", l));
  EXPECT_TRUE(sim.fileExists(desk + "\\sipquill.LNK"));
  EXPECT_EQ(sim.shellLinks().at(desk + "\\Sipquill.lnk").target, l.target);
  sim.setSpecialFolder(csidl::Programs, std::nullopt);
  EXPECT_FALSE(sim.specialFolder(csidl::Programs));
}

// ---------------------------------------------------------------- files

TEST(SimFiles, GbkNamesLiveInTheWorkDirectory) {
  std::string dir;
  {
    SimDesktop sim;
    dir = sim.workDir();
    ASSERT_TRUE(std::filesystem::is_directory(dir));
    const std::string name = "发行软件.txt";
    const std::string data = std::string("一\r\n二\r\n\0x", 9);
    EXPECT_FALSE(sim.fileExists(name));
    ASSERT_TRUE(sim.writeFile(name, data));
    EXPECT_TRUE(sim.fileExists(name));
    // The Linux file carries the GBK bytes of the name.
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(dir + "/" + name)));
    std::string back;
    ASSERT_TRUE(sim.readFile(name, back));
    EXPECT_EQ(back, data);
    // The same file through the current directory's Windows path.
    EXPECT_TRUE(sim.fileExists(sim.currentDirectory() + "\\" + name));
    EXPECT_FALSE(sim.fileExists("D:\\elsewhere\\" + name));
    EXPECT_TRUE(sim.deleteFile(name));
    EXPECT_FALSE(sim.fileExists(name));
    EXPECT_FALSE(sim.readFile(name, back));
    EXPECT_FALSE(sim.writeFile("nodir\\x.txt", "x"));
    std::filesystem::create_directory(dir + "/ehelp");
    EXPECT_TRUE(sim.writeFile("ehelp\\a.htm", "<p>"));
    EXPECT_TRUE(std::filesystem::exists(dir + "/ehelp/a.htm"));
    // A trail byte equal to a backslash is no directory separator.
    EXPECT_TRUE(sim.writeFile("乗.txt", "x"));
    EXPECT_TRUE(std::filesystem::exists(dir + "/" + std::string("乗.txt")));
  }
  EXPECT_FALSE(std::filesystem::exists(dir));  // removed with the desktop
}

// The browser control: tests/webview_test.cpp.

TEST(SimWindows, DescribeShowsTheTreeInZOrder) {
  SimDesktop sim;
  Wnd f = sim.createWindow(Top("Tqircom", {-2000, 0, 400, 350}, true));
  WindowSpec s = Child(f, Kind::Panel, {1, 2, 3, 4}, "Panel9");
  s.caption = "up far";
  s.visible = false;
  sim.createWindow(s);
  sim.addTextEditor({0, 0, 50, 50});
  std::string d = sim.describe();
  std::size_t bar = d.find("Tqircom"), panel = d.find("  0x"), pad = d.find("Notepad");
  ASSERT_NE(bar, std::string::npos) << d;
  EXPECT_LT(bar, pad) << d;  // topmost first
  EXPECT_LT(bar, panel) << d;
  EXPECT_NE(d.find("TPanel 'Panel9' \"up far\" 1,2 3x4 hidden"), std::string::npos) << d;
  EXPECT_NE(d.find("[foreground]"), std::string::npos) << d;
}

}  // namespace
}  // namespace sq

namespace sq {
namespace {

// The window switcher's view of other programs' windows: minimised ones
// are not under the pointer until restored, and the extended styles read
// back as set.
TEST(SimWindowState, MinimisedWindowsAndExtendedStyles) {
  SimDesktop sim;
  const Wnd w = sim.addWindow("PageWnd", "page", {100, 100, 300, 200});
  EXPECT_EQ(sim.windowFromPoint({150, 150}), w);
  sim.setMinimized(w, true);
  sim.setExtendedStyle(w, false, true);
  WindowState s = sim.windowState(w);
  EXPECT_TRUE(s.minimized);
  EXPECT_TRUE(s.appWindow);
  EXPECT_FALSE(s.toolWindow);
  EXPECT_EQ(sim.windowFromPoint({150, 150}), 0u);
  sim.restoreWindow(w);
  EXPECT_FALSE(sim.windowState(w).minimized);
  EXPECT_EQ(sim.windowFromPoint({150, 150}), w);
  EXPECT_EQ(sim.getWindowRect(w), (Rect{100, 100, 300, 200}));  // back where it was
  // A dead handle reads as nothing at all.
  sim.destroyWindow(w);
  s = sim.windowState(w);
  EXPECT_FALSE(s.minimized || s.toolWindow || s.appWindow || s.topmost);
}

}  // namespace
}  // namespace sq
