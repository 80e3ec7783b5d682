// Popup menus on the simulated desktop.
#include "platform/sim/simmenus.h"

namespace sq {

int SimMenus::track(Wnd owner, const std::vector<MenuEntry>& entries, Point at) {
  SimPopupMenu m;
  m.owner = owner;
  m.at = at;
  for (const MenuEntry& e : entries) m.captions.push_back(e.caption);
  if (!choices_.empty()) {
    auto [index, caption] = choices_.front();
    choices_.erase(choices_.begin());
    if (!caption.empty()) {
      for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].caption == caption) {
          index = static_cast<int>(i);
          break;
        }
    }
    if (index >= 0 && index < static_cast<int>(entries.size()) &&
        entries[static_cast<size_t>(index)].enabled && !entries[static_cast<size_t>(index)].separator)
      m.chosen = index;
  }
  menus_.push_back(m);
  return m.chosen;
}

}  // namespace sq
