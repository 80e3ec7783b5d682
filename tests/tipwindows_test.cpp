// The tip windows: the wheel tip on the active window's title bar and its
// hold-to-drag toggle, the drag badge of the title window and its words,
// the mouse picture window's cards, its gesture label and the shapes taken
// from pictures.
#include <string>
#include <vector>

#include "app/formmain.h"
#include "bar/mousepp.h"
#include "bar/tippictures.h"
#include "bar/wheeltipform.h"
#include "tests/gesture_harness.h"

namespace sq::testing {
namespace {

std::string Str(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) +
         "x" + std::to_string(r.height);
}

// ---- the wheel tip's place -------------------------------------------------

struct PlaceRow {
  const char* name;
  std::vector<Monitor> monitors;  // empty: the one 1024 x 768 screen
  Rect window;                    // the active window
  bool minimized;
  const char* tip;                // the tip's rectangle, or "parked"
};

const Monitor kMain{{0, 0, 1024, 768}, {0, 0, 1024, 738}, 96, true};
const Monitor kLeft{{-1280, -200, 1280, 1024}, {-1280, -200, 1280, 1024}, 96, false};
const Monitor kHigh{{1024, 0, 1600, 1200}, {1024, 0, 1600, 1200}, 144, false};

TEST(WheelTip, SitsOnTheActiveWindowsTitleBar) {
  const std::vector<PlaceRow> rows = {
      {"plain", {}, {100, 100, 600, 400}, false, "520,102 104x18"},
      {"at the top left", {}, {0, 0, 300, 200}, false, "120,2 104x18"},
      {"narrower than the offset: kept over the window", {}, {100, 100, 120, 300}, false,
       "100,102 104x18"},
      {"right part off the screen: kept on it", {}, {800, 100, 600, 400}, false, "920,102 104x18"},
      {"on a monitor at negative coordinates", {kMain, kLeft}, {-1000, -150, 600, 400}, false,
       "-580,-148 104x18"},
      {"across two monitors: the one with most of its title bar", {kMain, kLeft},
       {-100, 50, 300, 200}, false, "20,52 104x18"},
      {"on a 144-DPI monitor: offsets and size scaled", {kMain, kHigh}, {1200, 100, 800, 500},
       false, "1730,103 156x27"},
      {"wholly off the screen", {}, {3000, 100, 400, 300}, false, "parked"},
      {"zero size", {}, {300, 300, 0, 0}, false, "parked"},
      {"zero height", {}, {300, 300, 400, 0}, false, "parked"},
      {"minimised", {}, {100, 100, 600, 400}, true, "parked"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Desk d;
    if (!row.monitors.empty()) d.sim.setMonitors(row.monitors);
    ASSERT_TRUE(d.Start());
    const Wnd w = d.sim.addWindow("Notepad", "notes", row.window);
    if (row.minimized) d.sim.setMinimized(w, true);
    d.sim.setForegroundWindow(w);
    d.sim.advance(60);
    const Wnd tip = d.app.bar.wheeltipform->Handle();
    const std::string got =
        d.app.bar.wheeltipform->Shown() ? Str(d.sim.getWindowRect(tip)) : "parked";
    EXPECT_EQ(got, row.tip);
    if (got != "parked") {
      EXPECT_TRUE(d.sim.isTopmost(tip));
      EXPECT_EQ(d.sim.getForegroundWindow(), w) << "the followed window stays active";
    }
  }
}

TEST(WheelTip, FollowsTheActiveWindowAndLeavesItsOwnWindowsAlone) {
  Desk d;
  ASSERT_TRUE(d.Start());
  const Wnd tip = d.app.bar.wheeltipform->Handle();
  const Wnd notes = d.sim.addWindow("Notepad", "notes", {100, 100, 600, 400});
  const Wnd other = d.sim.addWindow("Other", "other", {500, 300, 400, 300});
  // The user clicks into the editor: the tip comes to its title bar.
  d.sim.moveMouse(300, 300);
  d.sim.click(40);
  d.sim.advance(60);
  EXPECT_EQ(Str(d.sim.getWindowRect(tip)), "520,102 104x18");
  // The editor is moved (by its user or its program): the tip follows.
  d.sim.setBounds(notes, {40, 250, 500, 300});
  d.sim.advance(40);
  EXPECT_EQ(Str(d.sim.getWindowRect(tip)), "360,252 104x18");
  // Another window is activated by a click.
  d.sim.moveMouse(850, 550);
  d.sim.click(150);
  d.sim.advance(40);
  EXPECT_EQ(Str(d.sim.getWindowRect(tip)), "720,302 104x18");
  // One of the program's own windows active: the tip stays.
  d.app.shell.wrpyreadpanel->SetWindowPos(ZOrder::Top, 100, 100, 300, 300, swp::ShowWindow);
  d.sim.setForegroundWindow(d.app.shell.wrpyreadpanel->Handle());
  d.sim.advance(60);
  EXPECT_EQ(Str(d.sim.getWindowRect(tip)), "720,302 104x18");
  // While the browser is shown the tip is parked, and back on the active
  // window once the browser is parked again.
  d.sim.setForegroundWindow(other);
  d.app.browser.easyie->SetLeft(0);
  d.sim.advance(40);
  EXPECT_FALSE(d.app.bar.wheeltipform->Shown());
  d.app.browser.easyie->Park();
  d.sim.advance(40);
  EXPECT_EQ(Str(d.sim.getWindowRect(tip)), "720,302 104x18");
  // The full command bar on the screen, the pointer on it, parks it too.
  d.app.bar.qircom->SetWindowPos(ZOrder::TopMost, 300, 300, 400, 350, swp::ShowWindow);
  d.sim.moveMouse(310, 310);
  d.sim.advance(40);
  ASSERT_TRUE(d.app.bar.qircom->Shown());
  EXPECT_FALSE(d.app.bar.wheeltipform->Shown());
  // The followed window closes: nothing is followed, nothing breaks.
  d.app.bar.qircom->Park();
  d.sim.destroyWindow(other);
  d.sim.setForegroundWindow(notes);
  d.sim.advance(40);
  EXPECT_EQ(Str(d.sim.getWindowRect(tip)), "360,252 104x18");
}

// ---- hold-to-drag by pressing the tip --------------------------------------

struct ToggleRow {
  const char* control;   // where the press lands
  bool graphicWindows;   // labels and pictures take presses (as real windows do)
  MouseButton button;
  unsigned holdMs;
};

TEST(WheelTip, APressOnThePictureTheModeOrTheMarkerTogglesHoldToDrag) {
  const std::vector<ToggleRow> rows = {
      {"Image2", true, MouseButton::Left, 30},     {"Image2", true, MouseButton::Left, 150},
      {"wheelmode", true, MouseButton::Left, 30},  {"wheelmode", true, MouseButton::Right, 150},
      {"Label2", true, MouseButton::Left, 30},     {"Label2", true, MouseButton::Left, 150},
      {"wheelmess", false, MouseButton::Left, 30}, {"wheelmess", false, MouseButton::Right, 150},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.control) + (row.graphicWindows ? " (own window) " : " ") +
                 std::to_string(row.holdMs) + " ms");
    Desk d;
    d.sim.setGraphicControlsTransparent(!row.graphicWindows);
    ASSERT_TRUE(d.Start());
    Twheeltipform& tip = *d.app.bar.wheeltipform;
    CheckBox& lleft = d.app.shell.wrpyreadpanel->lleft;
    // The marker must show for a press to land on it: start with the box
    // cleared for that row.
    const bool startChecked = std::string(row.control) != "Label2";
    if (lleft.Checked() != startChecked) tip.ToggleHoldToDrag();
    const Wnd notes = d.sim.addWindow("Notepad", "notes", {100, 100, 600, 400});
    d.sim.setForegroundWindow(notes);
    d.sim.advance(60);
    ASSERT_TRUE(tip.Shown());
    const Wnd target = d.sim.findControl("Twheeltipform", row.control);
    const Rect r = d.sim.getWindowRect(target);
    // A point of the control that lies in the strip.
    const Point at{std::max(r.left, 520) + 6, std::max(r.top, 102) + 6};
    ASSERT_EQ(d.sim.windowFromPoint(at), target);
    const std::string marker0 = tip.Label2.Caption();
    d.sim.moveMouse(at.x, at.y);
    for (int press = 1; press <= 2; ++press) {
      if (row.button == MouseButton::Left) d.sim.click(row.holdMs);
      else d.sim.rightClick(row.holdMs);
      d.sim.advance(40);
      const bool on = press == 1 ? !startChecked : startChecked;
      EXPECT_EQ(lleft.Checked(), on) << "press " << press;
      EXPECT_EQ(tip.Label2.Caption(), on ? "" : "拖") << "press " << press;
      EXPECT_EQ(tip.Label2.Visible(), !on) << "press " << press;
      EXPECT_EQ(d.app.browser.easyie->Label26.Caption(), on ? "" : "拖") << "press " << press;
    }
    EXPECT_EQ(tip.Label2.Caption(), marker0) << "two presses leave the marker as it was";
  }
}

TEST(WheelTip, ADoubleClickTogglesTwiceAndTheMarkerStartsAsTheSetting) {
  for (bool checked : {true, false}) {
    SCOPED_TRACE(checked ? "lleft ticked" : "lleft cleared");
    Desk d;
    ASSERT_TRUE(d.Start());
    // The marker at start-up follows the settings panel as wr.ini left it.
    EXPECT_EQ(d.app.bar.wheeltipform->Label2.Caption(),
              d.app.shell.wrpyreadpanel->lleft.Checked() ? "" : "拖");
    d.app.shell.wrpyreadpanel->lleft.SetChecked(checked);
    const Wnd notes = d.sim.addWindow("Notepad", "notes", {100, 100, 600, 400});
    d.sim.setForegroundWindow(notes);
    d.sim.advance(60);
    d.sim.moveMouse(530, 108);
    d.sim.click(30);
    d.sim.advance(30);
    d.sim.click(30);  // the second press of a double click
    d.sim.advance(60);
    EXPECT_EQ(d.app.shell.wrpyreadpanel->lleft.Checked(), checked);
    EXPECT_EQ(d.app.bar.wheeltipform->Label2.Caption(), checked ? "" : "拖");
  }
}

// ---- the drag badge ----------------------------------------------------------

Rect Hidden(int left) { return {left, 778, 100, 0}; }

TEST(TitleWindow, AStillPressShowsTheBadgeAndItsReleaseHidesItFastOrSlow) {
  for (unsigned afterMs : {30u, 150u}) {
    SCOPED_TRACE(std::to_string(afterMs) + " ms after the drag start");
    Desk d;
    ASSERT_TRUE(d.StartOverPage(300, 300));
    d.app.shell.wrpyreadpanel->Edit2.SetCaption("100");
    TqirForm4& title = *d.app.bar.qirForm4;
    d.sim.leftDown();
    d.Ticks(7);
    ASSERT_NE(d.sim.captureWindow(), 0u) << "the drag started";
    EXPECT_EQ(d.sim.getWindowRect(title.Handle()), (Rect{248, 260, 100, 27}));
    d.sim.advance(afterMs);
    d.sim.leftUp();
    d.sim.advance(45);  // two ticks of the title window
    EXPECT_EQ(d.sim.getWindowRect(title.Handle()), Hidden(248));
    EXPECT_EQ(title.Caption(), "ystop mou3d");
    // A short click later changes nothing.
    d.sim.click(30);
    d.sim.advance(60);
    EXPECT_EQ(d.sim.getWindowRect(title.Handle()), Hidden(248));
  }
}

TEST(TitleWindow, ACtrlTapDragEndsAtTheReleaseAndAStillPressDragsAgain) {
  for (unsigned tapMs : {30u, 150u}) {
    SCOPED_TRACE("Ctrl held " + std::to_string(tapMs) + " ms");
    Desk d;
    ASSERT_TRUE(d.StartOverPage(320, 240));
    d.app.shell.wrpyreadpanel->Edit2.SetCaption("100");
    TqirForm4& title = *d.app.bar.qirForm4;
    d.sim.tapKey(vk::Control, tapMs);
    d.sim.advance(30);
    d.Ticks(2);
    ASSERT_TRUE(d.sim.isKeyDown(vk::LButton)) << "the system pressed the left button";
    EXPECT_EQ(title.Caption(), "down/...down/");
    d.sim.advance(25);
    // The badge comes with the drag beside the pointer; moving the hand
    // scrolls and leaves the pointer (and so the badge) where it was.
    EXPECT_EQ(d.sim.getWindowRect(title.Handle()), (Rect{268, 200, 100, 27}));
    d.sim.moveMouse(400, 300);
    d.sim.advance(25);
    EXPECT_EQ(d.sim.getCursorPos(), (Point{320, 240}));
    EXPECT_EQ(d.sim.getWindowRect(title.Handle()), (Rect{268, 200, 100, 27}));
    // The user's click ends it.
    d.sim.leftDown();
    d.sim.advance(tapMs);
    d.sim.leftUp();
    d.sim.advance(45);
    EXPECT_EQ(title.Caption(), "ystop mou3d");
    EXPECT_EQ(title.Height(), 0);
    // A still press starts a drag again.
    d.Ticks(1);
    d.sim.leftDown();
    d.Ticks(8);
    EXPECT_NE(d.sim.captureWindow(), 0u) << "a held-still press after the Ctrl tap drags";
    EXPECT_EQ(title.Height(), 27);
    d.sim.leftUp();
    d.sim.advance(45);
    EXPECT_EQ(title.Height(), 0);
  }
}

TEST(TitleWindow, TheSystemsOwnUpAndDownBetweenTicksDoNotEndTheDrag) {
  // A restart of a held drag releases and presses again for the user in
  // one tick; the badge stays and the word stays.
  Desk d;
  ASSERT_TRUE(d.StartOverPage(300, 300));
  d.app.shell.wrpyreadpanel->lleft.SetChecked(false);
  d.app.shell.wrpyreadpanel->Edit2.SetCaption("100");
  d.sim.leftDown();
  d.Ticks(8);
  d.app.bar.qirForm3->SetCaption("ystop ok");
  const auto m = d.sim.mark();
  d.Ticks(1);
  // Restarted: the left button released and pressed again for the user.
  ASSERT_TRUE(SameEvents({"mouse leftup", "mouse leftdown"}, d.Input(m)));
  d.sim.advance(100);
  EXPECT_EQ(d.app.bar.qirForm4->Caption(), "down/...down/");
  EXPECT_EQ(d.app.bar.qirForm4->Height(), 27);
  d.sim.leftUp();
  d.sim.advance(45);
  EXPECT_EQ(d.app.bar.qirForm4->Caption(), "ystop mou3d");
  EXPECT_EQ(d.app.bar.qirForm4->Height(), 0);
}

struct WordRow {
  std::string written;      // written into the title caption by another program
  bool pressAndRelease;     // the user clicks afterwards
  const char* captionAfter;
  int badgeHeightWhilePressed;
};

TEST(TitleWindow, WordsFromOutside) {
  const std::vector<WordRow> rows = {
      // A key-started scroll waits for the button, then ends at its release.
      {"mkeyscroll", false, "drag up", 0},
      {"mkeyscroll", true, "ystop mou3d", 27},
      {"drag up", true, "ystop mou3d", 27},
      // Words that are not drag words are left as written.
      {"down/...down/x", true, "down/...down/x", 0},
      {"DOWN/...DOWN/", true, "DOWN/...DOWN/", 0},
      {"", true, "", 0},
      {std::string(70000, 'd'), true, nullptr, 0},
      {"ystop mou3d", true, "ystop mou3d", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("'" + row.written.substr(0, 20) + "'");
    Desk d;
    ASSERT_TRUE(d.StartOverPage(300, 300));
    d.app.shell.wrpyreadpanel->Edit2.SetCaption("5000");  // no still-press drag here
    d.sim.setWindowText(d.app.bar.qirForm4->Handle(), row.written);
    d.Ticks(2);
    int pressedHeight = 0;
    if (row.pressAndRelease) {
      d.sim.leftDown();
      d.sim.advance(45);
      pressedHeight = d.app.bar.qirForm4->Height();
      d.sim.leftUp();
      d.sim.advance(60);
    }
    EXPECT_EQ(pressedHeight, row.badgeHeightWhilePressed);
    if (row.captionAfter) {
      EXPECT_EQ(d.app.bar.qirForm4->Caption(), row.captionAfter);
    }
    EXPECT_EQ(d.app.bar.qirForm4->Height(), 0);
  }
}

// ---- the mouse picture window --------------------------------------------------

// The card whose labels lie on the screen, 0 when none.
int CardOnScreen(Desk& d) {
  Tmousepp& m = *d.app.bar.mousepp;
  const Rect win = d.sim.getWindowRect(m.Handle());
  int seen = 0;
  const std::pair<int, Control*> cards[] = {{1, &m.Label3}, {2, &m.Label9}, {3, &m.Label21}};
  for (auto [card, label] : cards) {
    const Rect r = d.sim.getWindowRect(label->Handle());
    if (r.left >= win.left && r.right() <= win.right() && m.Shown()) {
      EXPECT_EQ(seen, 0) << "two cards on the screen";
      seen = card;
    }
  }
  return seen;
}

TEST(MousePicture, TheRightThenLeftChordShowsThePointerCard) {
  for (unsigned holdMs : {30u, 150u}) {
    SCOPED_TRACE(std::to_string(holdMs) + " ms presses");
    Desk d;
    ASSERT_TRUE(d.StartOverPage(300, 300));
    d.app.bar.mousepp->ShowAt({500, 400}, Tmousepp::Card::Paste);
    ASSERT_EQ(CardOnScreen(d), 2);
    d.sim.rightDown();
    d.Ticks(1);
    d.sim.advance(holdMs);
    d.sim.rightUp();
    d.sim.leftDown();
    d.Ticks(1);
    d.sim.advance(holdMs);
    d.sim.leftUp();
    d.Ticks(1);
    EXPECT_EQ(CardOnScreen(d), 1);
  }
}

TEST(MousePicture, OneCardAtATimeBesideThePointerOnItsMonitor) {
  Desk d;
  d.sim.setMonitors({kMain, kLeft});
  ASSERT_TRUE(d.Start());
  Tmousepp& m = *d.app.bar.mousepp;
  EXPECT_EQ(CardOnScreen(d), 0) << "parked at start";
  for (auto c : {Tmousepp::Card::Selection, Tmousepp::Card::Paste, Tmousepp::Card::Pointer}) {
    m.ShowAt({500, 400}, c);
    EXPECT_EQ(CardOnScreen(d), static_cast<int>(c));
    EXPECT_EQ(d.sim.getWindowRect(m.Handle()), (Rect{420, 230, 336, 67}));
  }
  // Near the top of a monitor at negative coordinates: kept on it.
  m.ShowAt({-1250, -190}, Tmousepp::Card::Selection);
  EXPECT_EQ(d.sim.getWindowRect(m.Handle()), (Rect{-1280, -200, 336, 67}));
  m.Park();
  EXPECT_EQ(CardOnScreen(d), 0);
  EXPECT_FALSE(m.Shown());
}

TEST(MousePicture, ThePressOnTheGestureLabelOpensHelpOrEnds) {
  for (MouseButton b : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
    SCOPED_TRACE(b == MouseButton::Left ? "left" : b == MouseButton::Right ? "right" : "middle");
    Desk d;
    d.sim.setGraphicControlsTransparent(false);
    // Started from a folder that is not the program's: help pages are
    // addressed in the current folder.
    d.sim.setCurrentDirectory("D:\\工作\\页");
    ASSERT_TRUE(d.Start());
    Tmousepp& m = *d.app.bar.mousepp;
    m.SetGesture("右  左");
    m.ShowAt({500, 400}, Tmousepp::Card::Pointer);
    const Rect r = d.sim.getWindowRect(m.Label2.Handle());
    d.sim.moveMouse(r.left + 5, r.top + 5);
    ASSERT_EQ(d.sim.windowFromPoint({r.left + 5, r.top + 5}), m.Label2.Handle());
    EXPECT_EQ(m.Label2.Caption(), "右  左");
    if (b == MouseButton::Left) {
      d.sim.click(60);
      d.sim.advance(40);
      const std::string page = "file://D:\\工作\\页\\ehelp\\localfilln.htm";
      EXPECT_EQ(d.app.browser.easyie->Edit1.Caption(), page);
      WebBrowser* shown = d.app.browser.easyie->ActiveBrowser();
      ASSERT_NE(shown, nullptr);
      EXPECT_EQ(shown->locationURL(), page);
      EXPECT_TRUE(d.app.running());
    } else {
      if (b == MouseButton::Right) d.sim.rightClick(60);
      else { d.sim.middleDown(); d.sim.advance(60); d.sim.middleUp(); }
      d.sim.advance(40);
      EXPECT_TRUE(d.sim.quitPosted()) << "the orderly exit ran";
    }
  }
}

// ---- shapes and pictures ---------------------------------------------------------

TEST(TipPictures, EachPictureHasItsControlsSizeAndShapesLeaveOutWhite) {
  struct Row {
    const char* form;
    const char* image;
    int width, height;
  };
  const std::vector<Row> rows = {
      {"Twheeltipform", "Image2", 128, 29}, {"TqirForm4", "Image1", 31, 29},
      {"TqirForm4", "Image6", 226, 121},    {"Tmousepp", "Image1", 440, 79},
      {"Tmousepp", "Image2", 430, 23},      {"Tmousepp", "Image7", 430, 23},
      {"Tmousepp", "Image10", 430, 23},
  };
  Desk d;
  ASSERT_TRUE(d.Start());
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.form) + "." + row.image);
    const SimWindow* w = d.sim.window(d.sim.findControl(row.form, row.image));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->pictureWidth, row.width);
    EXPECT_EQ(w->pictureHeight, row.height);
    ASSERT_EQ(w->picture.size(), static_cast<std::size_t>(row.width) * row.height);
    // Drawn, not blank: more than one colour.
    EXPECT_NE(std::count(w->picture.begin(), w->picture.end(), w->picture[0]),
              static_cast<long>(w->picture.size()));
  }
  // The cards differ from each other.
  EXPECT_NE(pictures::CardRow(1, 1).pixels, pictures::CardRow(2, 1).pixels);
  EXPECT_NE(pictures::CardRow(2, 0).pixels, pictures::CardRow(2, 2).pixels);
}

// The life panel's four pictures are drawn, each its own.
TEST(TipPictures, TheLifePanelsPicturesAreDrawnEachItsOwn) {
  Desk d;
  ASSERT_TRUE(d.Start());
  std::vector<std::vector<int>> seen;
  for (const char* image : {"Image1", "Image5", "Image6", "Image7"}) {
    SCOPED_TRACE(image);
    const SimWindow* w = d.sim.window(d.sim.findControl("Tlifeform", image));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->pictureWidth, 16);
    EXPECT_EQ(w->pictureHeight, 15);
    ASSERT_EQ(w->picture.size(), 16u * 15u);
    EXPECT_NE(std::count(w->picture.begin(), w->picture.end(), w->picture[0]),
              static_cast<long>(w->picture.size()));
    for (const auto& other : seen) EXPECT_NE(other, w->picture);
    seen.push_back(w->picture);
  }
}

TEST(TipPictures, TheMousePictureWindowTakesItsPicturesShape) {
  for (int dpi : {96, 144}) {
    SCOPED_TRACE(std::to_string(dpi) + " DPI");
    Desk d;
    d.sim.setMonitors({{{0, 0, 1024, 768}, {0, 0, 1024, 738}, dpi, true}});
    ASSERT_TRUE(d.Start());
    Tmousepp& m = *d.app.bar.mousepp;
    const Wnd back = d.sim.addWindow("Back", "back", {0, 0, 1024, 768});
    // (Below the life panel across the top.)
    m.SetWindowPos(ZOrder::TopMost, 100, 200, 336, 67, swp::ShowWindow);
    ASSERT_TRUE(d.sim.runClickHandler(m.Button1.Handle()));
    const auto px = [&](int v) { return v * dpi / 96; };
    EXPECT_EQ(d.sim.getWindowRect(m.Handle()), (Rect{100, 200, px(220), px(80)}));
    // The rounded corner is left out, the middle is in.
    EXPECT_EQ(d.sim.windowFromPoint({100, 200}), back);
    EXPECT_EQ(d.sim.topLevelOf(d.sim.windowFromPoint({100 + px(110), 200 + px(30)})), m.Handle());
    // The picture is 79 high: its last row and below are out.
    EXPECT_EQ(d.sim.windowFromPoint({100 + px(110), 200 + px(79) + 1}), back);
  }
}

TEST(TipPictures, TheBadgeTakesTheShapeOfItsIcon) {
  Desk d;
  ASSERT_TRUE(d.Start());
  TqirForm4& t = *d.app.bar.qirForm4;
  const Wnd back = d.sim.addWindow("Back", "back", {0, 0, 1024, 768});
  t.SetWindowPos(ZOrder::TopMost, 200, 200, 100, 27, swp::ShowWindow);
  ASSERT_TRUE(d.sim.runClickHandler(t.BitBtn1.Handle()));
  EXPECT_EQ(d.sim.getWindowRect(t.Handle()), (Rect{200, 200, 350, 150}));
  const Picture icon = pictures::BadgeIcon();
  int in = 0, out = 0;
  for (int y = 0; y < icon.height; ++y)
    for (int x = 0; x < icon.width; ++x) {
      const bool inside = d.sim.topLevelOf(d.sim.windowFromPoint({200 + x, 200 + y})) == t.Handle();
      EXPECT_EQ(inside, icon.at(x, y) != pictures::kWhite) << x << "," << y;
      (inside ? in : out)++;
    }
  EXPECT_GT(in, 50);
  EXPECT_GT(out, 50);
  EXPECT_EQ(d.sim.windowFromPoint({200 + 100, 200 + 100}), back) << "outside the icon";
}

}  // namespace
}  // namespace sq::testing
