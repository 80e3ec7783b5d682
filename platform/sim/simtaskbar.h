// The simulated task bar: its own band on the screen, the icons of its
// notification area and the desktop toolbars (application bars) the shell
// places beside it.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace sq {

struct SimAppBar {
  Wnd wnd = 0;
  int edge = -1;
  Rect rect;
};

class SimTaskbar {
 public:
  // ---- notification area ----
  bool trayAdd(const TrayIcon& icon);      // false when owner and id are taken
  bool trayModify(const TrayIcon& icon);   // false when there is no such icon
  bool trayDelete(Wnd owner, unsigned id);
  const std::vector<TrayIcon>& trayIcons() const { return tray_; }
  const std::vector<std::string>& trayLog() const { return trayLog_; }  // "add 1", ...

  // ---- desktop toolbars ----
  bool appBarNew(Wnd w);
  bool appBarSetPos(Wnd w, int edge, const Rect& r);
  bool appBarRemove(Wnd w);
  const std::vector<SimAppBar>& appBars() const { return appBars_; }
  void setAppBarsRefused(bool on) { appBarsRefused_ = on; }
  void setReservesAppBars(bool on) { appBarsReserve_ = on; }
  // A monitor's work area less the bands the bars along its top edge
  // reserve (none when the shell does not reserve them).
  Rect lessReserved(Rect work) const;

  // ---- the bar itself ----
  Rect rect() const { return rect_; }
  void setRect(const Rect& r) { rect_ = r; }

 private:
  std::vector<TrayIcon> tray_;
  std::vector<std::string> trayLog_;
  std::vector<SimAppBar> appBars_;
  bool appBarsRefused_ = false, appBarsReserve_ = true;
  Rect rect_;
};

}  // namespace sq
