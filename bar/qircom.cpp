// The command bar's presentations and commands: the pointer widget, the
// clip widget with its zone button, and the full bar's controls.
#include "bar/qircom.h"

#include "app/frame/budget.h"
#include "app/formmain.h"
#include "app/relays.h"
#include "app/wrpyreadpanel.h"
#include "bar/mousepp.h"
#include "bar/qirform3.h"
#include "bar/wheeltipform.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"
#include "input/words.h"

namespace sq {

const char* const Tqircom::kHintSystemMenu = "进入系统菜单";
const char* const Tqircom::kHomePage = "http://sipquill.example/";

namespace {
const char* const kExitEcho = "鼠标向上:退出";
const char* const kHintBack = "左键转到桌面/右键打开开始菜单";
const char* const kHintTitleLeft = "左键点击--转到桌面/右键点击--打开开始菜单";
const char* const kTitleLeft = "滚轮滚动切换窗口 左键:桌面 右键:开始菜单";
const char* const kHintTitleRight = "左键转到所选窗口/右键关闭所选窗口";
const char* const kTitleRight = "滚轮滚动切换窗口 绿色:滚轮翻页 蓝色:自动滚动";
const char* const kHintSearch = "左键搜索互联网/右键浏览互联网";
const char* const kHintSettings = "进入系统设置面板";
const char* const kHintHome = "访问官方网站，获取最新版本或技术支持";
const char* const kDesktopFile = "qirdesk.scf";
constexpr int kVkPageUp = 33, kVkPageDown = 34;
constexpr int kSwShowNormal = 1;
}  // namespace

Tqircom::Tqircom(App& app) : Form(app, app.bar.qircom, "qircom"), qircom_controls(this) {
  using B = MouseButton;
  using S = ShiftState;
  Timer1.OnTimer = [this] { Timer1Timer(); };
  Button1.OnClick = [this] { Button1Click(); };
  disptask.OnClick = [this] { disptaskClick(); };
  updownwheel.OnClick = [this] { updownwheelClick(); };
  Button2.OnClick = [this] { Button2Click(); };
  // Pointer widget.
  Panel27.OnMouseMove = [this](S s, int x, int y) { Panel27MouseMove(s, x, y); };
  Panel27.OnMouseDown = [this](B b, S s, int x, int y) { Panel27MouseDown(b, s, x, y); };
  Panel27.OnMouseUp = [this](B b, S s, int x, int y) { Panel27MouseUp(b, s, x, y); };
  // The edges fire when the pointer leaves the widget across them.
  for (Control* c : {&Panel27, &Panel32, &Panel31, &Panel34, &Panel33})
    c->OnMouseLeave = [this] { LeaveWidget(); };
  Panel37.OnMouseMove = [this](S s, int x, int y) {
    if (SeenThere()) Panel32MouseMove(s, x, y);
  };
  // Clip widget.
  Panel12.OnMouseMove = [this](S s, int x, int y) { Panel12MouseMove(s, x, y); };
  Panel35.OnMouseMove = [this](S s, int x, int y) { Panel35MouseMove(s, x, y); };
  Panel35.OnMouseUp = [this](B b, S s, int x, int y) { Panel35MouseUp(b, s, x, y); };
  Panel38.OnMouseMove = [this](S s, int x, int y) { Panel38MouseMove(s, x, y); };
  Panel10.OnMouseMove = [this](S s, int x, int y) { Panel10MouseMove(s, x, y); };
  Panel10.OnMouseDown = [this](B b, S, int, int) { Pressed(Panel10, b); };
  Panel10.OnMouseUp = [this](B b, S s, int x, int y) {
    if (Released(Panel10, b)) Panel10MouseUp(b, s, x, y);
  };
  Panel14.OnMouseMove = [this](S s, int x, int y) { Panel14MouseMove(s, x, y); };
  Panel14.OnMouseDown = [this](B b, S s, int x, int y) { Panel14MouseDown(b, s, x, y); };
  Panel14.OnMouseUp = [this](B b, S s, int x, int y) {
    if (Released(Panel14, b)) Panel14MouseUp(b, s, x, y);
  };
  // Full bar.
  Panel9.OnMouseMove = [this](S s, int x, int y) { Panel9MouseMove(s, x, y); };
  Panel9.OnMouseDown = [this](B, S, int, int) { press_.back = true; };
  Panel9.OnMouseUp = [this](B b, S s, int x, int y) { Panel9MouseUp(b, s, x, y); };
  Panel16.OnMouseMove = [this](S s, int x, int y) { Panel16MouseMove(s, x, y); };
  Panel17.OnMouseMove = [this](S s, int x, int y) { Panel17MouseMove(s, x, y); };
  Panel17.OnMouseDown = [this](B, S, int, int) { press_.title = true; };
  Panel17.OnMouseUp = [this](B b, S s, int x, int y) { Panel17MouseUp(b, s, x, y); };
  Edit3.OnMouseMove = [this](S s, int x, int y) { Edit3MouseMove(s, x, y); };
  Panel13.OnMouseMove = [this](S s, int x, int y) { Panel13MouseMove(s, x, y); };
  Panel13.OnMouseUp = [this](B b, S s, int x, int y) { Panel13MouseUp(b, s, x, y); };
  Panel24.OnMouseMove = [this](S s, int x, int y) { Panel24MouseMove(s, x, y); };
  Panel24.OnMouseUp = [this](B b, S s, int x, int y) { Panel24MouseUp(b, s, x, y); };
  BitBtn4.OnMouseMove = [this](S s, int x, int y) { BitBtn4MouseMove(s, x, y); };
  BitBtn4.OnClick = [this] { BitBtn4Click(); };
  BitBtn5.OnMouseMove = [this](S s, int x, int y) { BitBtn5MouseMove(s, x, y); };
  BitBtn5.OnClick = [this] { BitBtn5Click(); };
  Panel11.OnMouseDown = [this](B b, S s, int x, int y) { Panel11MouseDown(b, s, x, y); };
  // Smart clipboard.
  ListBox2.OnMouseDown = [this](B b, S, int, int) { Pressed(ListBox2, b); };
  ListBox3.OnMouseDown = [this](B b, S, int, int) { Pressed(ListBox3, b); };
  ListBox2.OnMouseUp = [this](B b, S s, int x, int y) {
    if (Released(ListBox2, b)) ListBox2MouseUp(b, s, x, y);
  };
  ListBox3.OnMouseUp = [this](B b, S s, int x, int y) {
    if (Released(ListBox3, b)) ListBox3MouseUp(b, s, x, y);
  };
  BitBtn2.OnMouseUp = [this](B b, S s, int x, int y) { BitBtn2MouseUp(b, s, x, y); };
  BitBtn6.OnMouseUp = [this](B b, S s, int x, int y) { BitBtn2MouseUp(b, s, x, y); };
  Panel7.OnClick = [this] { Panel7Click(); };
  // Window list.
  ListView1.OnMouseMove = [this](S, int x, int y) { switcher.Hover(x, y); };
  ListView1.OnMouseDown = [this](B b, S, int x, int y) { switcher.Press(b, x, y); };
  // The key words of the hook library go to this window's caption.
  platform().setHookMailbox(Mailbox::Bar, Handle());
}

void Tqircom::FormCreate() {
  Park();
  // The full bar's container and the clip widget at their home places.
  Panel9.SetLeft(0);
  Panel9.SetTop(0);
  Panel12.SetLeft(0);
  Panel12.SetTop(0);
}

// ---- shared helpers ----------------------------------------------------------

bool Tqircom::HoldsChild(Wnd w) { return w && platform().isChild(Handle(), w); }

void Tqircom::Activate(Wnd w) {
  if (w) platform().setForegroundWindow(w);
}

void Tqircom::ActivateAt(Point pt) {
  Activate(TopLevelAt(platform(), pt));
  if (Wnd w = platform().windowFromPoint(pt)) platform().setActiveWindow(w);
}

Point Tqircom::LeftOfBar() const { return {Left() - Scale(2), Top()}; }

void Tqircom::KeepOnTop() {
  platform().setWindowPos(Handle(), ZOrder::TopMost, ScreenRect(), swp::ShowWindow);
}

bool Tqircom::BrowserShown() const {
  const Teasyie* web = const_cast<Tqircom*>(this)->app().browser.easyie;
  return web && web->Shown();
}

void Tqircom::Invoke(Control& button) {
  if (button.OnClick) button.OnClick();
}

void Tqircom::ParkMousepp() {
  if (app().bar.mousepp) app().bar.mousepp->Park();
}

void Tqircom::HideMousepp() {
  if (app().bar.mousepp) app().bar.mousepp->Hide();
}

void Tqircom::SetScrollCaption(const std::string& w) {
  if (app().bar.qirForm3) app().bar.qirForm3->SetCaption(w);
}

void Tqircom::SetInputCaption(const std::string& w) {
  if (app().input.qirinputor) app().input.qirinputor->SetCaption(w);
}

void Tqircom::SetPanel28(const std::string& w) { Panel28.SetCaption(w); }

std::string Tqircom::ZoneAt(int x, int y) const {
  const bool top = y < Scale(12), left = x < Scale(10);
  if (top) return left ? words::zone::F3 : words::zone::X;
  return left ? words::zone::Equal : words::cmd::ZoneO;
}

bool Tqircom::TopRightZone(const std::string& word, int x, int y) const {
  return word == words::zone::X || (y < Scale(12) && x > Scale(9));
}

// ---- desktop, Start menu, find -------------------------------------------------

void Tqircom::Desktop() {
  platform().shellExecute(Handle(), "Open", kDesktopFile, "", "", kSwShowNormal);
}

void Tqircom::StartMenu() {
  Platform& p = platform();
  keys::Press(p, vk::LWin);
  SetHeight(0);
  const Rect bar = p.taskbarRect();
  if (bar.left >= 100) {
    p.setCursorPos({bar.left, bar.top + Scale(10)});
  } else if (bar.left + Scale(60) > 2) {
    p.setCursorPos({bar.left + Scale(60), bar.top + Scale(10)});
  }
}

void Tqircom::FindCommand() {
  Platform& p = platform();
  if (rightPress_) {
    rightPress_ = false;
    p.sleep(100);
    keys::Combo(p, vk::Control, 'F');
    p.sleep(100);
  }
  Park();
}

void Tqircom::ExpandForSearch() {
  Platform& p = platform();
  const int sw = p.screenWidth(), sh = p.screenHeight();
  if (Left() > sw - Scale(400)) SetLeft(sw - Scale(400));
  if (Top() > sh - Scale(350)) SetTop(sh - Scale(350));
  SetWidth(400);
  SetHeight(350);
  std::string clip;
  if (!p.getClipboardTextUpTo(budget::kCaptionRead, clip)) clip.clear();
  Edit3.SetCaption(clip);
  if (app().browser.easyie) app().browser.easyie->Edit1.SetCaption(clip);
  Panel12.Hide();
  Panel4.Hide();
  const int x = Left() + Scale(Panel24.Left() + 19);
  if (x > 2) p.setCursorPos({x, Top() + Scale(Panel24.Top() + 10)});
  // Clicks "<=>", whose left release starts the browser's search mode.
  keys::LeftClick(p);
}

void Tqircom::BrowserFullScreen() {
  Teasyie* web = app().browser.easyie;
  if (!web) return;
  if (web->Shown()) {
    web->Park();
    return;
  }
  Platform& p = platform();
  web->SetLeft(0);
  p.bringWindowToTop(web->Handle());
  web->SetTop(0);
  const bool life = app().browser.lifeform && app().browser.lifeform->Shown();
  p.setWindowPos(web->Handle(), ZOrder::TopMost,
                 {0, life ? Scale(30) : 0, p.screenWidth(), p.screenHeight()}, swp::ShowWindow);
  RefillBrowserTabs();
}

void Tqircom::RefillBrowserTabs() {
  if (app().browser.easyie) app().browser.easyie->RebuildPageList();
}

// ---- the pointer widget ----------------------------------------------------------

void Tqircom::Panel27MouseMove(ShiftState, int, int) { SetPanel28(words::web::UpFar); }

void Tqircom::Panel27MouseDown(MouseButton button, ShiftState, int, int) {
  if (button == MouseButton::Left && SeenThere()) leftPress_ = true;
  if (button == MouseButton::Right && SeenThere()) centreRightPress_ = ScreenRect();
}

void Tqircom::Panel27MouseUp(MouseButton button, ShiftState, int, int) {
  if (button == MouseButton::Left) {
    if (!leftPress_) return;
    leftPress_ = false;
    HideMousepp();
    SetHeight(200);
    Park();
    SetWindowStateNormal();
    Panel27.Hide();
    Panel37.Hide();
    Edit3.SetCaption(kExitEcho);
    disptaskClick();
  } else if (button == MouseButton::Right) {
    // Only a right click of the centre closes: the release of a right
    // button held since before the widget came up (the chord that raised
    // it) or pressed elsewhere is no command.
    const std::optional<Rect> pressedAt = centreRightPress_;
    centreRightPress_.reset();
    if (!pressedAt || *pressedAt != ScreenRect()) return;
    CloseWindowUnderPointer();
  }
}

void Tqircom::CloseWindowUnderPointer() {
  Platform& p = platform();
  Park();
  ParkMousepp();
  Panel27.Hide();
  HideMousepp();
  SetWindowStateNormal();
  SetPanel28(words::web::DownFar);
  const Point at = p.getCursorPos();
  // The window the user pointed at, now that the widget is out of the way.
  const Wnd pointed = TopLevelAt(platform(), at);
  Activate(pointed);
  p.setCursorPos({at.x + Scale(30), at.y + Scale(30)});
  if (BrowserShown()) {
    Invoke(app().browser.easyie->Button35);
    Invoke(app().browser.easyie->wfocus);
    return;
  }
  p.sleep(10);
  const Point probe{p.getCursorPos().x, Top() - Scale(10)};
  const Wnd victim = TopLevelAt(platform(), probe);
  // The close request alone: the program asks to save as it does when its
  // own close box is pressed, and stays on the screen while it asks. The
  // program's own windows are never closed this way, and nor is any window
  // but the one under the pointer: near the edge between two windows the
  // point above and beside the pointer may lie in the other one.
  if (victim && victim == pointed && p.windowProcessId(victim) != p.windowProcessId(Handle()))
    p.closeWindow(victim);
  p.sleep(10);
  ActivateAt(probe);
}

void Tqircom::LeaveWidget() {
  if (!Panel27.Visible() || !Shown() || !SeenThere()) return;
  const Point at = platform().getCursorPos();
  const Rect r = ScreenRect();
  if (r.contains(at)) return;  // still on the widget: from one part to another
  if (at.y < r.top) Panel32MouseMove({}, 0, 0);
  else if (at.x < r.left) Panel31MouseMove({}, 0, 0);
  else if (at.x >= r.right()) Panel34MouseMove({}, 0, 0);
  else if (Panel33.Visible()) Panel33MouseMove({}, 0, 0);
}

void Tqircom::WatchWidgetButton(Point at) {
  const bool down = platform().isKeyDown(vk::LButton);
  const bool was = leftSeenDown_;
  leftSeenDown_ = down;
  if (down == was || !Panel27.Visible() || !Shown() || !SeenThere() || !ScreenRect().contains(at))
    return;
  if (down) leftPress_ = true;
  else if (leftPress_) Panel27MouseUp(MouseButton::Left, {}, 0, 0);
}

void Tqircom::Panel32MouseMove(ShiftState, int, int) {
  SetWindowStateNormal();
  Panel27.Hide();
  SetPanel28(words::web::UpFar);
  Park();
  SetScrollCaption(words::scroll::WheelPrefix);
}

void Tqircom::Panel31MouseMove(ShiftState, int, int) {
  HideMousepp();
  SetHeight(200);
  Park();
  SetWindowStateNormal();
  // The same toggle as the wheel tip's: setting, marker and browser label.
  if (app().bar.wheeltipform) app().bar.wheeltipform->ToggleHoldToDrag();
  Panel27.Hide();
  Panel37.Hide();
  Edit3.SetCaption(kExitEcho);
  SetScrollCaption(words::cmd::StopOk);
}

void Tqircom::Panel34MouseMove(ShiftState, int, int) {
  Park();
  Panel27.Hide();
  ParkMousepp();
  BrowserFullScreen();
}

void Tqircom::Panel33MouseMove(ShiftState, int, int) {
  Park();
  if (BrowserShown()) {
    Invoke(app().browser.easyie->wfocus);
    return;
  }
  ActivateAt(platform().getCursorPos());
}

// ---- the clip widget -------------------------------------------------------------

void Tqircom::Panel12MouseMove(ShiftState, int, int) {
  if (!SeenThere()) return;  // came up under a still pointer
  keys::Combo(platform(), vk::Shift, vk::Delete);
  Park();
  ParkMousepp();
}

void Tqircom::Panel35MouseMove(ShiftState, int, int) {
  if (!SeenThere()) return;  // came up under a still pointer
  Platform& p = platform();
  Park();
  SetScrollCaption(words::cmd::StopOk);
  p.sleep(30);
  keys::Combo(p, vk::Control, 'C');
  SetInputCaption(words::in::CopyDone);
  ParkMousepp();
}

void Tqircom::Panel35MouseUp(MouseButton, ShiftState, int, int) {
  SetInputCaption(words::in::MoveClip);
}

void Tqircom::Panel38MouseMove(ShiftState, int, int) {
  if (!SeenThere()) return;  // came up under a still pointer
  ActivateAt(LeftOfBar());
  Panel14.SetCaption(words::cmd::ZonePasted);
  SetScrollCaption(words::cmd::StopOk);
  if (app().relays.rightform) app().relays.rightform->SetCaption(words::cmd::StopOk);
  Park();
  SetInputCaption(words::in::PasteRequest);
  ParkMousepp();
}

void Tqircom::Panel10MouseMove(ShiftState, int, int) {
  Platform& p = platform();
  if (!Panel14.Enabled()) Panel14.SetEnabled(true);
  if (p.getClassName(p.getTopWindow()) == kPopupMenuClass) keys::Escape(p);
}

void Tqircom::Panel10MouseUp(MouseButton button, ShiftState, int, int) {
  Platform& p = platform();
  if (!Panel14.Enabled()) Panel14.SetEnabled(true);
  const Point at = p.getCursorPos();
  Activate(TopLevelAt(platform(), {at.x - Scale(40), at.y}));
  keys::Press(p, button == MouseButton::Right ? kVkPageUp : kVkPageDown);
  KeepOnTop();
}

void Tqircom::Panel14MouseMove(ShiftState, int x, int y) {
  if (mail::Has(Panel14.Caption(), words::cmd::ZoneLockPart)) return;
  const std::string word = ZoneAt(x, y);
  if ((word == words::zone::Equal || word == words::cmd::ZoneO) && !Panel35.Visible()) Panel35.Show();
  if (Panel14.Caption() != word) Panel14.SetCaption(word);
}

void Tqircom::Panel14MouseDown(MouseButton button, ShiftState, int x, int y) {
  Platform& p = platform();
  Pressed(Panel14, button);
  if (!SeenThere()) return;
  SetWindowStateNormal();
  const std::string word = Panel14.Caption();
  const bool left = button == MouseButton::Left, right = button == MouseButton::Right;
  if (right) rightPress_ = true;
  if (left) leftPress_ = true;
  if (left && (word == words::zone::X || mail::Has(word, words::cmd::ZoneLockPart))) return;
  if (word == words::zone::F3) return;
  if (TopRightZone(word, x, y)) {
    target_ = p.windowFromPoint(LeftOfBar());
    Park();
    SetHeight(200);
    Teasyie* web = app().browser.easyie;
    if (right) {
      if (web && web->Shown()) {
        Invoke(web->Button35);
        return;
      }
      p.sleep(10);
      Wnd top = target_;
      for (int depth = 0; top && p.getParent(top) && depth < 256; ++depth) top = p.getParent(top);
      if (top && p.windowProcessId(top) != p.windowProcessId(Handle())) p.closeWindow(top);
      return;
    }
    if (!left) return;
    Park();
    if (!web) return;
    web->Panel9.BringToFront();
    if (web->Shown()) {
      web->Park();
      return;
    }
    web->SetLeft(0);
    if (app().bar.mousepp && app().bar.mousepp->Visible()) {
      Tmousepp& m = *app().bar.mousepp;
      p.bringWindowToTop(m.Handle());
      p.setWindowPos(m.Handle(), ZOrder::TopMost, m.ScreenRect(), 0);
    }
    return;
  }
  if (word == words::zone::Equal) {
    keys::Escape(p);
    return;
  }
  if (right || !left) return;
  // Word "O": the pointer steps onto the page keys, whose hover enables
  // the zone button again.
  const Point at = p.getCursorPos();
  Panel35.Hide();
  Panel14.Hide();
  Panel14.SetEnabled(false);
  if (at.x - Scale(20) > 2) p.setCursorPos({at.x - Scale(20), at.y});
  Panel14.Show();
}

void Tqircom::Panel14MouseUp(MouseButton button, ShiftState, int x, int y) {
  Platform& p = platform();
  const std::string word = Panel14.Caption();
  const bool left = button == MouseButton::Left, right = button == MouseButton::Right;
  if (word == words::zone::F3 && right) {
    if (BrowserShown()) return;
    ActivateAt(LeftOfBar());
    SetInputCaption(words::in::Idle);
    Park();
    SetHeight(200);
    FindCommand();
    return;
  }
  if (left && leftPress_ && word == words::zone::X) {
    Park();
    if (Teasyie* web = app().browser.easyie) {
      web->Panel9.BringToFront();
      if (web->Shown()) web->Park();
    }
    return;
  }
  if (right && !rightPress_) return;
  if (left && mail::Has(word, words::cmd::ZoneLockPart)) {
    // Cut in the window under the bar.
    const Wnd top = TopLevelAt(platform(), LeftOfBar());
    Park();
    Activate(top);
    if (mail::Is(app().bar.qirForm3 ? app().bar.qirForm3->Caption() : "", words::scroll::MyRight)) {
      Panel35.SetCaption(words::cmd::SecondClick);
      pendingSecondClick_ = true;
      SetScrollCaption(words::cmd::MyRightClick);
      keys::LeftClick(p);
    }
    keys::Combo(p, vk::Shift, vk::Delete);
    return;
  }
  if (TopRightZone(word, x, y)) {
    if (app().shell.wrpyreadpanel) app().shell.wrpyreadpanel->Hide();
    if (!leftPress_) return;
    leftPress_ = false;
    SetHeight(200);
    Park();
    disptaskClick();
    return;
  }
  if (word == words::zone::F3) {
    if (right) {
      ActivateAt(LeftOfBar());
      SetInputCaption(words::in::Idle);
      FindCommand();
    } else if (left) {
      ExpandForSearch();
    }
    return;
  }
  if (word == words::zone::Equal) {
    Panel14.SetCaption(words::cmd::ZoneWheel);
    Panel27.Hide();
    SetPanel28(words::web::UpFar);
    Park();
    SetScrollCaption(words::scroll::WheelPrefix);
    HideMousepp();
    scrollid.SetCaption(right ? words::web::ScrollUp : words::cmd::Down);
    return;
  }
  if (right) {
    const Point at = p.getCursorPos();
    if (at.x - Scale(10) > 2) p.setCursorPos({at.x - Scale(10), at.y - Scale(10)});
    Panel12.Hide();
    Park();
    SetScrollCaption(words::scroll::AutoDrag);
    if (app().bar.qirForm3) Invoke(app().bar.qirForm3->Button1);
  }
}

// ---- task list and page-down request -------------------------------------------------

void Tqircom::disptaskClick() {
  Platform& p = platform();
  Park();
  Teasyie* web = app().browser.easyie;
  if (!web || !web->Shown()) {
    // The full bar in the middle of the main screen, the pointer on its
    // title strip.
    const int sw = p.screenWidth(), sh = p.screenHeight();
    const int left = sw / 2 - Scale(200), top = sh / 2 - Scale(170);
    SetWindowPos(ZOrder::TopMost, left, top, 400, 350, swp::ShowWindow);
    Panel9.Show();
    // The full bar never shows the clip widget: the pointer must not land
    // on its cut area.
    Panel12.Hide();
    p.setCursorPos({left + Scale(50), top + Scale(10)});
    SetPanel28(words::web::StartFar);
    SetScrollCaption(words::scroll::WheelPrefix);
    return;
  }
  keys::Escape(p);
  Park();
  Control& tabs = web->Panel3;
  const Rect r = p.getWindowRect(tabs.Handle());
  const int sw = p.screenWidth(), sh = p.screenHeight();
  const Rect webRect = web->ScreenRect();
  // Panel3 is a child of the browser: its place is relative to the browser.
  const int left = sw / 2 - r.width / 2, top = sh / 2 - r.height / 2;
  tabs.SetLeft(screens::Unscale(left - webRect.left, web->Dpi()));
  tabs.SetTop(screens::Unscale(top - webRect.top, web->Dpi()));
  tabs.Show();
  p.setCursorPos({left + r.width - web->Scale(40), top + web->Scale(90)});
  RefillBrowserTabs();
  SetPanel28(words::web::TaskFar);
  SetScrollCaption(words::scroll::WheelPrefix);
  Edit3.SetCaption(kExitEcho);
}

void Tqircom::updownwheelClick() {
  Platform& p = platform();
  HideMousepp();
  SetWindowStateNormal();
  Panel27.Hide();
  if (mail::Is(Panel28.Caption(), words::web::DownFar)) return;
  SetPanel28(words::web::DownFar);
  Park();
  ParkMousepp();
  leftPress_ = false;
  if (BrowserShown()) {
    Invoke(app().browser.easyie->wfocus);
    return;
  }
  const Point at = p.getCursorPos();
  // The window the user pointed at, now that the widget is out of the way.
  const Wnd pointed = TopLevelAt(platform(), at);
  Activate(pointed);
  p.setCursorPos({at.x + Scale(30), at.y + Scale(30)});
}

// ---- the full bar ----------------------------------------------------------------------

void Tqircom::Panel9MouseMove(ShiftState, int x, int) {
  if (!ListStale() && x > Scale(380)) SetListStale();
  Panel16.SetCaption(kHintBack);
}

void Tqircom::Panel9MouseUp(MouseButton button, ShiftState, int, int) {
  if (!press_.back) return;
  press_.back = false;
  if (button == MouseButton::Left) Desktop();
  else if (button == MouseButton::Right) StartMenu();
}

void Tqircom::Panel16MouseMove(ShiftState s, int x, int y) { Panel17MouseMove(s, x, y); }

void Tqircom::Panel17MouseMove(ShiftState, int x, int) {
  if (ListStale()) ListRebuild();
  if (x <= Scale(315)) {
    Panel37.Hide();
    Panel39.Show();
    Panel16.SetCaption(kHintTitleLeft);
    Panel17.SetCaption(kTitleLeft);
    return;
  }
  Panel16.SetCaption(kHintTitleRight);
  Panel17.SetCaption(kTitleRight);
  Panel37.Show();
  Panel39.Hide();
  // "<=>" leans towards the pointer: centred while the pointer is over its
  // middle, to the side the pointer is on otherwise.
  const int d = platform().getCursorPos().x - (Left() + Scale(Panel24.Left() + 19));
  const int dead = Scale(5);
  Panel24.SetAlignment(d < -dead ? TextAlign::Left : d > dead ? TextAlign::Right : TextAlign::Center);
}

void Tqircom::Panel17MouseUp(MouseButton button, ShiftState, int x, int) {
  // A button held since before the bar came up is no command.
  if (!press_.title) return;
  press_.title = false;
  if (x < Scale(315)) {
    if (button == MouseButton::Left) Desktop();
    else if (button == MouseButton::Right) StartMenu();
    return;
  }
  if (ListView1.ItemIndex() < 0 && ListView1.Count() > 0) ListView1.SetItemIndex(0);
  if (button == MouseButton::Right) ListCloseSelected();
  else if (button == MouseButton::Left) updownwheelClick();
}

void Tqircom::Edit3MouseMove(ShiftState, int, int) {
  const std::string t = Edit3.Caption();
  if (t == "///" || t == "...") Edit3.SetCaption("");
}

void Tqircom::Panel13MouseMove(ShiftState, int, int) { Panel16.SetCaption(kHintSystemMenu); }

void Tqircom::Panel13MouseUp(MouseButton, ShiftState, int, int) {
  Park();
  SetInputCaption(words::in::Idle);
  if (app().shell.FormMain) app().shell.FormMain->PopupMenu(platform().getCursorPos());
}

void Tqircom::Panel24MouseMove(ShiftState, int, int) { Panel16.SetCaption(kHintSearch); }

void Tqircom::Panel24MouseUp(MouseButton button, ShiftState, int, int) {
  Platform& p = platform();
  if (button == MouseButton::Left) {
    Park();
    if (Teasyie* web = app().browser.easyie) {
      web->SetLeft(0);
      p.sleep(100);
      web->Panel37.SetCaption(words::web::SearchRequest);
    }
  } else if (button == MouseButton::Right) {
    ActivateAt(LeftOfBar());
    Park();
    keys::Combo(p, vk::Control, 'F');
    p.sleep(30);
    const Point at = p.getCursorPos();
    if (at.x + Scale(5) > 2) p.setCursorPos({at.x + Scale(5), at.y});
  }
}

void Tqircom::BitBtn4MouseMove(ShiftState, int, int) { Panel16.SetCaption(kHintSettings); }

void Tqircom::BitBtn4Click() {
  Twrpyreadpanel* settings = app().shell.wrpyreadpanel;
  if (!settings) return;
  if (app().shell.FormMain) app().shell.FormMain->N1Click();
  Park();
  const Rect r = settings->ScreenRect();
  const Point c{r.left + r.width / 2, r.top + r.height / 2};
  if (c.x >= 3) platform().setCursorPos(c);
}

void Tqircom::BitBtn5MouseMove(ShiftState, int, int) { Panel16.SetCaption(kHintHome); }

void Tqircom::BitBtn5Click() {
  Teasyie* web = app().browser.easyie;
  if (!web) return;
  web->Edit1.SetCaption(kHomePage);
  web->Button1Click();
  Park();
  web->SetLeft(0);
}

void Tqircom::Panel11MouseDown(MouseButton button, ShiftState, int, int) {
  if (button == MouseButton::Left) {
    Panel11.Hide();
  } else if (button == MouseButton::Right) {
    Park();
    SetScrollCaption(words::scroll::AutoDrag);
    if (app().bar.qirForm3) Invoke(app().bar.qirForm3->Button1);
  }
}

// ---- commands other windows run --------------------------------------------------------

void Tqircom::Button1Click() {
  ListBox5.Clear();
  switcher.Enumerate();
}

void Tqircom::Button2Click() {
  Platform& p = platform();
  ListBox7.Clear();
  ListBox7.Add("Computer name:  " + p.systemString(SystemString::ComputerName));
  ListBox7.Add("User name:  " + p.systemString(SystemString::UserName));
  ListBox7.Add("System directory:  " + p.systemString(SystemString::SystemDirectory));
  ListBox7.Add("Windows directory:  " + p.systemString(SystemString::WindowsDirectory));
  ListBox7.Add("Environment variables (partial list):");
  for (const char* v : {"OS=%OS%     NTVERSION=%NTVERSION%", "PATH=%PATH%", "LIBPATH=%LIBPATH%",
                        "TMP=%TMP%"})
    ListBox7.Add(p.expandEnvironment(v));
}

}  // namespace sq
