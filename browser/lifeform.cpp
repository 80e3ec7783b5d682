#include "browser/lifeform.h"

#include <algorithm>

#include "app/frame/budget.h"
#include "app/caretinfo.h"
#include "app/formmain.h"
#include "app/localpage.h"
#include "app/relays.h"
#include "app/frame/screens.h"
#include "app/wrpyreadpanel.h"
#include "bar/mousepp.h"
#include "bar/tippictures.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "bar/qirform4.h"
#include "bar/wheeltipform.h"
#include "browser/easyie.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"
#include "input/words.h"

namespace sq {

namespace {

namespace hint = words::lifehint;

// A near mode is the first 8 bytes of Panel7 (four GBK characters).
constexpr std::size_t kModeBytes = 8;
constexpr int kNear = 3;            // same point: within 3 px in x and in y
constexpr int kSampleLimit = 20;    // pointer samples kept before cutting back
constexpr int kCtrlCountLimit = 100;
constexpr int kClassBytes = 95;     // ClassNameOf
constexpr int kCaptionBytes = 110;  // CaptionOf

std::string Mode(const std::string& caption) { return caption.substr(0, kModeBytes); }

void SetIfDiff(Control& c, const std::string& s) {
  if (c.Caption() != s) c.SetCaption(s);
}

bool Zero(Point p) { return p.x == 0 && p.y == 0; }

}  // namespace

Tlifeform::Tlifeform(App& app)
    : Form(app, app.browser.lifeform, "lifeform"), lifeform_controls(this) {
  Button1.OnClick = [this] { Button1Click(); };
  Button3.OnClick = [this] { Button3Click(); };
  rightcopy.OnClick = [this] { rightcopyClick(); };
  Timer1.OnTimer = [this] { Timer1Timer(); };
  Timer2.OnTimer = [this] { Timer2Timer(); };
  Timer3.OnTimer = [this] { Timer3Timer(); };
  // A press on these brings the marker window up.
  for (Control* c : {&Panel10, &Panel11, &Panel1})
    c->OnMouseDown = [this](MouseButton, ShiftState, int, int) { BringRightformUp(); };
  // A release on these opens the main menu.
  for (Control* c : {&Panel13, &wheelmode, &Panel20, &Label1, &status, &Image1, &Image5,
                     &Image6, &Image7})
    c->OnMouseUp = [this](MouseButton, ShiftState, int, int) { MenuRelease(); };
  // Hovering a picture opens the main menu at the screen's centre.
  for (Control* c : {&Image1, &Image5, &Image6, &Image7})
    c->OnMouseMove = [this](ShiftState, int, int) { PictureHover(); };
}

void Tlifeform::FormCreate() {
  Platform& p = platform();
  Panel20.SetLeft(900);
  Panel20.SetTop(0);
  Control* icons[] = {&Image1, &Image5, &Image6, &Image7};
  for (int i = 0; i < 4; ++i) pictures::Show(*icons[i], pictures::LifeIcon(i));
  links_ = LifeLinkEvents(app(), *this);
  browser_ = p.createBrowser(CppWebBrowser1.Handle(), links_.get());
  // At creation the page is only opened; nothing is loading yet to stop.
  if (browser_) OpenLocalPage(p, *browser_, "\\helptitle.htm");
  SetHeight(32);
  // At the bottom left of the main monitor; the first Timer1 tick moves
  // the bar to the top.
  const Monitor main = screens::Main(screens::Query(p));
  const int d = screens::ClampDpi(main.dpi);
  Place({main.rect.left, main.rect.bottom() - screens::Scale(30, d), screens::Scale(32, d),
         screens::Scale(32, d)},
        d, ZOrder::TopMost, swp::ShowWindow);
  Show();
  Button1Click();
}

std::string Tlifeform::HelpTitleAddress() {
  // The whole address is passed, however deep the current directory.
  return LocalPageAddress(platform(), "\\helptitle.htm");
}

const char* const Tlifeform::kHintPages[] = {"\\helptitle.htm", "\\helptitle2.htm",
                                               "\\helptitle3.htm", "\\helptitle4.htm"};
const int Tlifeform::kHintPageCount = 4;

void Tlifeform::ShowHelpTitle() {
  if (!browser_) return;
  browser_->stop();
  hint_ = 0;
  OpenLocalPage(platform(), *browser_, kHintPages[0]);
}

void Tlifeform::NextHint() {
  if (!browser_) return;
  Platform& p = platform();
  // A hint page that is missing is passed over; with none but the first
  // the first is shown again.
  int next = 0;
  for (int step = 1; step < kHintPageCount; ++step) {
    const int i = (hint_ + step) % kHintPageCount;
    if (i == 0 || p.fileExists(kHintPages[i] + 1)) {
      next = i;
      break;
    }
  }
  browser_->stop();
  hint_ = next;
  OpenLocalPage(p, *browser_, kHintPages[next]);
}

// ---- desktop toolbar ------------------------------------------------------

void Tlifeform::Button1Click() {
  Platform& p = platform();
  registeredHeight_ = std::max(0, Height());
  // A shell that refuses the bar is asked again at the next height change;
  // meanwhile nothing is reserved.
  if (!registered_) registered_ = p.appBarNew(Handle());
  if (!registered_) return;
  // Across the top of the main monitor, as high as the panel is.
  const Monitor main = screens::Main(screens::Query(p));
  const int px = screens::Scale(registeredHeight_, screens::ClampDpi(main.dpi));
  p.appBarSetPos(Handle(), kEdgeTop, {main.rect.left, main.rect.top, main.rect.width, px});
}

void Tlifeform::Button3Click() {
  platform().appBarRemove(Handle());
  registered_ = false;
  TFormMain* main = app().shell.FormMain;
  if (main && main->Panel1.Caption() == words::mainform::Closing) main->Close();
}

void Tlifeform::FormDestroy() {
  platform().appBarRemove(Handle());
  registered_ = false;
}

void Tlifeform::KeepAtTop() {
  // Across the top of the main monitor: a bar moved away (or a screen that
  // changed its width) is put back at the registered height. A bar in its
  // place keeps the height it has (0 while the main menu has turned it
  // off). A screen narrower than the stored layout keeps the picture
  // panel on it.
  if (!Visible()) return;
  Platform& p = platform();
  const Monitor main = screens::Main(screens::Query(p));
  const int d = screens::ClampDpi(main.dpi);
  const Rect want{main.rect.left, main.rect.top, main.rect.width,
                  screens::Scale(registeredHeight_, d)};
  const Rect now = ScreenRect();
  if (now.left == want.left && now.top == want.top && now.width == want.width) return;
  Place(want, d, ZOrder::TopMost, swp::ShowWindow | swp::NoActivate);
  const int room = screens::Unscale(main.rect.width, d) - Panel20.Width();
  Panel20.SetLeft(std::clamp(room, 0, 900));
}

// ---- shared helpers -------------------------------------------------------

bool Tlifeform::Same(Point a, Point b) {
  const int n = screens::Scale(kNear, screens::At(screens::Query(platform()), a).dpi);
  return a.x - b.x <= n && b.x - a.x <= n && a.y - b.y <= n && b.y - a.y <= n;
}

bool Tlifeform::OverBar(Point p) {
  return app().bar.qircom && app().bar.qircom->HoldsChild(platform().windowFromPoint(p));
}

// As the input core counts right releases: not on the program's own command
// bar or browser window.
bool Tlifeform::OverBarOrBrowser(Point p) {
  return sq::OverBarOrBrowser(app(), platform().windowFromPoint(p));
}

bool Tlifeform::OverControl(const Control& c, Point p) {
  Platform& pl = platform();
  Wnd under = pl.windowFromPoint(p);
  return under && (under == c.Handle() || pl.isChild(c.Handle(), under));
}

void Tlifeform::ClickOf(Control& c) {
  if (c.OnClick) c.OnClick();
}

void Tlifeform::ShowCard(Point p, int panel) {
  if (panel) app().bar.mousepp->ShowAt(p, static_cast<Tmousepp::Card>(panel));
  else app().bar.mousepp->ShowAt(p);
}

void Tlifeform::PopupMainMenu(Point at) {
  if (app().shell.FormMain) app().shell.FormMain->PopupMenu(at);
}

void Tlifeform::MenuRelease() {
  Platform& p = platform();
  if (app().bar.qircom) app().bar.qircom->Park();
  if (app().input.qirinputor) app().input.qirinputor->SetCaption(words::in::Idle);
  PopupMainMenu(p.getCursorPos());
}

void Tlifeform::PictureHover() {
  Platform& p = platform();
  if (app().browser.easyie) app().browser.easyie->Park();
  const Monitor main = screens::Main(screens::Query(p));
  const Point centre{main.rect.left + main.rect.width / 2, main.rect.top + main.rect.height / 2};
  const int d = screens::ClampDpi(main.dpi);
  p.setCursorPos({centre.x + screens::Scale(20, d), centre.y + screens::Scale(26, d)});
  // A menu already open there is left alone.
  Wnd there = p.windowFromPoint({centre.x + screens::Scale(10, d), centre.y + screens::Scale(10, d)});
  if (there && p.getClassName(there) == hint::MenuClass) return;
  PopupMainMenu(centre);
}

void Tlifeform::BringRightformUp() {
  Trightform* r = app().relays.rightform;
  if (!r) return;
  const Monitor main = screens::Main(screens::Query(platform()));
  const int d = screens::ClampDpi(main.dpi);
  r->Place({main.rect.left + screens::Scale(100, d), main.rect.top + screens::Scale(100, d),
            screens::Scale(240, d), screens::Scale(40, d)},
           d, ZOrder::TopMost, swp::ShowWindow);
  r->Show();
}

// ---- operations other windows invoke -----------------------------------------

void Tlifeform::rightcopyClick() {
  App& a = app();
  Platform& p = platform();
  Tqircom& bar = *a.bar.qircom;
  bar.Panel9.Show();
  bar.Panel12.Show();
  bar.Panel35.Show();
  bar.Panel14.SetCaption(words::zone::F3);
  // A shown browser window copies through its active page's control, at
  // once. A copy that left the clipboard as it was (nothing selected, no
  // page) is no copy: the old clipboard text must not enter the smart
  // clipboard as a new one. The keys' copy lands only after this handler,
  // so that one is taken as made.
  bool copied = true;
  if (!a.browser.easyie->Shown()) {
    keys::Combo(p, vk::Control, 'C');
  } else {
    const std::uint32_t before = p.clipboardSequence();
    if (WebBrowser* page = a.browser.easyie->ActiveBrowser()) {
      page->setFocus();
      page->execWB(olecmd::Copy, olecmd::PromptUser);
    }
    copied = p.clipboardSequence() != before;
  }
  Panel7.SetCaption(words::life::HintPaste);
  keys::Escape(p);
  a.bar.qirForm3->SetCaption(words::scroll::MyRight);
  p.sleep(20);
  if (copied) a.input.qirinputor->SetCaption(words::in::CopyDone);
  a.bar.qirForm3->SetCaption(hint::MyRightDone);
  bar.PlaceAtPointer(p.getCursorPos(), -30, -6, 70, 24, ZOrder::TopMost, swp::ShowWindow);
  bar.Show();
}

// ---- Timer1: near mode and hints ---------------------------------------------

void Tlifeform::Timer1Timer() {
  App& a = app();
  Platform& p = platform();
  Tmousepp& card = *a.bar.mousepp;
  Teasyie& web = *a.browser.easyie;
  const Point P = p.getCursorPos();
  std::string mode = Mode(Panel7.Caption());

  // 1. The mouse picture window is up: the hint has been handled.
  if (mode != hint::AtRight && mode != hint::AtSelection && card.Shown() && !OverBar(P)) {
    Panel7.SetCaption(hint::CardHandled);
    if (web.Shown()) ClickOf(web.wfocus);
  }

  // 2. Mirrors, the Ctrl counter, the window under the pointer.
  SetIfDiff(Panel3, a.input.caretinfo->Caption());
  SetIfDiff(Panel5, a.bar.qirForm3->Caption());
  SetIfDiff(Button2, a.relays.rightform->Caption());
  SetIfDiff(Panel11, mail::Starts(a.input.qirinputor->Caption(), words::in::KeyPrefix)
                         ? std::string(hint::EditKeys)
                         : std::string());
  // One count per tick while Ctrl is down: per 100 ms the hold lasted, so
  // that ticks the system delayed (a busy machine) still count.
  const std::uint32_t now = p.tickCount();
  if (p.isKeyDown(vk::Control)) {
    std::uint32_t step = 1;
    if (ctrlHeld_) step = std::max<std::uint32_t>(1, std::min<std::uint32_t>((now - ctrlTick_) / 100, 100));
    const int n = std::clamp(LeadingInt(Panel9.Caption()) + static_cast<int>(step), 1, kCtrlCountLimit);
    Panel9.SetCaption(std::to_string(n));
    SetIfDiff(Panel4, words::life::CtrlHeld);
    ctrlHeld_ = true;
    ctrlTick_ = now;
  } else {
    SetIfDiff(Panel4, "");
    ctrlHeld_ = false;
  }
  {
    Wnd under = p.windowFromPoint(P);
    std::string cls = under ? p.getClassName(under) : std::string();
    std::string cap = under ? p.getWindowTextUpTo(under, kCaptionBytes) : std::string();
    if (cls.size() > kClassBytes) cls.resize(kClassBytes);
    SetIfDiff(windmess, cls + "//" + cap);
  }
  const std::string legend = Label2.Caption().substr(0, 4);
  SetIfDiff(card.Label2, legend);
  SetIfDiff(web.Label7, legend);

  // 3. Combination hints.
  const std::string prev = Panel19.Caption();
  if (mode == hint::AtRight && prev == words::life::NearLeftPrefix) Panel7.SetCaption(hint::HintRightLeft);
  if (mode == words::life::NearLeftPrefix && prev == hint::AtRight) Panel7.SetCaption(hint::HintLeftRight);

  // 4. The previous near mode, kept while no button is down.
  const bool leftDown = p.isKeyDown(vk::LButton);
  const bool anyDown = leftDown || p.isKeyDown(vk::RButton) || p.isKeyDown(vk::MButton);
  const std::string hintNow = Panel7.Caption();
  if (!anyDown && !mail::Starts(hintNow, hint::LeftRightPrefix) &&
      !mail::Starts(hintNow, hint::RightLeftPrefix)) {
    SetIfDiff(Panel19, Mode(hintNow));
  }

  // 5. A left press (seen now, or by the 20 ms timer since the last tick:
  // a click shorter than this tick's period still counts).
  if (leftDown || press_.leftSeen) {
    press_.rightRelease = {};
    press_.doubleRight = false;
    SetIfDiff(Panel9, "0");
    // A press on the command bar is the bar's own (as for the input core):
    // no hint for the next click comes of it.
    if (leftDown && !OverBar(P)) press_.left = P;
    press_.last = Press::Left;
  }
  press_.leftSeen = false;
  SetIfDiff(Panel6, leftDown ? hint::MouseDown : "");

  // 6. A right release: the double right click. The hook's word
  // ("rightup" and the point) is the input core's to read first: taken
  // here it would be gone before the input tick's right-button chords saw
  // it. The panel answers the input core's acknowledgement instead.
  {
    const std::string w = a.bar.qirForm3->Caption();
    if (mail::Has(w, hint::RightUpPart) && !mail::Starts(w, words::hook::RightUpPrefix) &&
        !OverBarOrBrowser(P)) {
      DoubleRightClick(P);
    }
  }

  // 7, 8. Resting at the left-press point.
  mode = Mode(Panel7.Caption());
  if (press_.last == Press::Left && !Zero(press_.left) && Same(P, press_.left)) {
    const std::string h = Panel7.Caption();
    if (mode != hint::AtRight && Panel19.Caption() != hint::AtRight &&
        !mail::Starts(h, hint::LeftRightPrefix) && !mail::Starts(h, hint::RightLeftPrefix) &&
        mode != hint::AtSelection) {
      Panel7.SetCaption(hint::HintAtLeft);
    }
    if (SelectionCardAt(P)) return;
  }
  if (mail::Is(a.relays.leftform->Caption(), hint::LeftOk)) SetIfDiff(leftselect, hint::LeftOk);

  // 9. Resting at the right-press point.
  mode = Mode(Panel7.Caption());
  if (press_.last == Press::Right && !Zero(press_.right) && Same(P, press_.right)) {
    const std::string h = Panel7.Caption();
    if (mode != words::life::NearLeftPrefix && Panel19.Caption() != words::life::NearLeftPrefix &&
        !mail::Starts(h, hint::LeftRightPrefix) && !mail::Starts(h, hint::RightLeftPrefix)) {
      SetIfDiff(Panel7, hint::HintAtRight);
    } else {
      SetIfDiff(Panel7, hint::HintLeftRight);
    }
  }

  // 10. Away from both press points.
  if (!Same(P, press_.right) && !Same(P, press_.left)) {
    SetIfDiff(Panel7, hint::Away);
    SetIfDiff(*a.relays.leftform, hint::LeftNormal);
  }

  // 11. Back at the top of the screen.
  KeepAtTop();
}

void Tlifeform::DoubleRightClick(Point P) {
  App& a = app();
  Platform& p = platform();
  Tqircom& bar = *a.bar.qircom;
  if (!OverControl(bar.Panel27, P)) {
    press_.rightRelease[static_cast<std::size_t>(press_.nextRelease)] = P;
    press_.nextRelease = 1 - press_.nextRelease;
  }
  a.bar.qirForm3->SetCaption(hint::RightOkUp);
  const Point r0 = press_.rightRelease[0], r1 = press_.rightRelease[1];
  if (r0.x == r1.x && r0.y == r1.y && !Zero(r0) && !press_.doubleRight) {
    press_.doubleRight = true;
    bar.Panel9.Show();
    bar.Panel12.Show();
    bar.Panel35.Show();
    bar.Panel14.SetCaption(words::zone::Equal);
    bar.Panel27.Hide();
    // Hide and show both windows and flick the bar's width so both repaint.
    Tmousepp& card = *a.bar.mousepp;
    bar.Hide();
    bar.Show();
    card.Hide();
    card.Show();
    const int w = bar.Width();
    bar.SetWidth(0);
    p.sleep(3);
    bar.SetWidth(w);
    card.Panel1.SetLeft(-2000);
    card.Panel2.SetLeft(0);
    card.Panel3.SetLeft(-2000);
    Panel7.SetCaption(words::life::HintPaste);
    keys::Escape(p);
    p.sleep(50);
    bar.PlaceAtPointer(P, -30, -15, 70, 24, ZOrder::TopMost, swp::ShowWindow);
    bar.Show();
  } else {
    press_.doubleRight = false;
  }
  if (p.isKeyDown(vk::Control)) {
    Panel9.SetCaption("0");
    keys::Up(p, vk::Control);
  }
  press_.right = P;
  press_.last = Press::Right;
}

bool Tlifeform::SelectionCardAt(Point P) {
  App& a = app();
  Platform& p = platform();
  Tmousepp& card = *a.bar.mousepp;
  if (!mail::Is(leftselect.Caption(), words::life::LeftExit) || card.Shown() ||
      a.shell.wrpyreadpanel->lleft.Checked()) {
    return false;
  }
  Panel7.SetCaption(hint::HintSelection);
  card.Label23.SetCaption(hint::CardDelete);
  card.Label26.SetCaption(hint::CardCopyText);
  card.Panel1.SetLeft(-2000);
  card.Panel2.SetLeft(-2000);
  card.Panel3.SetLeft(0);
  a.bar.qirForm3->SetCaption(hint::ScrollCardDone);
  // Let go of every button the user still holds.
  if (p.isKeyDown(vk::LButton)) p.mouseEvent(mouseflag::LeftUp, 0, 0, 0);
  if (p.isKeyDown(vk::RButton)) p.mouseEvent(mouseflag::RightUp, 0, 0, 0);
  if (p.isKeyDown(vk::MButton)) p.mouseEvent(mouseflag::MiddleUp, 0, 0, 0);
  Teasyie& web = *a.browser.easyie;
  if (mail::Is(web.midmess.Caption(), words::web::MiddleDown)) {
    web.midmess.SetCaption(hint::MiddleDownHandled);
    card.Park();
    if (web.Shown()) ClickOf(web.wfocus);
    press_.left = {0, 0};
    a.relays.leftform->SetCaption(hint::ExitLeft);
    leftselect.SetCaption(hint::SelectionDone);
    return true;
  }
  ShowCard(P, 0);
  a.bar.qircom->Panel27.Hide();
  a.relays.leftform->SetCaption(hint::ExitLeft);
  leftselect.SetCaption(hint::SelectionDone);
  return false;
}

// ---- Timer2: the mouse picture window beside the clip widget -------------------

void Tlifeform::Timer2Timer() {
  App& a = app();
  Platform& p = platform();
  Tqircom& bar = *a.bar.qircom;
  Tmousepp& card = *a.bar.mousepp;
  TqirForm3& scroll = *a.bar.qirForm3;
  const Point P = p.getCursorPos();
  const std::string zone = bar.Panel14.Caption();

  // Where the left button was pressed, for Timer1.
  if (p.isKeyDown(vk::LButton)) {
    if (!OverBar(P)) press_.left = P;
    press_.last = Press::Left;
    press_.leftSeen = true;
  }

  // 1. Searching from the clip widget.
  if (zone == words::zone::F3 && card.Label23.Caption() == hint::CardDelete) {
    card.Label23.SetCaption(hint::CardWebSearch);
    card.Label26.SetCaption(hint::CardLocalFind);
  }

  // 2. Diagnostics: the input method window named in Edit1; the key history.
  const std::string cls = Edit1.Caption();
  Wnd ime = cls.empty() ? 0 : p.findWindow(cls);
  if (!ime) {
    SetIfDiff(Panel14, "No");
  } else if (!p.isWindowVisible(ime)) {
    SetIfDiff(Panel14, "Find vvxx");
  } else {
    const Rect r = p.getWindowRect(ime);
    SetIfDiff(Panel14, "Find vv=" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                           std::to_string(r.right()) + "," + std::to_string(r.bottom()));
  }
  // The history changes at its head (new words, words marked as handled)
  // or is cut back, so its count and first items tell a change.
  bool differs = ListBox1.Count() != bar.ListBox8.Count();
  for (int i = 0; i < 4 && !differs; ++i)
    differs = mail::ItemOr(ListBox1, i) != mail::ItemOr(bar.ListBox8, i);
  if (differs) ListBox1.SetText(bar.ListBox8.Text());

  // 3. The selection card's labels.
  const bool cardSelection = card.Panel3.Left() == 0;
  if (Mode(Panel7.Caption()) == hint::AtSelection && cardSelection) {
    if (!bar.Shown()) {
      SetIfDiff(card.Label23, hint::CardDelete);
      SetIfDiff(card.Label26, hint::CardCopyTextMore);
      SetIfDiff(bar.Panel14, hint::ZoneSelection);
      SetIfDiff(scroll, words::scroll::MyRight);
    } else {
      SetIfDiff(card.Label23, hint::CardWebSearch);
      SetIfDiff(card.Label26, hint::CardFind);
    }
  }

  // 4. A right press on the card copies.
  if (mail::Is(scroll.Caption(), words::scroll::MyRight) && p.isKeyDown(vk::RButton) &&
      card.Shown()) {
    Panel7.SetCaption(hint::Handled);
    scroll.SetCaption(hint::MyRightCopying);
    rightcopyClick();
  }

  // 5. Searching: the right-copy words are done with.
  if (bar.Panel14.Caption() == words::zone::F3) {
    if (mail::Is(scroll.Caption(), words::scroll::MyRight)) scroll.SetCaption(hint::MyRightDone);
    if (mail::Is(a.relays.rightform->Caption(), words::scroll::MyRight))
      a.relays.rightform->SetCaption(hint::MyRightDone);
  }

  // 6. The card beside the clip widget. Not while the left button is down:
  // Timer3 parks the card then, and the two would take turns.
  if (bar.Shown() && bar.Left() > 0 && bar.Width() < 100 && !card.Shown() &&
      !p.isKeyDown(vk::LButton)) {
    if (ClipWidgetCard(P)) return;
  }

  // 8. The card stays on top.
  if (card.Shown()) {
    const Rect r = card.ScreenRect();
    p.setWindowPos(card.Handle(), ZOrder::TopMost, r, swp::NoMove | swp::NoSize | swp::NoActivate);
  }
}

bool Tlifeform::MiddlePressHandled() {
  App& a = app();
  Teasyie& web = *a.browser.easyie;
  if (!mail::Is(web.midmess.Caption(), words::web::MiddleDown)) return false;
  web.midmess.SetCaption(hint::MiddleDownHandled);
  a.bar.mousepp->Park();
  if (web.Shown()) ClickOf(web.wfocus);
  press_.left = {0, 0};
  return true;
}

bool Tlifeform::ClipWidgetCard(Point P) {
  App& a = app();
  Platform& p = platform();
  Tqircom& bar = *a.bar.qircom;
  Tmousepp& card = *a.bar.mousepp;
  Teasyie& web = *a.browser.easyie;
  const std::string zone = bar.Panel14.Caption();
  const bool overWidget = OverControl(bar.Panel27, P);
  // The card's Escape closes the menu an application opened for the right
  // release that brought the widget up. With the pointer on the program's
  // own bar the user's presses go to the bar: there is no such menu, and
  // an Escape would reach the focused application itself (cancelling its
  // dialog or its edit).
  const bool closeMenu = !OverBar(P);
  auto escape = [&] {
    if (!closeMenu) return;
    keys::Escape(p);
    p.sleep(20);
  };
  if (zone == words::zone::F3 && !overWidget) {
    SetIfDiff(card.Label1, hint::CardSearchFind);
    SetIfDiff(web.Label7, hint::CardSearchFind);
    if (MiddlePressHandled()) return true;
    ShowCard(P, 0);
  } else if (zone == words::zone::Equal && !overWidget) {
    SetIfDiff(card.Label1, hint::CardPaste);
    SetIfDiff(web.Label7, hint::CardPaste);
    if (MiddlePressHandled()) return true;
    ShowCard(P, 2);
    bar.Panel27.Hide();
    escape();
  } else if (zone == words::zone::X) {
    SetIfDiff(card.Label1, hint::CardNetClose);
    SetIfDiff(web.Label6, hint::CardNetClose);
    if (MiddlePressHandled()) return true;
    ShowCard(P, 1);
    escape();
    const Rect r = card.ScreenRect();
    p.setWindowPos(card.Handle(), ZOrder::TopMost, r, swp::NoMove | swp::NoSize | swp::NoActivate);
  } else if (web.Shown()) {
    // Over the browser window the menu panel stands in for the card.
    if (web.Panel9.Visible()) web.Panel9.Hide();
    if (!web.Panel3.Visible()) web.Panel3.Show();
    web.Panel3.BringToFront();
  }
  return false;
}

// ---- Timer3: wheel mode and wheel tip -------------------------------------------

void Tlifeform::Timer3Timer() {
  App& a = app();
  Platform& p = platform();
  Twheeltipform& tip = *a.bar.wheeltipform;
  const Point P = p.getCursorPos();

  // 1. The wheel tip's hidden panel; the browser's middle-press word.
  if (Panel4.Caption() == hint::ShowWheelTipPanel && !tip.Panel1.Visible()) tip.Panel1.Show();
  SetIfDiff(Button4, a.browser.easyie->midmess.Caption());

  // 2. The card out of the way while the left button is down.
  if (p.isKeyDown(vk::LButton) && a.bar.mousepp->Shown()) a.bar.mousepp->Park();

  // A maximised active window starts below the bar.
  FitMaximisedBelow();

  // 2, 3. The wheel tip parked while the full bar is up, otherwise on the
  // active window's title bar.
  PlaceWheelTip();

  // 4. The wheel mode from the pointer's motion.
  WheelModeFromMotion(P);
}

void Tlifeform::PlaceWheelTip() {
  // One rule for the tip, the command bar's tick keeps it too: parked while
  // the browser window or the full bar is up (a tip placed over a shown
  // browser would be parked again by the bar's next tick), otherwise on
  // the active window's title bar. A wheel word or a full bar that was
  // parked places it again even where the window kept its place.
  App& a = app();
  Twheeltipform& tip = *a.bar.wheeltipform;
  // (Once for each new wheel word and each time the bar grew tall, not on
  // every tick while they last.)
  tip.KeepOnActiveWindow();
  const std::string word = a.bar.qirForm3->Caption();
  const bool wheel = mail::Starts(word, words::scroll::WheelPrefix);
  const bool newWheel = wheel && word != tipWheelWord_;
  tipWheelWord_ = wheel ? word : std::string();
  const bool tall = a.bar.qircom->Height() > 99;
  const bool grewTall = tall && !tipBarTall_;
  tipBarTall_ = tall;
  if (a.browser.easyie->Shown() || a.bar.qircom->Shown()) return;
  if (newWheel || grewTall) tip.FollowActiveWindow(true);
}

void Tlifeform::FitMaximisedBelow() {
  // Where the shell reserves the toolbar's band, maximised windows already
  // fill the rest of the screen. A shell that places the bar but keeps the
  // work area whole maximises windows under it: such a window is moved to
  // start below the bar, still maximised, on the bar's monitor only.
  Platform& p = platform();
  if (!registered_ || !Visible()) return;
  const Wnd w = p.getForegroundWindow();
  if (!w) return;
  for (Form* own : app().forms())
    if (own->Handle() == w) return;
  const WindowState st = p.windowState(w);
  const Rect r = p.getWindowRect(w);
  if (!st.maximized) return;
  const Rect bar = ScreenRect();
  const int bottom = bar.bottom();
  if (bar.height <= 0 || r.top >= bottom || r.bottom() <= bottom + 1) return;
  if (r.right() <= bar.left || r.left >= bar.right()) return;
  p.setWindowPos(w, ZOrder::Keep, {r.left, bottom, r.width, r.bottom() - bottom},
                 swp::NoZOrder | swp::NoActivate);
}

void Tlifeform::WheelModeFromMotion(Point P) {
  App& a = app();
  Tqircom& bar = *a.bar.qircom;
  Twheeltipform& tip = *a.bar.wheeltipform;
  Teasyie& web = *a.browser.easyie;
  TqirForm3& scroll = *a.bar.qirForm3;
  auto sample = [](Control& list, int i) { return LeadingInt(mail::ItemOr(list, i)); };

  if (Mode(Panel7.Caption()) == words::life::NearLeftPrefix) {
    SetIfDiff(Panel23, hint::MoveNormal);
    SetIfDiff(bar.Panel28, words::web::DownFar);
    for (Control* list : {&ListBox2, &ListBox3})
      for (int i = 0; i < 2 && i < list->Count(); ++i)
        if (list->Item(i) != "0") list->SetItem(i, "0");
    if (mail::Has(scroll.Caption(), hint::WheelPart)) scroll.SetCaption(hint::WheelStopped);
  }

  // The two newest samples give the mode, once for each new sample, not on
  // every tick from samples that no longer change. Motion switches between
  // the normal and the fast wheel only: a corner mode the command bar set
  // ("up far", "start far", ...) lasts until the left press that ends it.
  const Point s0{sample(ListBox2, 0), sample(ListBox3, 0)};
  const Point s1{sample(ListBox2, 1), sample(ListBox3, 1)};
  const std::string corner = bar.Panel28.Caption();
  if (freshSample_ && Mode(Panel7.Caption()) != words::life::NearLeftPrefix && !Zero(s0) &&
      !Zero(s1) && (corner == hint::WheelOk || corner == words::web::DownFar)) {
    const long long dx = static_cast<long long>(s1.x) - s0.x;
    const long long dy = static_cast<long long>(s1.y) - s0.y;
    if ((dy < 0 ? -dy : dy) < (dx < 0 ? -dx : dx)) {
      SetIfDiff(bar.Panel28, hint::WheelOk);
      for (Control* c : {&wheelmode, &tip.wheelmode, &web.wheelmode})
        SetIfDiff(*c, hint::WheelNormal);
      SetIfDiff(Panel23, s0.x < s1.x ? hint::MoveLeft : hint::MoveRight);
    } else if (s0.y < s1.y) {
      SetIfDiff(bar.Panel28, hint::WheelOk);
      for (Control* c : {&wheelmode, &tip.wheelmode, &web.wheelmode})
        SetIfDiff(*c, hint::WheelNormal);
    } else {
      SetIfDiff(tip.wheelmode, hint::WheelFast);
      SetIfDiff(web.wheelmode, hint::WheelFast);
      SetIfDiff(Panel23, hint::MoveDown);
      SetIfDiff(bar.Panel28, words::web::DownFar);
    }
  }
  freshSample_ = false;

  // A new sample where the pointer moved, while neither the bar nor the
  // browser's menu panel is in the way.
  const bool sampling = (!bar.Shown() && !web.Shown()) || (web.Shown() && web.Panel3.Left() < 0);
  if ((P.x != s0.x || P.y != s0.y) && sampling) {
    ListBox2.Insert(0, std::to_string(P.x));
    ListBox3.Insert(0, std::to_string(P.y));
    freshSample_ = true;
    if (ListBox2.Count() > kSampleLimit) {
      while (ListBox2.Count() > 2) ListBox2.Delete(ListBox2.Count() - 1);
      while (ListBox3.Count() > 2) ListBox3.Delete(ListBox3.Count() - 1);
    }
  }
}

}  // namespace sq
