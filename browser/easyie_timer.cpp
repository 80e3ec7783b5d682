// The browser window's timers: Timer1 (40 ms) follows the input method,
// keeps the corner wheel modes, turns wheel words into list steps, page
// keys or a middle-button autoscroll, and serves the requests of other
// windows; Timer3 (200 ms) keeps a drag-scroll alive until the left button
// is let go.
#include "app/caretinfo.h"
#include "app/relays.h"
#include "app/wrpyreadpanel.h"
#include "bar/mousepp.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"

namespace sq {

namespace {
constexpr int kPageUp = 33, kPageDown = 34;

void SetIfOther(Control& c, const std::string& s) {
  if (c.Caption() != s) c.SetCaption(s);
}

int Clamp(int off) {
  if (off > 18) return 18;
  if (off >= 1 && off <= 9) return 14;
  if (off < -18) return -18;
  if (off <= -1 && off >= -9) return -14;
  return off;
}

struct Corner {
  const char* bar;
  const char* life;
};
}  // namespace

bool Teasyie::OverMenu(Wnd under) {
  return under && (under == Panel3.Handle() || platform().isChild(Panel3.Handle(), under));
}

bool Teasyie::OverBar(Wnd under) {
  Tqircom* bar = app_.bar.qircom;
  return bar && under && (under == bar->Handle() || bar->HoldsChild(under));
}

bool Teasyie::HoldsChild(Wnd w) {
  Platform& p = platform();
  return w && (p.isChild(Handle(), w) || p.isChild(Panel9.Handle(), w) ||
               p.isChild(Panel3.Handle(), w));
}

bool OverBarOrBrowser(App& app, Wnd under) {
  if (!under || !app.bar.qircom || !app.browser.easyie) return false;
  return app.bar.qircom->HoldsChild(under) || app.browser.easyie->HoldsChild(under);
}

void Teasyie::Timer1Timer() {
  Platform& p = platform();
  Tlifeform* life = app_.browser.lifeform;
  if (!life || !app_.bar.qirForm3 || !app_.bar.qircom || !app_.input.qirinputor ||
      !app_.input.caretinfo)
    return;
  // 1. A page that wants to install components is stopped.
  if (mail::Has(life->Label3.Caption(), words::web::InstallingPart)) {
    if (WebBrowser* w = ActiveBrowser()) w->stop();
    life->Label3.SetCaption(words::web::InstallStopped);
  }
  // 2-5. The input method's windows.
  ImeMarkers();
  // 6. The browser went away after "X": the status line is cleared.
  if (menu_.speed1Pressed && !Shown()) {
    menu_.speed1Pressed = false;
    life->Label3.SetCaption(words::web::StatusCleared);
  }
  const Point at = p.getCursorPos();
  const Wnd under = p.windowFromPoint(at);
  // 7. Over the menu panel the wheel belongs to its lists.
  if (OverMenu(under)) SetIfOther(*life, words::web::MyWheel);
  // 8. The wheel reference row follows the left presses.
  if (app_.bar.qirForm3->Panel6.Caption() != words::web::MyDrag && p.isKeyDown(vk::LButton)) {
    Panel25.Hide();
    wheel_.wheelRef = at;
  }
  if (at.y - wheel_.wheelRef.y <= 20 && wheel_.wheelRef.y - at.y <= 20) {
    SetIfOther(*life, "");
    SetIfOther(Panel47, words::web::Near);
    if (app_.input.caretinfo->Height() != 0) app_.input.caretinfo->SetHeight(0);
  }
  SetIfOther(Panel46, life->Caption());
  // 9. A left press ends an autoscroll.
  AutoscrollEnd();
  // 10. Corner modes.
  CornerModes();
  // 11. A wheel notch.
  const std::string scroll = app_.bar.qirForm3->Caption();
  if (mail::Starts(scroll, words::scroll::WheelPrefix)) {
    WheelEvent(scroll);
    return;
  }
  // 12. Without a wheel notch: requests and housekeeping.
  SearchRequest();
  SetIfOther(Panel7, tabs_.top.web ? tabs_.top.web->locationURL() : std::string());
  SetIfOther(Panel21, app_.input.qirinputor->Caption());
  InputCaptionRequests();
  if (menu_.helpAtStartPending) {
    menu_.helpAtStartPending = false;
    tabs_.top.host->SetTop(0);
    NormalBanners();
    Button1Click();
  }
  if (page_.purgePending) PopupPurge();
  if (tabs_.top.host->Top() != 0) {
    tabs_.top.host->SetTop(0);
    NormalBanners();
  }
  if (Button21.Caption() == "??") {
    Button21.SetCaption("?");
    Button21Click();
  }
  EmptyTab();
  MenuEscape();
  ScrollCaptionRequest();
  DropFileRequest();
}

void Teasyie::ImeMarkers() {
  Platform& p = platform();
  Tlifeform& life = *app_.browser.lifeform;
  Twrpyreadpanel* set = app_.shell.wrpyreadpanel;
  Tqirinputor& in = *app_.input.qirinputor;
  Trightform* right = app_.relays.rightform;
  const bool shown = Shown();
  const std::string input = in.Caption();
  const bool keyPending = mail::Starts(input, words::in::KeyPrefix);
  auto placePanel25 = [&](const Rect& r) {
    const Point u = ToUnits({r.left, r.top});
    if (Panel25.Left() != u.x) {
      Panel25.SetBounds(u.x, u.y - 100, 140, 40);
      Panel25.Show();
      Panel25.BringToFront();
    }
  };
  // 2. The second composition window class.
  if (Wnd q = p.findWindow("MSPY qqxxComponent")) {
    const Rect r = p.getWindowRect(q);
    if (r.width > 0) {
      if (!shown && right) {
        if (!right->Visible() || right->Left() == r.left) right->SetWidth(0);
      } else if (shown) {
        placePanel25(r);
      }
    }
  }
  // 3. A key word pending: a marker under the foreground window.
  const Wnd comp = p.findWindow("UNISPIM_COMPCLS");
  if (!comp && keyPending) {
    const Wnd fg = p.getForegroundWindow();
    bool ownFg = false;
    for (Form* f : app_.forms()) ownFg = ownFg || f->Handle() == fg;
    // The marker goes under another program's window, never over our own.
    if (!shown && right && fg && !ownFg) {
      const Rect f = p.getWindowRect(fg);
      const Rect want{f.left, f.bottom() - right->Scale(20), f.width, right->Scale(20)};
      // Placed once, never activated: the foreign window keeps the focus.
      if (right->ScreenRect() != want)
        right->SetWindowPos(ZOrder::TopMost, want.left, want.top,
                            screens::Unscale(f.width, right->Dpi()), 20, swp::NoActivate);
    } else if (shown) {
      Panel25.SetWidth(140);
      Panel25.SetHeight(40);
      Panel25.Show();
    }
  }
  // The marker that stands above a visible "MSPY Component" window (step 5)
  // is not taken down here only to be put up again.
  const Wnd mspy = p.findWindow("MSPY Component");
  auto markerAtMspy = [&] {
    if (!mspy || shown || !p.isWindowVisible(mspy)) return false;
    const Rect r = p.getWindowRect(mspy);
    return r.left >= 1 && r.top >= 1 && r.width >= 1 && r.height >= 1;
  };
  if (!keyPending || p.isKeyDown(vk::Shift)) {
    if (right && right->Height() != 0 && !markerAtMspy()) right->SetHeight(0);
    if (Panel25.Visible()) Panel25.Hide();
  }
  // 4. The pinyin reading and composition windows.
  if (input != words::web::Space) wheel_.rememberedInput = input;
  if (set) {
    if (p.findWindow("ReadPINTLGNT")) {
      SetIfOther(*set, "ReadPINTLGNT");
      if (input == words::web::Space)
        in.SetCaption(std::string(words::web::ReadPinPrefix) + wheel_.rememberedInput);
    }
  }
  if (mspy) {
    if (set) SetIfOther(*set, "MSPY Component");
    if (in.Caption() == words::web::Space) in.SetCaption(words::web::MspyKey);
    SetIfOther(life.Panel15, p.isWindowVisible(mspy) ? "--visi--" : "--xxxx--");
  }
  if (wheel_.rememberedInput == words::web::Enter &&
      mail::Starts(in.Caption(), words::in::KeyPrefix))
    in.SetCaption(std::string(words::in::HandledPrefix) + wheel_.rememberedInput);
  if (mail::Has(in.Caption(), words::web::OldOldPart) && in.Caption() != words::web::OldOld)
    in.SetCaption(words::web::OldOld);
  if (set) SetIfOther(life.Panel18, set->Caption());
  // 5. The marker at the composition window.
  const bool pending = mail::Starts(in.Caption(), words::in::KeyPrefix);
  if (mspy) {
    const Rect r = p.getWindowRect(mspy);
    if (r.left < 1 || r.top < 1 || r.width < 1 || r.height < 1) {
      if (!pending && Panel25.Visible()) Panel25.Hide();
    } else if (!shown && right) {
      // The marker stays above the window for as long as it is visible;
      // it is placed again only when it is not where it belongs.
      const Rect want{r.left, r.top - right->Scale(60), right->Scale(140), right->Scale(40)};
      if (!p.isWindowVisible(mspy)) {
        if (right->Width() != 0) right->SetWidth(0);
      } else if (right->ScreenRect() != want) {
        right->SetWindowPos(ZOrder::TopMost, want.left, want.top, 140, 40, swp::NoActivate);
      }
    } else if (shown) {
      placePanel25(r);
    }
  } else if (!pending && Panel25.Visible()) {
    Panel25.Hide();
  }
}

void Teasyie::AutoscrollEnd() {
  Platform& p = platform();
  const bool left = p.isKeyDown(vk::LButton);
  if (wheel_.autoscroll && left && !Timer3.TimerEnabled()) {
    app_.bar.qirForm3->SetCaption(words::web::AutoscrollEnded);
    wheel_.autoscroll = false;
    if (wheel_.autoStart.x > 2) {
      if (Shown()) wfocusClick();
      if (app_.bar.mousepp) app_.bar.mousepp->Park();
      p.setCursorPos({wheel_.autoStart.x - 20, wheel_.autoStart.y + 20});
    }
  } else if (left) {
    if (app_.input.caretinfo->Height() != 0) app_.input.caretinfo->SetHeight(0);
    if (p.isKeyDown(vk::MButton)) p.mouseEvent(mouseflag::MiddleUp, 0, 0, 0);
  }
}

void Teasyie::CornerModes() {
  Platform& p = platform();
  Tlifeform& life = *app_.browser.lifeform;
  Tqircom& bar = *app_.bar.qircom;
  Tcaretinfo& caret = *app_.input.caretinfo;
  const Point at = p.getCursorPos();
  const Wnd under = p.windowFromPoint(at);
  const std::string mode = bar.Panel28.Caption();
  const bool lm = app_.shell.wrpyreadpanel && app_.shell.wrpyreadpanel->lmbutton.Checked();
  auto end = [&] {
    SetIfOther(caret.Panel3, p.getClassName(under).substr(0, 95));
    if (lm && (p.isKeyDown(vk::LButton) || p.isKeyDown(vk::RButton))) SetIfOther(life, "");
    if (lm && Label2.Caption() != words::web::Filling) SetIfOther(life, "");
  };
  if (Label2.Caption() == words::web::Filling || mode == words::web::CornersOff) {
    SetIfOther(life, "");
    return end();
  }
  const bool overMenu = OverMenu(under);
  if (!overMenu && !OverBar(under) && !wheel_.farMode) SetIfOther(life, "");
  if (under && (under == caret.Handle() || p.isChild(caret.Handle(), under))) return end();
  if (!overMenu) {
    if (mail::Starts(app_.bar.qirForm3->Caption(), words::hook::RightPrefix)) {
      if (caret.Height() != 0) caret.SetHeight(0);
      wheel_.farMode = false;
      return end();
    }
    if (!wheel_.farMode || p.getClassName(p.getTopWindow()) != kPopupMenuClass) {
      if (app_.bar.qirForm3->Panel6.Caption() == words::web::MyDrag || !p.isKeyDown(vk::LButton)) {
        SetIfOther(life, words::web::MyWheel);
        const int w = p.screenWidth(), h = p.screenHeight();
        if (mode == words::web::DownFar) {
          SetIfOther(Panel47, words::web::DownFar);
          SetIfOther(life.Label2, "快速滚轮");
          wheel_.wheelRef = {-10, -10};
          wheel_.farMode = true;
        } else if (mode == words::web::UpFar) {
          SetIfOther(Panel47, words::web::UpFar);
          SetIfOther(life.Label2, "慢速滚轮");
          wheel_.wheelRef = {h + 10, -10};
          wheel_.farMode = false;
        } else if (mode == words::web::TaskFar) {
          SetIfOther(Panel47, words::web::TaskFar);
          SetIfOther(life.Label2, "菜单滚轮");
          wheel_.wheelRef = {w + 10, h + 10};
          wheel_.farMode = true;
        } else if (mode == words::web::StartFar) {
          SetIfOther(Panel47, words::web::StartFar);
          SetIfOther(life.Label2, "任务滚轮");
          wheel_.wheelRef = {w + 10, -10};
          wheel_.farMode = false;
        } else {
          SetIfOther(Panel47, words::web::Near);
          SetIfOther(life.Label2, "正常滚轮");
        }
        return end();
      }
      wheel_.farMode = false;
    }
  }
  if (caret.Height() != 0) caret.SetHeight(0);
  end();
}

void Teasyie::WheelEvent(const std::string& word) {
  Platform& p = platform();
  Tqircom& bar = *app_.bar.qircom;
  TqirForm3& scroll = *app_.bar.qirForm3;
  const bool up = word.size() >= 15 && word.compare(12, 3, words::web::WheelUpMark) == 0;
  const Point at = p.getCursorPos();
  const Wnd under = p.windowFromPoint(at);
  const bool shown = Shown();
  const Wnd fg = p.getForegroundWindow();
  if (under && fg && under != fg && p.isChild(fg, under) && !shown) p.setForegroundWindow(under);
  const bool menuParked = !MenuShown();
  const std::string mode = bar.Panel28.Caption();
  // 11a. The command bar's start mode takes the notch.
  if ((!shown || menuParked) && mode == words::web::WheelStartFar &&
      ((shown && menuParked) || (!shown && !bar.Shown()))) {
    bar.Panel28.SetCaption(words::web::WheelStartFarSeen);
    scroll.SetCaption(words::web::WheelStartSeen);
    return;
  }
  // 11b. Over the clip widget's list: a step through the smart clipboard.
  // Over the full bar the notch is the window switcher's: left for the
  // bar's own tick.
  if (OverBar(under)) {
    if (bar.Width() != 180) return;
    const int n = bar.ListBox2.Count();
    if (n > 0) {
      int i = bar.ListBox2.ItemIndex();
      i = up ? (i <= 0 ? n - 1 : i - 1) : (i < 0 || i >= n - 1 ? 0 : i + 1);
      bar.ListBox2.SetItemIndex(i);
    }
    scroll.SetCaption(words::web::WheelSeen);
    return;
  }
  // 11c. The task corner: the clip list from its first entry.
  if (Panel47.Caption() == words::web::TaskFar) {
    if (bar.ListBox2.Count() > 0) bar.ListBox2.SetItemIndex(0);
    bar.Panel4.SetLeft(0);
    bar.Panel4.SetTop(0);
    bar.CppWebBrowser1.SetLeft(-2000);
    app_.input.qirinputor->SetCaption(words::web::MoveClipOk);
  }
  // 11d. The start and task corners: the full bar, or the page list.
  if (mode == words::web::StartFar || mode == words::web::TaskFar) {
    if (!shown) {
      const Rect r = bar.ScreenRect();
      const bool already = bar.Width() == 400 && bar.Height() == 350 && r.contains(at);
      if (!already) {
        scroll.SetCaption(words::web::WheelTask);
        bar.CppWebBrowser1.SetLeft(0);
        bar.CppWebBrowser1.Show();
        std::string clip;
        p.getClipboardTextUpTo(kMaxAddress, clip);
        bar.Edit3.SetCaption(clip);
        Edit1.SetCaption(clip);
        bar.Panel12.Hide();
        bar.Panel4.Hide();
        const int w = p.screenWidth(), h = p.screenHeight();
        bar.SetWindowPos(ZOrder::TopMost, w / 2 - bar.Scale(200), h / 2 - bar.Scale(170), 400, 350,
                         swp::ShowWindow);
        bar.Edit3.SetCaption(wheel_.rememberedInput);
        const Rect b = bar.ScreenRect();
        if (mode == words::web::StartFar) {
          p.setCursorPos({b.left + bar.Scale(150), b.top + bar.Scale(10)});
        } else {
          const Rect q = p.getWindowRect(bar.Panel24.Handle());
          p.setCursorPos({q.right() + bar.Scale(19), q.top + q.height / 2});
        }
      }
      scroll.SetCaption(words::web::WheelPaged);
      return;
    }
    if (MenuShown() && OverMenu(under)) {
      const int n = ListBox1.Count();
      if (n > 0) {
        int i = ListBox1.ItemIndex();
        i = up ? (i <= 0 ? n - 1 : i - 1) : (i < 0 || i >= n - 1 ? 0 : i + 1);
        ListBox1.SetItemIndex(i);
        Activate(i);
      }
      Panel23.SetCaption("左键转到所选窗口；右键关闭所选窗口");
      scroll.SetCaption(words::web::WheelSeen);
    } else if (!MenuShown()) {
      ShowMenuAt(at);
      scroll.SetCaption(words::web::WheelPaged);
    } else {
      scroll.SetCaption(words::web::WheelSeen);
    }
    return;
  }
  // 11e. Any other window.
  scroll.SetCaption(words::web::WheelSeen);
  if (OverMenu(under)) return;
  if (p.getClassName(p.getTopWindow()) == kPopupMenuClass) {
    keys::Press(p, up ? vk::Up : vk::Down);
  } else if (Panel47.Caption() == words::web::DownFar) {
    keys::Press(p, up ? kPageUp : kPageDown);
    scroll.SetCaption(words::web::WheelPaged);
  } else if (p.isKeyDown(vk::LButton)) {
    p.mouseEvent(mouseflag::Move, 0, up ? -1 : 1, 0);
  } else {
    StartAutoscroll(up);
  }
}

void Teasyie::StartAutoscroll(bool up) {
  Platform& p = platform();
  Tqircom& bar = *app_.bar.qircom;
  const Point at = p.getCursorPos();
  const Wnd under = p.windowFromPoint(at);
  if (!under) return;
  const Rect r = p.getWindowRect(under);
  const std::string cls = p.getClassName(under);
  const bool word = cls == "_WwG", rich = cls == "RichEdit20A";
  const bool ie = cls == "Internet Explorer_Server";
  const bool flipped = bar.scrollid.Caption() == words::web::ScrollUp;
  auto press = [&](int off) {
    midmess.SetCaption(words::web::MiddleDown);
    p.mouseEvent(mouseflag::MiddleDown, 0, 0, 0);
    p.sleep(100);
    off = Clamp(off);
    if (flipped) off = -off;
    p.mouseEvent(mouseflag::Move, 0, off, 0);
  };
  if (word) {
    const int x = r.right() - 32;
    int off = r.height * 10 / 600;
    if (up) off = -off;
    p.setForegroundWindow(under);
    p.setCursorPos({x, at.y});
    p.sleep(20);
    wheel_.autoStart = {x, at.y};
    wheel_.autoscroll = true;
    press(off);
    return;
  }
  int off = r.height * 10 / 1050;
  if (up) off = -off;
  if (!ie && !rich) {
    wheel_.autoStart = at;
    wheel_.autoscroll = true;
    if (app_.bar.qirForm3->Button1.OnClick) RunHandler(app_, app_.bar.qirForm3->Button1.OnClick);
    return;
  }
  int x = ie ? r.right() - 8 : r.right() - 32;
  if (Shown()) {
    off = up ? -14 : 14;
    x = p.screenWidth() - 8;
  }
  p.setCursorPos({x, at.y});
  wheel_.autoStart = {x, at.y};
  wheel_.autoscroll = true;
  p.setForegroundWindow(under);
  p.sleep(20);
  press(off);
  if (rich) p.mouseEvent(mouseflag::Move, 0, (off < 0) != flipped ? -18 : 18, 0);
}

void Teasyie::PopupPurge() {
  page_.purgePending = false;
  ListBox11.Clear();
  const int w = sw_, h = PageControl1.Height();
  std::vector<bool> popup;
  for (int i = 0; i < PageCount(); ++i) {
    TabPage& pg = *tabs_.pages[static_cast<std::size_t>(i)];
    const bool same = pg.host->Width() == w && pg.host->Height() == h;
    popup.push_back(!same && pg.web);
    ListBox11.Add(same || !pg.web ? std::string()
                                  : std::to_string(i) + "//" + std::to_string(pg.host->Width()) +
                                        ".." + std::to_string(pg.host->Height()));
  }
  bool removed = false;
  for (int i = PageCount() - 1; i >= 0; --i) {
    if (!popup[static_cast<std::size_t>(i)]) continue;
    ClosePage(i);
    removed = true;
  }
  if (removed && PageCount() > 0) Activate(PageCount() - 1);
}

void Teasyie::EmptyTab() {
  TabPage* pg = ActivePage();
  if (!pg) return;
  const Rect pc = platform().getWindowRect(PageControl1.Handle());
  const Point at{pc.left + Scale(140), pc.top + Scale(140)};
  if (platform().windowFromPoint(at) != pg->sheet->Handle()) return;
  ClosePage(tabs_.active);
  if (PageCount() > 0) Activate(PageCount() - 1);
}

void Teasyie::MenuEscape() {
  Platform& p = platform();
  const Wnd sib = p.findWindow("TqirForm1");
  if (!sib) return;
  const Point at = p.getCursorPos();
  const Wnd under = p.windowFromPoint(at);
  if (under != sib && !p.isChild(sib, under)) return;
  const Rect r = p.getWindowRect(sib);
  const int x = at.x - r.left, y = at.y - r.top;
  const bool inBox = x >= 49 && x <= 61 && y >= 25 && y <= 37;
  if (!inBox && p.getClassName(p.getTopWindow()) == kPopupMenuClass) keys::Escape42(p);
}

void Teasyie::Timer3Timer() {
  Platform& p = platform();
  const bool up = app_.bar.qircom && app_.bar.qircom->scrollid.Caption() == words::web::ScrollUp;
  p.mouseEvent(mouseflag::Move, 0, up ? -1 : 1, 0);
  if (p.isKeyDown(vk::LButton)) return;
  wheel_.autoscroll = false;
  if (wheel_.autoStart.x > 2) p.setCursorPos(wheel_.autoStart);
  wheel_.autoStart = {0, 0};
  if (app_.bar.qirForm3) app_.bar.qirForm3->Panel6.SetCaption(words::web::MyDragEnded);
  if (p.isKeyDown(vk::MButton)) p.mouseEvent(mouseflag::MiddleUp, 0, 0, 0);
  if (app_.bar.qirForm3) app_.bar.qirForm3->Panel5.SetCaption(words::web::WheelEnded);
  if (app_.bar.mousepp) app_.bar.mousepp->Park();
  Timer3.SetTimerEnabled(false);
}

}  // namespace sq
