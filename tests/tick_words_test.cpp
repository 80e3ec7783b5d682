// The tick's answers to caption words and history patterns that the other
// gesture tests do not reach: the input method's "done with" rule after
// every word, the copy-lines wait against the last line copy, the caret and
// scroll-mode words, the right-button counters and the keyboard words.
#include "bar/mousepp.h"
#include "tests/gesture_harness.h"

namespace sq::testing {

namespace {

const std::vector<std::string> kEscape42 = {"key 27/42 down", "key 27/42 up"};

// The pinyin input method's windows: a status bar under the point the input
// window's strip tests, and a composition window, shown or hidden.
Wnd AddInputMethod(Desk& d, bool composing) {
  d.sim.addWindow("UNISPIM_STATUSCLS", "", {600, 700, 200, 30});
  Wnd comp = d.sim.addWindow("UNISPIM_COMPCLS", "", {40, 40, 120, 24});
  if (!composing) d.sim.showWindow(comp, false);
  return comp;
}

// ---- the input method's idle rule runs after every word --------------------

TEST(TickImeIdle, AnsweredWordsReturnToIdleInTheSameTick) {
  struct Row {
    std::string word;
    std::string expected;  // input caption after one tick
  };
  const std::vector<Row> rows = {
      // Answered by "key--ccok2", "key--ccok3", then done with.
      {"key--ccok1", "old--mode"},
      // A copy sighting is counted, then done with: it counts once.
      {"key--shiftc--copy--ok", "old--mode"},
      // Caps Lock words stay.
      {"key--20", "key--20"},
      {"old--20", "old--20"},
      {"key--65", "old--mode"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.word);
    Desk d;
    ASSERT_TRUE(d.Start());
    AddInputMethod(d, false);
    d.sim.moveMouse(300, 300);
    d.Ticks(2);
    ASSERT_EQ(d.app.qirinputor->Panel4.Caption(), "1");
    d.app.qirinputor->SetCaption(row.word);
    d.Ticks(1);
    EXPECT_EQ(d.InputCaption(), row.expected);
  }
}

TEST(TickImeIdle, EachCopyIsCapturedWhileNothingIsComposed) {
  // The idle word replaces the copy word on its first sighting; the capture
  // goes on by itself and takes every copy, not every third.
  Desk d;
  ASSERT_TRUE(d.Start());
  AddInputMethod(d, false);
  Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
  d.sim.moveMouse(200, 200);
  d.Ticks(2);
  const std::vector<std::string> texts = {"one", "two", "three"};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    d.sim.setEditorText(ed, text);
    d.sim.setSelection(ed, 0, text.size());
    d.sim.keyDown(vk::Control);
    d.Ticks(1);
    d.sim.keyDown('C');
    d.Ticks(1);
    ASSERT_EQ(d.InputCaption(), "key--shiftc--copy--ok");
    d.Ticks(1);
    EXPECT_EQ(d.InputCaption(), "old--mode");
    // The first sighting counted: not captured yet.
    EXPECT_NE(d.app.qircom->ListBox2.Item(0), text);
    d.Ticks(2);
    EXPECT_EQ(d.app.qircom->ListBox2.Item(0), text);
    // The capture is over: it takes nothing more by itself.
    d.sim.setClipboardText("not copied");
    d.Ticks(3);
    EXPECT_EQ(d.app.qircom->ListBox2.Item(0), text);
    d.sim.keyUp('C');
    d.sim.keyUp(vk::Control);
    d.Ticks(2);
  }
  EXPECT_EQ(d.Items(d.app.qircom->ListBox2),
            (std::vector<std::string>{"three", "two", "one", "智能粘贴板"}));
}

TEST(TickImeIdle, NotAppliedWhileComposingOrWithoutTheStatusBar) {
  for (int variant = 0; variant < 2; ++variant) {
    SCOPED_TRACE(variant == 0 ? "composing" : "status bar elsewhere");
    Desk d;
    ASSERT_TRUE(d.Start());
    if (variant == 0) {
      AddInputMethod(d, true);
    } else {
      d.sim.addWindow("UNISPIM_STATUSCLS", "", {600, 700, 200, 30});
      Wnd comp = d.sim.addWindow("UNISPIM_COMPCLS", "", {40, 40, 120, 24});
      d.sim.showWindow(comp, false);
      // Something else now lies below the strip.
      d.Ticks(2);
      d.sim.addWindow("Other", "", {0, 690, 1024, 78});
    }
    d.sim.moveMouse(300, 300);
    d.Ticks(2);
    d.app.qirinputor->SetCaption("key--65");
    d.Ticks(1);
    EXPECT_EQ(d.InputCaption(), "key--65");
  }
}

TEST(TickImeIdle, ShiftAndADigitStillPasteWhileNothingIsComposed) {
  Desk d;
  ASSERT_TRUE(d.Start());
  AddInputMethod(d, false);
  Wnd ed = d.sim.addTextEditor({0, 0, 250, 250});
  Tqircom& bar = *d.app.qircom;
  bar.ListBox2.Clear();
  for (const char* s : {"one", "two"}) bar.ListBox2.Add(s);
  d.sim.setClipboardText("one");
  bar.SetWindowPos(ZOrder::TopMost, 300, 300, 400, 350, swp::ShowWindow);
  d.sim.moveMouse(310, 310);
  d.Ticks(2);
  ASSERT_EQ(d.app.qirinputor->Panel4.Caption(), "1");
  const auto m = d.sim.mark();
  d.sim.keyDown(vk::Shift);
  d.Ticks(1);
  EXPECT_EQ(d.InputCaption(), "key//bshiftok2");
  d.sim.keyDown('2');
  d.Ticks(2);  // one to read "key//bshiftok2", one to choose
  EXPECT_EQ(d.InputCaption(), "key--ctrlv");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(CtrlKey('V'), d.Input(m)));
  EXPECT_EQ(d.sim.editorText(ed), "@two");
  d.sim.keyUp('2');
  d.sim.keyUp(vk::Shift);
}

// ---- the copy-lines wait compares with the last line copy ------------------

TEST(TickCopyLines, StageWaitsForADifferenceFromTheLastLineCopyNotFromTheArmingTick) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);  // no editor: the synthesised copies change nothing
  d.sim.setClipboardText("held");
  d.Ticks(1);
  Tqircom& bar = *d.app.qircom;
  bar.ListBox11.SetText("x\ny");
  auto request = [&] {
    bar.Panel19.SetCaption("xx copy");
    d.app.caretinfo->SetCaption("alt2menu--51");
    d.Ticks(1);
    ASSERT_EQ(d.app.caretinfo->Caption(), "select xxcopy");
  };
  const std::vector<std::string> extend = Concat(
      {{"key 36 down", "key 36 up", "key 16 down", "key 40 down", "key 40 up", "key 40 down",
        "key 40 up", "key 16 up"},
       CtrlKey('C')});

  // No line copy yet: "held" differs from the empty S1, so the stage goes on
  // at the next tick even though the clipboard did not change.
  request();
  auto m = d.sim.mark();
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(extend, d.Keys(m)));
  // The stage is over: the next tick extends nothing more.
  m = d.sim.mark();
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({}, d.Keys(m)));

  // The next request meets the same text: it waits and gives up after 20.
  request();
  m = d.sim.mark();
  d.Ticks(20);
  EXPECT_TRUE(SameEvents({}, d.Keys(m)));
  // Given up: a change now extends nothing.
  d.sim.setClipboardText("changed");
  d.Ticks(2);
  EXPECT_TRUE(SameEvents({}, d.Keys(m)));
}

// ---- caret and scroll-mode words ---------------------------------------------

TEST(TickCaretWords, FinishedSelectionIsCutAndSelectWordsFollowTheButtons) {
  Desk d;
  ASSERT_TRUE(d.StartOverPage());
  Tcaretinfo& caret = *d.app.caretinfo;
  d.app.qircom->SetLeft(50);
  auto m = d.sim.mark();
  caret.SetCaption("ok select 12");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({"key 16 down", "key 46 down", "key 46 up", "key 16 up"}, d.Keys(m)));
  EXPECT_EQ(caret.Caption(), "oksel");
  EXPECT_LT(d.app.qircom->Left(), 0);

  caret.SetCaption("select");
  d.sim.rightDown();
  d.Ticks(1);
  EXPECT_EQ(caret.Caption(), "rightexit select");
  d.sim.rightUp();
  d.Ticks(1);
  caret.SetCaption("select");
  const auto mc = d.sim.mark();
  d.sim.leftDown();
  d.Ticks(1);
  // The left hold writes its "leftpos=" word later in the same tick.
  EXPECT_EQ(d.sim.eventsSince(mc, simfilter::captionsOf("Tcaretinfo")),
            (std::vector<std::string>{"caption Tcaretinfo=leftexit select",
                                      "caption Tcaretinfo=leftpos=300,300"}));
  d.sim.leftUp();
  d.Ticks(1);
}

TEST(TickCaretWords, ArmedSelectionMeetsTheNextLeftPress) {
  for (bool copyLines : {false, true}) {
    SCOPED_TRACE(copyLines ? "copy-lines flag" : "plain");
    Desk d;
    ASSERT_TRUE(d.Start());
    d.sim.moveMouse(300, 300);
    d.Ticks(1);
    // The copy-lines gesture, then Alt and the Windows key arm the
    // selection.
    if (copyLines) {
      d.app.qircom->Panel19.SetCaption("xx copy");
      d.app.caretinfo->SetCaption("alt2menu--51");
      d.Ticks(1);
      ASSERT_EQ(d.app.caretinfo->Caption(), "select xxcopy");
      d.Ticks(21);
    }
    d.sim.keyDown(vk::Menu);
    d.sim.advance(25);
    d.sim.keyUp(vk::Menu);
    d.sim.advance(25);
    d.sim.keyDown(vk::LWin);
    d.Ticks(2);
    ASSERT_EQ(d.app.caretinfo->Caption(), "select");
    d.sim.keyUp(vk::LWin);
    d.Ticks(2);
    d.app.caretinfo->SetCaption("idle");
    d.app.qirForm3->SetCaption("down/300,300/");
    d.Ticks(1);
    EXPECT_EQ(d.app.caretinfo->Caption(), copyLines ? "select" : "mousedown");
    EXPECT_EQ(d.InputCaption(), "old--lm");
    // Both used up: the next press word leaves the caret caption alone.
    d.app.caretinfo->SetCaption("idle");
    d.app.qirForm3->SetCaption("down/300,300/");
    d.Ticks(1);
    EXPECT_EQ(d.app.caretinfo->Caption(), "idle");
  }
}

TEST(TickScrollResets, ListBox3TriggersResetTheScrollMode) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  Control& marks = d.app.caretinfo->ListBox3;
  auto m = d.sim.mark();
  marks.SetItem(1, "ystop000");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({"mouse leftdown", "mouse leftup"}, d.Input(m)));
  EXPECT_EQ(marks.Item(1), "new ystop--");

  TqirForm3& f3 = *d.app.qirForm3;
  f3.Panel4.SetLeft(40);
  f3.Panel4.SetTop(60);
  f3.Panel4.Show();
  m = d.sim.mark();
  marks.SetItem(1, "ystop==/ystop stopdrag 7");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({"cursor 40,60"}, d.Input(m)));
  EXPECT_EQ(marks.Item(1), "new ystop--");
  EXPECT_FALSE(f3.Panel4.Visible());
  EXPECT_EQ(d.ScrollCaption(), "123ok ystop");
}

// ---- right button ------------------------------------------------------------

TEST(TickRightButton, ReleasesAtThePressPointAreCountedAgainstTheBarsEdit2) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.StopLifePanel();
  d.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
  d.app.qircom->Edit2.SetCaption("40");  // 40 / 20 = 2: the third release
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  std::vector<std::string> answers;
  for (int i = 0; i < 3; ++i) {
    // Each answer ("ok rightup") is read by a tick before the next press's
    // word is written.
    d.sim.rightDown();
    d.Ticks(2);
    d.sim.rightUp();
    d.Ticks(1);
    answers.push_back(d.ScrollCaption());
    if (i < 2) {
      EXPECT_EQ(d.ScrollCaption(), "ok rightup");
    }
  }
  // The third release in place is the one past the count.
  EXPECT_EQ(answers, (std::vector<std::string>{"ok rightup", "ok rightup", "xx right"}));
  EXPECT_EQ(d.ScrollCaption(), "xx right");
  EXPECT_TRUE(d.app.qircom->Panel35.Visible());

  // Released away from the press point: not counted.
  d.sim.rightDown();
  d.Ticks(1);
  d.sim.moveMouse(360, 300);
  d.sim.rightUp();
  d.Ticks(1);
  EXPECT_EQ(d.ScrollCaption(), "xx right");
  // Not counted, and the count started over: the next two releases in place
  // are answered, the third shows the panels again.
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  answers.clear();
  for (int i = 0; i < 3; ++i) {
    d.sim.rightDown();
    d.Ticks(2);
    d.sim.rightUp();
    d.Ticks(1);
    answers.push_back(d.ScrollCaption());
  }
  EXPECT_EQ(answers, (std::vector<std::string>{"ok rightup", "ok rightup", "xx right"}));
}

TEST(TickRightButton, LongPressBecomesRightModeUnlessAKeyWordIsPending) {
  Desk d;
  ASSERT_TRUE(d.StartOverPage());
  d.sim.rightDown();
  d.Ticks(2);
  EXPECT_EQ(d.app.rightform->Caption(), "rr300,300");
  EXPECT_EQ(d.app.leftform->Left(), 300);
  // The 21st tick of the press held is the first past the long press.
  d.Ticks(18);
  EXPECT_NE(d.ScrollCaption(), "myright");
  d.Ticks(1);
  EXPECT_EQ(d.ScrollCaption(), "myright");
  d.sim.rightUp();
  d.Ticks(1);
}

TEST(TickRightButton, RightrbShowsTheClipWidgetOnEveryTickOfAHeldPress) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.StopLifePanel();
  d.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
  d.app.qircom->rightrb.SetChecked(true);
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  d.sim.rightDown();
  const auto m = d.sim.mark();
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(Concat({kEscape42, kEscape42, kEscape42}), d.Input(m)));
  EXPECT_EQ(d.app.qircom->Bounds(), (Rect{258, 284, 70, 24}));
  // The pointer leaves the widget with the button held: the widget lets go
  // (plain Escapes, a right-up) and, the button still read as down in this
  // tick, is shown again at the pointer.
  d.sim.moveMouse(400, 400);
  const auto m2 = d.sim.mark();
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(Concat({{"key 27 down", "key 27 up", "key 27 down", "key 27 up",
                                  "mouse rightup"},
                                 kEscape42, kEscape42, kEscape42}),
                         d.Input(m2)));
  EXPECT_EQ(d.app.qircom->Bounds(), (Rect{358, 384, 70, 24}));
  d.sim.rightUp();
}

// ---- Ctrl held long -----------------------------------------------------------

TEST(TickCtrlTap, LongCtrlIsGivenBackAsHeld) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  d.app.lifeform->Panel9.SetCaption("11");
  const auto m = d.sim.mark();
  d.sim.keyDown(vk::Control);
  d.sim.advance(25);
  d.sim.keyUp(vk::Control);
  d.sim.advance(25);
  d.Ticks(2);
  EXPECT_TRUE(SameEvents({"key 17 down"}, d.Input(m)));
  EXPECT_EQ(d.app.lifeform->Panel9.Caption(), "0");
  EXPECT_EQ(d.app.qircom->Button3.Caption(), "ctrldown");
  // No drag began: the title window shows no drag.
  EXPECT_NE(d.app.qirForm4->Caption(), "down/...down/");
  EXPECT_EQ(d.app.qirForm4->Height(), 0);
}

// ---- keyboard words -------------------------------------------------------------

TEST(TickKeyWords, ShiftAwayFromTheBarShowsTheSmartClipboard) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  Tqircom& bar = *d.app.qircom;
  bar.Panel4.SetLeft(500);
  bar.Panel12.Show();
  d.app.qirinputor->SetCaption("key--shiftdown");
  d.Ticks(1);
  EXPECT_EQ(d.InputCaption(), "key//bshiftok");
  EXPECT_EQ(bar.Panel4.Left(), 0);
  EXPECT_EQ(bar.Panel4.Top(), 0);
  EXPECT_EQ(bar.CppWebBrowser1.Left(), -2000);
  EXPECT_FALSE(bar.Panel12.Visible());
  // The smart clipboard took nothing: Shift over the shown bar puts the
  // clipboard at the top of the list.
  d.sim.keyUp(vk::Shift);
  d.Ticks(2);
  d.sim.setClipboardText("fresh");
  bar.SetWindowPos(ZOrder::TopMost, 300, 300, 400, 350, swp::ShowWindow);
  d.sim.moveMouse(310, 310);
  d.Ticks(1);
  d.sim.keyDown(vk::Shift);
  d.Ticks(1);
  EXPECT_EQ(d.InputCaption(), "key//bshiftok2");
  EXPECT_EQ(bar.ListBox2.Item(0), "fresh");
  d.sim.keyUp(vk::Shift);
}

TEST(TickKeyWords, CtrlCWithShiftHeldCopiesAndLetsShiftGo) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  d.sim.keyDown(vk::Shift);
  d.Ticks(1);
  const auto m = d.sim.mark();
  d.app.qirinputor->SetCaption("key--ctrlc");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(Concat({CtrlKey('C'), {"key 16 up"}}), d.Keys(m)));
  EXPECT_EQ(d.InputCaption(), "key--shiftc--copy--ok");
  EXPECT_EQ(d.app.qircom->Panel4.Caption(), "ctrlc");
}

TEST(TickKeyWords, WindowsTapAlignsThePendingBlockToTheCaptureColumn) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  Tqircom& bar = *d.app.qircom;
  d.tick().SetCaptureColumn(3);
  bar.BitBtn6.SetCaption("---align");
  bar.ListBox11.SetText("      a\nb\n  c");
  const auto m = d.sim.mark();
  d.sim.keyDown(vk::LWin);
  d.sim.advance(25);
  d.sim.keyUp(vk::LWin);
  d.sim.advance(25);
  d.Ticks(1);
  auto keys = d.Keys(m);
  EXPECT_TRUE(SameEvents({"key 27 down", "key 27 up"}, keys));
  EXPECT_EQ(bar.BitBtn6.Caption(), "win-align3");
  EXPECT_EQ(d.Items(bar.ListBox11), (std::vector<std::string>{"   a", "   b", "   c"}));
  d.Ticks(1);
  EXPECT_EQ(d.Items(bar.ListBox8)[0], "xx align//3");
}

TEST(TickKeyWords, CtrlPressedAgainAfterCtrlCCopiesOnceMore) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  Control& hist = d.app.qircom->ListBox1;
  hist.Clear();
  hist.Add("key--17//");
  hist.Add("key--ctrlc");
  d.app.qirinputor->SetCaption("key--17//");
  const auto m = d.sim.mark();
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({"key 17 down", "key 67 down", "key 67 up", "key 17 up", "key 37 down",
                          "key 37 up"},
                         d.Keys(m)));
  EXPECT_EQ(hist.Item(0), "key--shiftc--copy--ok");
}

TEST(TickKeyWords, MenuKeyClicksAtTheStripsRightEnd) {
  Desk d;
  ASSERT_TRUE(d.Start());
  AddInputMethod(d, true);
  d.sim.moveMouse(300, 300);
  d.Ticks(2);
  const auto m = d.sim.mark();
  d.app.qirinputor->SetCaption("key--menu");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({"cursor 790,730", "mouse leftdown", "mouse leftup", "mouse move 0,50"},
                         d.Input(m)));
  EXPECT_EQ(d.InputCaption(), "key--menuok");
}

// ---- the widgets the pointer left ------------------------------------------------

TEST(TickParkWidgets, ClipWidgetLeftWithAButtonHeldLetsItGo) {
  struct Row {
    const char* name;
    bool left, right;
    std::vector<std::string> events;
  };
  const std::vector<Row> rows = {
      {"left held", true, false, {"mouse leftup"}},
      {"right held", false, true,
       {"key 27 down", "key 27 up", "key 27 down", "key 27 up", "mouse rightup"}},
      {"no button", false, false, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Desk d;
    ASSERT_TRUE(d.Start());
    d.StopLifePanel();
    d.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
    d.sim.moveMouse(300, 300);
    d.Ticks(1);
    if (row.left) d.sim.leftDown();
    if (row.right) d.sim.rightDown();
    d.app.qircom->SetWindowPos(ZOrder::TopMost, 500, 500, 70, 24, swp::ShowWindow);
    const auto m = d.sim.mark();
    d.Ticks(1);
    EXPECT_TRUE(SameEvents(row.events, d.Input(m)));
    EXPECT_LT(d.app.qircom->Left(), 0);
    if (row.left) d.sim.leftUp();
  }
}

TEST(TickRelays, CaptionsAreMirroredEveryTick) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  d.app.rightform->SetCaption("rr1,2");
  // With the window list built and the bar parked, the bar's wheel step
  // leaves the wheel word to the other readers.
  d.sim.runAsHandler([&d] { d.app.qircom->switcher.Rebuild(); });
  d.app.qirForm3->SetCaption("ystop wheel=vvv");
  d.Ticks(1);
  EXPECT_EQ(d.app.lifeform->Panel22.Caption(), "rr1,2");
  EXPECT_EQ(d.app.easyie->Panel42.Caption(), "ystop wheel=vvv");
  EXPECT_EQ(d.app.Form1->Edit1.Caption(), "ystop wheel=vvv");
  EXPECT_EQ(d.app.Form2->Caption(), "ystop wheel=vvv");
}

}  // namespace
}  // namespace sq::testing
