// Popup menus on the simulated desktop: each one shown is recorded, and
// the user's choices are queued by the tests beforehand.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace sq {

struct SimPopupMenu {
  Wnd owner = 0;
  std::vector<std::string> captions;
  Point at;
  int chosen = -1;
};

class SimMenus {
 public:
  using MenuEntry = role::Events::MenuEntry;

  // Records the menu and answers with the next queued choice (an enabled
  // entry that is no separator), else -1.
  int track(Wnd owner, const std::vector<MenuEntry>& entries, Point at);
  const std::vector<SimPopupMenu>& shown() const { return menus_; }
  // The next menu chooses this entry (index, or the first entry with this
  // caption); -1 dismisses it.
  void queueChoice(int index) { choices_.push_back({index, {}}); }
  void queueChoice(const std::string& caption) { choices_.push_back({-1, caption}); }

 private:
  std::vector<SimPopupMenu> menus_;
  std::vector<std::pair<int, std::string>> choices_;
};

}  // namespace sq
