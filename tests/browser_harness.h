// The browser window on the simulated desktop: helpers that show it, open
// its menu panel at the pointer, type into its address box and reach the
// simulated web view of each page.
#pragma once

#include <string>
#include <vector>

#include "app/formmain.h"
#include "tests/gesture_harness.h"

namespace sq::testing {

class Web : public Desk {
 public:
  // Without the help page at start (the shared list's option off), unless
  // a test asks for the default.
  explicit Web(bool helpAtStart = false) {
    if (helpAtStart) return;
    std::string list;
    for (int i = 0; i < SharedSettings::kLinesRead; ++i)
      list += (i == 7 ? std::string("显示帮助--0") : SharedSettings::DefaultLine(i)) + "\r\n";
    sim.writeFile(SharedSettings::kFileName, list);
  }
  Teasyie& ie() { return *app.browser.easyie; }
  // The web view of page i (in tab order), null when none.
  SimBrowser* Page(int i) { return dynamic_cast<SimBrowser*>(ie().PageBrowser(i)); }
  SimBrowser* Active() { return dynamic_cast<SimBrowser*>(ie().ActiveBrowser()); }
  SimBrowser* TopBanner() { return dynamic_cast<SimBrowser*>(ie().TopBanner()); }
  // What the tabs read, in tab order.
  std::vector<std::string> Tabs() {
    std::vector<std::string> v;
    for (int i = 0; i < ie().PageCount(); ++i) v.push_back(ie().PageCaption(i));
    return v;
  }
  std::string Local(const std::string& name) {
    return "file://" + sim.currentDirectory() + name;
  }
  // The tray menu's network item shows the browser window.
  void ShowBrowser() {
    if (ie().Shown()) return;
    sim.queueMenuChoice("进入/退出网络");
    sim.trayMessage(TFormMain::kTrayId, 517);
    sim.advance(80);
  }
  // A wheel notch in the start corner mode brings the menu panel up at
  // the pointer over the shown browser.
  void OpenMenu(Point at = {500, 400}) {
    ShowBrowser();
    if (ie().Panel3.Visible() && ie().Panel3.Left() >= 0) return;
    app.bar.qircom->Panel28.SetCaption("start far");
    sim.moveMouse(at.x, at.y);
    sim.advance(80);
    sim.wheel(-1);
    sim.advance(80);
    app.bar.qircom->Panel28.SetCaption("");
  }
  Point Center(const Control& c) {
    const Rect r = sim.getWindowRect(c.Handle());
    return {r.left + r.width / 2, r.top + r.height / 2};
  }
  void MoveTo(const Control& c) {
    const Point p = Center(c);
    sim.moveMouse(p.x, p.y);
  }
  // A press of `ms` on a control with the left or the right button.
  void Press(const Control& c, MouseButton b, unsigned ms = 30) {
    MoveTo(c);
    sim.advance(10);
    if (b == MouseButton::Left) sim.click(ms);
    else sim.rightClick(ms);
    sim.advance(50);
  }
  // Types an address into the address box and presses Enter.
  void Type(const std::string& ascii) {
    if (!ie().Panel3.Visible() || ie().Panel3.Left() < 0) OpenMenu();
    Press(ie().Edit1, MouseButton::Right);  // a right press clears the box
    sim.typeText(ascii + "\n");
    sim.advance(80);
  }
};

}  // namespace sq::testing
