// The simulated task bar: tray icons and desktop toolbars.
#include "platform/sim/simtaskbar.h"

namespace sq {

bool SimTaskbar::trayAdd(const TrayIcon& icon) {
  for (const TrayIcon& t : tray_)
    if (t.owner == icon.owner && t.id == icon.id) return false;
  tray_.push_back(icon);
  trayLog_.push_back("add " + std::to_string(icon.id));
  return true;
}

bool SimTaskbar::trayModify(const TrayIcon& icon) {
  for (TrayIcon& t : tray_) {
    if (t.owner == icon.owner && t.id == icon.id) {
      t = icon;
      trayLog_.push_back("modify " + std::to_string(icon.id));
      return true;
    }
  }
  return false;
}

bool SimTaskbar::trayDelete(Wnd owner, unsigned id) {
  for (auto it = tray_.begin(); it != tray_.end(); ++it) {
    if (it->owner == owner && it->id == id) {
      tray_.erase(it);
      trayLog_.push_back("delete " + std::to_string(id));
      return true;
    }
  }
  return false;
}

bool SimTaskbar::appBarNew(Wnd w) {
  if (appBarsRefused_) return false;
  for (const SimAppBar& a : appBars_)
    if (a.wnd == w) return false;
  appBars_.push_back({w, -1, {}});
  return true;
}

bool SimTaskbar::appBarSetPos(Wnd w, int edge, const Rect& r) {
  for (SimAppBar& a : appBars_) {
    if (a.wnd == w) {
      a.edge = edge;
      a.rect = r;
      return true;
    }
  }
  return false;
}

bool SimTaskbar::appBarRemove(Wnd w) {
  for (auto it = appBars_.begin(); it != appBars_.end(); ++it) {
    if (it->wnd == w) {
      appBars_.erase(it);
      return true;
    }
  }
  return false;
}

Rect SimTaskbar::lessReserved(Rect w) const {
  if (!appBarsReserve_) return w;
  // Bands along the top edge (ABE_TOP = 1) that reach into the work area.
  for (const SimAppBar& a : appBars_) {
    if (a.edge != 1 || a.rect.width <= 0 || a.rect.height <= 0) continue;
    if (a.rect.right() <= w.left || a.rect.left >= w.right()) continue;
    const int bottom = a.rect.bottom();
    if (bottom > w.top && bottom < w.bottom()) {
      w.height = w.bottom() - bottom;
      w.top = bottom;
    }
  }
  return w;
}

}  // namespace sq
