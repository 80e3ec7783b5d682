// The simulated desktop: synthesised and real input, the text editor, the
// hook's words and the record.
#include <gtest/gtest.h>

#include "platform/sim/simdesktop.h"
#include "platform/sim/simtest.h"

namespace sq {
namespace {

constexpr int kCtrl = 17, kShift = 16, kAlt = 18, kHome = 36, kDown = 40, kLeft = 37,
              kDelete = 46, kBack = 8;

void Press(SimDesktop& s, int vk) {
  s.keybdEvent(vk, 0, 0);
  s.keybdEvent(vk, 0, keyflag::KeyUp);
}
void Chord(SimDesktop& s, int mod, int vk) {
  s.keybdEvent(mod, 0, 0);
  Press(s, vk);
  s.keybdEvent(mod, 0, keyflag::KeyUp);
}

// A desktop with the program's three mailbox windows and the hook installed.
struct Hooked {
  SimDesktop sim;
  Wnd input, bar, scroll;
  Hooked() {
    WindowSpec s;
    s.kind = Kind::Form;
    s.className = "Tqirinputor";
    s.caption = "old--mode";
    input = sim.createWindow(s);
    s.className = "Tqircom";
    s.caption = "old--17up";
    s.bounds = {-2000, 0, 400, 350};
    bar = sim.createWindow(s);
    s.className = "TqirForm3";
    s.caption = "ystop==/[[65553]]]0,0--";
    scroll = sim.createWindow(s);
    sim.setHookMailbox(Mailbox::Input, input);
    sim.setHookMailbox(Mailbox::Bar, bar);
    sim.setHookMailbox(Mailbox::Scroll, scroll);
    EXPECT_EQ(sim.installHooks("dovahk1.dll", input), HookInstall::Installed);
  }
  // What the program's ticks do: read the three captions.
  void Read() {
    sim.mailboxSeen(input);
    sim.mailboxSeen(bar);
    sim.mailboxSeen(scroll);
  }
};

// ---------------------------------------------------------------- the record

TEST(SimRecord, ShortForms) {
  SimDesktop sim;
  Wnd w = sim.addWindow("Tqircom", "", {0, 0, 10, 10});
  auto m = sim.mark();
  sim.keybdEvent(17, 0, 0);
  sim.keybdEvent(27, 42, keyflag::KeyUp);
  sim.keybdEvent(46, 0, keyflag::ExtendedKey);
  sim.mouseEvent(mouseflag::LeftDown, 0, 0, 0);
  sim.mouseEvent(mouseflag::RightDown | mouseflag::RightUp, 0, 0, 0);
  sim.mouseEvent(mouseflag::Wheel, 0, 0, -120);
  sim.mouseEvent(mouseflag::Move, 5, -3, 0);
  sim.mouseEvent(mouseflag::Move | mouseflag::Absolute, 32768, 0, 0);
  sim.setWindowText(w, "17down");
  sim.setCursorPos({100, 200});
  EXPECT_TRUE(SameEvents({"key 17 down", "key 27/42 up", "key 46 down ext", "mouse leftdown",
                          "mouse rightdown+rightup", "wheel -120", "mouse move 5,-3",
                          "mouse absmove 32768,0", "caption Tqircom=17down", "cursor 100,200"},
                         sim.eventsSince(m)));
  EXPECT_EQ(sim.eventsSince(m, simfilter::keys()).size(), 3u);
  EXPECT_EQ(sim.eventsSince(m, simfilter::mouse()).size(), 5u);
  EXPECT_EQ(sim.eventsSince(m, simfilter::captions()),
            (std::vector<std::string>{"caption Tqircom=17down"}));
  EXPECT_EQ(sim.eventsSince(m, simfilter::input()).size(), 9u);
}

TEST(SimRecord, CaptionsAreLoggedOnlyWhenTheyChange) {
  SimDesktop sim;
  Wnd a = sim.addWindow("TqirForm3", "x", {0, 0, 10, 10});
  Wnd b = sim.addWindow("Tqircom", "y", {0, 0, 10, 10});
  auto m = sim.mark();
  sim.setWindowText(a, "x");
  sim.setWindowText(a, "wheel");
  sim.setWindowText(a, "wheel");
  sim.setWindowText(b, "17down");
  EXPECT_EQ(sim.eventsSince(m), (std::vector<std::string>{"caption TqirForm3=wheel",
                                                          "caption Tqircom=17down"}));
  EXPECT_EQ(sim.eventsSince(m, simfilter::captionsOf("Tqircom")),
            (std::vector<std::string>{"caption Tqircom=17down"}));
  EXPECT_EQ(sim.events()[m].wnd, a);
}

TEST(SimRecord, SideBySideComparison) {
  EXPECT_EQ(CompareSequences({"a", "b"}, {"a", "b"}), "");
  std::string d = CompareSequences({"key 17 down", "key 86 down"}, {"key 17 down"});
  EXPECT_NE(d.find("expected"), std::string::npos);
  EXPECT_NE(d.find(">! key 86 down"), std::string::npos);
  EXPECT_NE(d.find("(2 expected, 1 actual)"), std::string::npos);
  EXPECT_FALSE(SameEvents({"x"}, {"y"}));
}

// ---------------------------------------------------------------- handlers

TEST(SimInput, InputSynthesisedInAHandlerWaitsUntilItReturns) {
  SimDesktop sim;
  Wnd ed = sim.addTextEditor({0, 0, 300, 200});
  sim.setClipboardText("pasted");
  const std::uint32_t t0 = sim.tickCount();
  bool downInside = true;
  std::string textInside = "?";
  auto m = sim.mark();
  sim.setTimer(0, 1, 40, [&] {
    sim.killTimer(0, 1);
    sim.keybdEvent(kCtrl, 0, 0);
    sim.sleep(10);
    sim.keybdEvent('V', 0, 0);
    sim.keybdEvent('V', 0, keyflag::KeyUp);
    sim.keybdEvent(kCtrl, 0, keyflag::KeyUp);
    downInside = sim.isKeyDown(kCtrl);
    textInside = sim.editorText(ed);
  });
  sim.advance(100);
  EXPECT_FALSE(downInside);
  EXPECT_EQ(textInside, "");
  EXPECT_EQ(sim.editorText(ed), "pasted");
  // Recorded when called, with the time of the call.
  EXPECT_EQ(sim.timedEventsSince(m, t0),
            (std::vector<std::string>{"+40 key 17 down", "+50 key 86 down", "+50 key 86 up",
                                      "+50 key 17 up"}));
}

TEST(SimInput, InputOutsideAHandlerActsAtOnce) {
  SimDesktop sim;
  Wnd ed = sim.addTextEditor({0, 0, 300, 200});
  sim.keybdEvent(kShift, 0, 0);
  EXPECT_TRUE(sim.isKeyDown(kShift));
  Press(sim, 'A');
  sim.keybdEvent(kShift, 0, keyflag::KeyUp);
  EXPECT_EQ(sim.editorText(ed), "A");

  // runAsHandler gives start-up code the handler's queueing.
  sim.runAsHandler([&] {
    Press(sim, 'B');
    EXPECT_EQ(sim.editorText(ed), "A");
  });
  EXPECT_EQ(sim.editorText(ed), "Ab");
}

TEST(SimInput, KeyStateOfModifiersAndButtons) {
  SimDesktop sim;
  sim.keyDown(163);  // right Ctrl
  EXPECT_TRUE(sim.isKeyDown(kCtrl));
  EXPECT_TRUE(sim.isKeyDown(163));
  EXPECT_FALSE(sim.isKeyDown(162));
  sim.keyDown(162);
  sim.keyUp(163);
  EXPECT_TRUE(sim.isKeyDown(kCtrl));  // left still held
  sim.keyUp(162);
  EXPECT_FALSE(sim.isKeyDown(kCtrl));
  sim.keybdEvent(kAlt, 0, 0);
  EXPECT_TRUE(sim.isKeyDown(164));
  sim.keybdEvent(kAlt, 0, keyflag::KeyUp);
  EXPECT_FALSE(sim.isKeyDown(kAlt));

  sim.leftDown();
  sim.rightDown();
  EXPECT_TRUE(sim.isKeyDown(1));
  EXPECT_TRUE(sim.isKeyDown(2));
  sim.mouseEvent(mouseflag::LeftUp | mouseflag::MiddleDown, 0, 0, 0);
  EXPECT_FALSE(sim.isKeyDown(1));
  EXPECT_TRUE(sim.isKeyDown(4));
  EXPECT_TRUE(sim.isKeyDown(2));
}

TEST(SimInput, PointerMovesAreClampedToTheScreen) {
  SimDesktop sim(800, 600);
  sim.setCursorPos({100, 100});
  sim.mouseEvent(mouseflag::Move, 30, -20, 0);
  EXPECT_EQ(sim.getCursorPos(), (Point{130, 80}));
  sim.mouseEvent(mouseflag::Move | mouseflag::Absolute, 32768, 16384, 0);
  EXPECT_EQ(sim.getCursorPos(), (Point{400, 150}));
  sim.moveMouse(-5, 9000);
  EXPECT_EQ(sim.getCursorPos(), (Point{0, 599}));
  auto m = sim.mark();
  sim.setCursorPos({-2000, 5});
  EXPECT_EQ(sim.getCursorPos(), (Point{0, 5}));
  EXPECT_EQ(sim.eventsSince(m), (std::vector<std::string>{"cursor -2000,5"}));
}

// ---------------------------------------------------------------- text editor

TEST(SimEditor, CopyCutPasteAndSelectAll) {
  SimDesktop sim;
  Wnd ed = sim.addTextEditor({0, 0, 300, 200});
  sim.setEditorText(ed, "hello world");
  sim.setSelection(ed, 6, 11);
  EXPECT_EQ(sim.selectionText(ed), "world");
  Chord(sim, kCtrl, 'C');
  EXPECT_EQ(sim.getClipboardText(), "world");

  sim.setSelection(ed, 0, 5);
  Chord(sim, kCtrl, 'V');  // replaces the selection
  EXPECT_EQ(sim.editorText(ed), "world world");
  EXPECT_EQ(sim.caretPos(ed), 5u);
  EXPECT_EQ(sim.selectionText(ed), "");

  sim.setSelection(ed, 5, 11);
  Chord(sim, kCtrl, 'X');
  EXPECT_EQ(sim.editorText(ed), "world");
  EXPECT_EQ(sim.getClipboardText(), " world");

  sim.setClipboardText("keep");
  sim.setSelection(ed, 2, 2);
  Chord(sim, kCtrl, 'C');  // nothing selected: the clipboard stays
  EXPECT_EQ(sim.getClipboardText(), "keep");

  Chord(sim, kCtrl, 'A');
  EXPECT_EQ(sim.selectionText(ed), "world");
  Press(sim, kDelete);
  EXPECT_EQ(sim.editorText(ed), "");
}

TEST(SimEditor, TypingLinesAndShiftSelection) {
  SimDesktop sim;
  Wnd ed = sim.addTextEditor({0, 0, 300, 200});
  sim.typeText("Ab 1\nsecond line\nx");
  EXPECT_EQ(sim.editorText(ed), "Ab 1\r\nsecond line\r\nx");

  // Shift+Home from the middle of the second line selects to its start.
  sim.setSelection(ed, 12, 12);  // after "second"
  sim.keyDown(kShift);
  sim.tapKey(kHome);
  sim.keyUp(kShift);
  EXPECT_EQ(sim.selectionText(ed), "second");

  // Home, then Shift+Down takes the whole line with its line break.
  sim.tapKey(kHome);
  sim.keyDown(kShift);
  sim.tapKey(kDown);
  sim.keyUp(kShift);
  EXPECT_EQ(sim.selectionText(ed), "second line\r\n");
  // Shift+Down on the last line extends to the end.
  sim.keyDown(kShift);
  sim.tapKey(kDown);
  sim.keyUp(kShift);
  EXPECT_EQ(sim.selectionText(ed), "second line\r\nx");
  sim.tapKey(kBack);
  EXPECT_EQ(sim.editorText(ed), "Ab 1\r\n");
  sim.tapKey(kBack);  // the line break goes as one
  EXPECT_EQ(sim.editorText(ed), "Ab 1");
}

TEST(SimEditor, DoubleByteCharactersMoveAsOne) {
  SimDesktop sim;
  Wnd ed = sim.addTextEditor({0, 0, 300, 200});
  sim.setEditorText(ed, "a中文");
  sim.keyDown(kShift);
  sim.tapKey(kLeft);
  sim.keyUp(kShift);
  EXPECT_EQ(sim.selectionText(ed), "文");
  sim.tapKey(kBack);
  EXPECT_EQ(sim.editorText(ed), "a中");
}

TEST(SimEditor, KeysGoOnlyToTheFocusedEditor) {
  SimDesktop sim;
  Wnd one = sim.addTextEditor({0, 0, 300, 200});
  Wnd two = sim.addTextEditor({400, 0, 300, 200});
  EXPECT_EQ(sim.getForegroundWindow(), two);
  EXPECT_EQ(sim.focusWindow(), sim.editorEdit(two));
  sim.typeText("b");
  sim.moveMouse(50, 50);
  sim.click();  // activates the editor under the pointer
  EXPECT_EQ(sim.getForegroundWindow(), one);
  EXPECT_EQ(sim.enumWindows().front(), one);
  sim.typeText("a");
  EXPECT_EQ(sim.editorText(one), "a");
  EXPECT_EQ(sim.editorText(two), "b");

  // A click on one of the program's own windows activates it: keys then go
  // nowhere, unless the desktop is told own windows do not take activation.
  WindowSpec s;
  s.kind = Kind::Form;
  s.className = "Tqircom";
  s.bounds = {0, 300, 100, 100};
  s.topmost = true;
  sim.createWindow(s);
  sim.moveMouse(10, 310);
  sim.setOwnWindowsActivateOnClick(false);
  sim.click();
  EXPECT_EQ(sim.getForegroundWindow(), one);
  sim.setOwnWindowsActivateOnClick(true);
  sim.click();
  EXPECT_EQ(sim.getClassName(sim.getForegroundWindow()), "Tqircom");
  sim.typeText("z");
  EXPECT_EQ(sim.editorText(one), "a");
}

// ---------------------------------------------------------------- window events

struct Clickable {
  SimDesktop sim;
  Wnd form, panel, label;
  std::vector<std::string> clicks;
  Clickable() {
    WindowSpec s;
    s.kind = Kind::Form;
    s.className = "Tqircom";
    s.bounds = {100, 100, 200, 200};
    form = sim.createWindow(s);
    s.parent = form;
    s.kind = Kind::Panel;
    s.bounds = {0, 0, 100, 100};
    panel = sim.createWindow(s);
    s.kind = Kind::Label;
    s.parent = panel;
    s.bounds = {10, 10, 40, 20};
    label = sim.createWindow(s);
    sim.setClickHandler(panel, [this] { clicks.push_back("panel"); });
    sim.setClickHandler(label, [this] { clicks.push_back("label"); });
  }
};

TEST(SimWindowEvents, AClickNeedsDownAndUpOnTheSameControl) {
  Clickable c;
  c.sim.moveMouse(180, 180);
  c.sim.click();
  c.sim.moveMouse(120, 120);  // on the label: the label takes its click
  c.sim.click();
  EXPECT_EQ(c.sim.windowFromPoint({120, 120}), c.panel);  // though the pointer sees through it
  c.sim.moveMouse(180, 180);
  c.sim.leftDown();
  c.sim.moveMouse(250, 250);  // released on the form: no click
  c.sim.leftUp();
  c.sim.clickWindow(c.form);  // the form has no handler
  EXPECT_EQ(c.clicks, (std::vector<std::string>{"panel", "label"}));
  EXPECT_TRUE(c.sim.runClickHandler(c.panel));
  EXPECT_FALSE(c.sim.runClickHandler(c.form));
  EXPECT_EQ(c.clicks.back(), "panel");
}

TEST(SimWindowEvents, ASynthesisedClickRunsTheHandlerAfterTheTick) {
  Clickable c;
  c.sim.setCursorPos({180, 180});
  bool ranInside = false;
  c.sim.setTimer(0, 1, 20, [&] {
    c.sim.killTimer(0, 1);
    c.sim.mouseEvent(mouseflag::LeftDown | mouseflag::LeftUp, 0, 0, 0);
    ranInside = !c.clicks.empty();
  });
  c.sim.advance(20);
  EXPECT_FALSE(ranInside);
  EXPECT_EQ(c.clicks, (std::vector<std::string>{"panel"}));
}

TEST(SimWindowEvents, InputOfAClickHandlerQueuesBehindWaitingInput) {
  Clickable c;
  Wnd ed = c.sim.addTextEditor({400, 400, 200, 200});
  c.sim.setOwnWindowsActivateOnClick(false);
  c.sim.setClickHandler(c.panel, [&] { Press(c.sim, 'B'); });
  c.sim.setCursorPos({180, 180});
  c.sim.setTimer(0, 1, 20, [&] {
    c.sim.killTimer(0, 1);
    c.sim.mouseEvent(mouseflag::LeftDown | mouseflag::LeftUp, 0, 0, 0);
    Press(c.sim, 'A');
  });
  c.sim.advance(20);
  EXPECT_EQ(c.sim.editorText(ed), "ab");
}

TEST(SimWindowEvents, CloseMessagesAndTrayClicks) {
  Clickable c;
  Wnd other = c.sim.addWindow("Notepad", "x", {0, 0, 10, 10});
  int closes = 0;
  std::vector<TrayEvent> tray;
  c.sim.setCloseHandler(c.form, [&] { ++closes; });
  c.sim.setTrayHandler(c.form, [&](TrayEvent e) { tray.push_back(e); });
  c.sim.postMessage(c.form, 0x10, 0, 0);
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(c.sim.isWindow(c.form));  // the handler decides
  c.sim.closeWindow(other);
  EXPECT_FALSE(c.sim.isWindow(other));  // a foreign window just closes
  EXPECT_EQ(c.sim.closeRequests(), (std::vector<Wnd>{c.form, other}));

  TrayIcon t;
  t.owner = c.form;
  t.id = 1006;
  c.sim.trayAdd(t);
  EXPECT_TRUE(c.sim.trayClick(1006, MouseButton::Right));
  EXPECT_FALSE(c.sim.trayClick(7, MouseButton::Right));
  EXPECT_TRUE(c.sim.trayMessage(1006, 0x200));  // a move over the icon
  EXPECT_EQ(tray, (std::vector<TrayEvent>{TrayEvent::RightDown, TrayEvent::RightUp,
                                          TrayEvent::Other}));

  c.sim.destroyWindow(c.form);  // handlers go with the window
  EXPECT_FALSE(c.sim.hasCloseHandler(c.form));
  EXPECT_FALSE(c.sim.hasClickHandler(c.panel));
}

TEST(SimWindowEvents, PopupMenusTakeQueuedChoices) {
  SimDesktop sim;
  std::vector<Platform::MenuEntry> menu = {{"打开", true, false}, {"-", true, true},
                                           {"关闭", false, false}, {"退出", true, false}};
  sim.queueMenuChoice("退出");
  sim.queueMenuChoice(2);  // disabled: dismissed
  EXPECT_EQ(sim.trackPopupMenu(0, menu, {5, 6}), 3);
  EXPECT_EQ(sim.trackPopupMenu(0, menu, {5, 6}), -1);
  EXPECT_EQ(sim.trackPopupMenu(0, menu, {5, 6}), -1);  // nothing queued
  ASSERT_EQ(sim.popupMenus().size(), 3u);
  EXPECT_EQ(sim.popupMenus()[0].captions,
            (std::vector<std::string>{"打开", "-", "关闭", "退出"}));
  EXPECT_EQ(sim.popupMenus()[0].at, (Point{5, 6}));
}

// ---------------------------------------------------------------- hook

TEST(SimHook, RealKeysWriteWordsButSynthesisedOnesDoNot) {
  Hooked h;
  auto m = h.sim.mark();
  h.sim.tapKey(kCtrl);
  h.sim.keybdEvent(kAlt, 0, 0);  // the program's own: no word
  h.sim.keybdEvent(kAlt, 0, keyflag::KeyUp);
  // The key-up words wait until the readers have read the key-down words.
  h.Read();
  EXPECT_TRUE(SameEvents({"caption Tqircom=17down", "caption Tqirinputor=key--17//",
                          "key 18 down", "key 18 up", "caption Tqirinputor=old--17",
                          "caption Tqircom=old--17up"},
                         h.sim.eventsSince(m)));
}

TEST(SimHook, WordsWaitInOrderForTheirReader) {
  // A caption keeps its word until its reader has read it; the words that
  // come meanwhile follow one per reading, in order, each caption on its
  // own; past a full line of waiting words the oldest are dropped and
  // counted. (Ctrl and V: keys whose words a reader looks at.)
  Hooked h;
  h.Read();
  for (int i = 0; i < 3; ++i) h.sim.tapKey(kCtrl);  // six words per caption
  EXPECT_EQ(h.sim.getWindowText(h.input), "key--17//");
  EXPECT_EQ(h.sim.getWindowText(h.bar), "17down");
  EXPECT_EQ(h.sim.waitingWords(h.input), 5u);
  std::vector<std::string> input;
  for (int i = 0; i < 6; ++i) {
    input.push_back(h.sim.getWindowText(h.input));
    h.sim.mailboxSeen(h.input);  // only the input caption is read
  }
  EXPECT_EQ(input, (std::vector<std::string>{"key--17//", "old--17", "key--17//", "old--17",
                                             "key--17//", "old--17"}));
  EXPECT_EQ(h.sim.getWindowText(h.bar), "17down");
  EXPECT_EQ(h.sim.waitingWords(h.bar), 5u);
  // A program's own word is read like any other before a word follows it.
  h.sim.setWindowText(h.input, "key--ctrlv");
  h.sim.tapKey('V');
  EXPECT_EQ(h.sim.getWindowText(h.input), "key--ctrlv");
  h.sim.mailboxSeen(h.input);
  EXPECT_EQ(h.sim.getWindowText(h.input), "key--86");
  // A word equal to the caption changes nothing, so it needs no reading.
  h.sim.mailboxSeen(h.input);
  EXPECT_EQ(h.sim.getWindowText(h.input), "old--86");
  h.sim.mailboxSeen(h.input);
  h.sim.setWindowText(h.input, "old--mode");
  for (int i = 0; i < 8; ++i) h.Read();
  EXPECT_EQ(h.sim.waitingWords(h.bar), 0u);
  EXPECT_EQ(h.sim.droppedWords(), 0u);
  // Taps while nobody reads: each caption keeps the first word, a full
  // line waits, the oldest of the others are dropped; the newest follow.
  constexpr int kLine = static_cast<int>(WordDelivery::kMaxWaiting);
  const int taps = kLine / 2 + 5;  // two words a tap and caption
  for (int i = 0; i < taps; ++i) h.sim.tapKey(i < 5 ? 'V' : kCtrl);
  const int over = 2 * taps - 1 - kLine;  // per caption
  EXPECT_EQ(h.sim.getWindowText(h.input), "key--86");
  EXPECT_EQ(h.sim.waitingWords(h.input), WordDelivery::kMaxWaiting);
  EXPECT_EQ(h.sim.droppedWords(), static_cast<std::uint64_t>(2 * over));
  int dropped = 0;
  for (const auto& r : h.sim.hookWords()) dropped += r.dropped ? 1 : 0;
  EXPECT_EQ(dropped, 2 * over);
  std::vector<std::string> rest;
  for (int i = 0; i < kLine; ++i) {
    h.sim.mailboxSeen(h.input);
    rest.push_back(h.sim.getWindowText(h.input));
  }
  // The V taps were the oldest: only Ctrl words are left, down and up in turn.
  std::vector<std::string> want;
  for (int i = 0; i < kLine / 2; ++i) {
    want.push_back("key--17//");
    want.push_back("old--17");
  }
  EXPECT_EQ(rest, want);
  EXPECT_EQ(h.sim.waitingWords(h.input), 0u);
}

TEST(SimHook, TypingWaitsNotBeforeTheWordsThatMeanSomething) {
  // Letters typed while the input caption's reader is busy: their words
  // only pass by, so a later word supersedes them and a Ctrl+C right after
  // the typing is next in line; the command bar's key history still gets
  // every key, in order.
  Hooked h;
  h.Read();
  h.sim.tapKey(kCtrl);
  for (int vk : {'Q', 'U', 'I', 'C', 'K'}) h.sim.tapKey(vk);
  h.sim.keyDown(kCtrl);
  h.sim.tapKey('C');
  h.sim.keyUp(kCtrl);
  h.sim.tapKey('B');  // the last word stays for its reader, whatever it is
  std::vector<std::string> input, bar;
  for (int i = 0; i < 12; ++i) {
    input.push_back(h.sim.getWindowText(h.input));
    if (h.sim.waitingWords(h.input) == 0) break;
    h.sim.mailboxSeen(h.input);
  }
  EXPECT_EQ(input, (std::vector<std::string>{"key--17//", "old--17", "old--67", "key--17//",
                                             "key--ctrlc", "old--67", "old--17", "old--66"}));
  for (int i = 0; i < 40; ++i) {
    bar.push_back(h.sim.getWindowText(h.bar));
    if (h.sim.waitingWords(h.bar) == 0) break;
    h.sim.mailboxSeen(h.bar);
  }
  EXPECT_EQ(bar.size(), 2u * 9u);
  EXPECT_EQ(h.sim.droppedWords(), 0u);
}

TEST(SimHook, ConditionalWordsAreTestedWhenTheirTurnComes) {
  Hooked h;
  h.Read();
  // Shift and a digit before the program answered Shift: the digit's word
  // waits behind "key--shiftdown", and by its turn the caption reads the
  // answer it needs.
  h.sim.keyDown(kShift);
  h.sim.keyDown('4');
  EXPECT_EQ(h.sim.getWindowText(h.input), "key--shiftdown");
  h.sim.setWindowText(h.input, "key//bshiftok2");  // the program's answer
  h.sim.mailboxSeen(h.input);
  EXPECT_EQ(h.sim.getWindowText(h.input), "key//bshiftok2--52");
  h.sim.keyUp('4');
  h.sim.mailboxSeen(h.input);
  EXPECT_EQ(h.sim.getWindowText(h.input), "old--52");
  // Its turn come while the caption reads otherwise: refused, and the next
  // word goes on at once.
  h.sim.mailboxSeen(h.input);
  h.sim.tapKey('3');
  h.sim.mailboxSeen(h.input);
  EXPECT_EQ(h.sim.getWindowText(h.input), "old--51");
  ASSERT_FALSE(h.sim.hookWords().empty());
  const auto& refused = h.sim.hookWords()[h.sim.hookWords().size() - 2];
  EXPECT_EQ(refused.word.text, "key//bshiftok2--51");
  EXPECT_FALSE(refused.applied);
  EXPECT_FALSE(refused.dropped);
}

TEST(SimHook, MouseWordsCarryThePointer) {
  Hooked h;
  h.sim.moveMouse(120, 340);
  h.Read();
  auto m = h.sim.mark();
  h.sim.leftDown();
  h.sim.leftUp();
  h.sim.rightDown();
  h.sim.rightUp();
  h.sim.wheel(1);
  h.sim.wheel(-2);
  h.sim.mouseEvent(mouseflag::LeftDown, 0, 0, 0);  // own click: no word
  for (int i = 0; i < 8; ++i) h.Read();
  EXPECT_TRUE(SameEvents({"caption TqirForm3=down/120,340/", "mouse leftdown",
                          "caption TqirForm3=ystop==/[[514]]]120,340--",
                          "caption TqirForm3=rightdn120,340", "caption TqirForm3=rightup120,340",
                          "caption TqirForm3=ystop wheel=///", "caption TqirForm3=ystop wheel=vvv"},
                         h.sim.eventsSince(m)));
}

TEST(SimHook, WordsOfRealInputDuringAHandlerArriveAfterIt) {
  Hooked h;
  h.Read();
  std::string inside;
  h.sim.runAsHandler([&] {
    h.sim.keyDown(kCtrl);  // the user presses Ctrl while a tick runs
    inside = h.sim.getWindowText(h.bar);
    h.sim.setWindowText(h.bar, "no message");
  });
  EXPECT_EQ(inside, "old--17up");
  EXPECT_TRUE(h.sim.isKeyDown(kCtrl));  // the key itself is down at once
  EXPECT_EQ(h.sim.getWindowText(h.input), "key--17//");
  // The bar's own word came first: the hook's waits until it is read, and
  // a reading inside a handler lets it on only after the handler.
  EXPECT_EQ(h.sim.getWindowText(h.bar), "no message");
  h.sim.runAsHandler([&] {
    h.sim.mailboxSeen(h.bar);
    inside = h.sim.getWindowText(h.bar);
  });
  EXPECT_EQ(inside, "no message");
  EXPECT_EQ(h.sim.getWindowText(h.bar), "17down");
}

TEST(SimHook, NoWordsBeforeTheHookIsInstalled) {
  SimDesktop sim;
  WindowSpec s;
  s.kind = Kind::Form;
  s.className = "Tqircom";
  s.caption = "old--17up";
  Wnd bar = sim.createWindow(s);
  sim.tapKey(kCtrl);
  EXPECT_EQ(sim.getWindowText(bar), "old--17up");
  EXPECT_TRUE(sim.hookWords().empty());
}

}  // namespace
}  // namespace sq
