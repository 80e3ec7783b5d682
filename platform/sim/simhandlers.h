// The handlers the program set on its windows (clicks, close requests,
// control events, tray messages) and those a test set on foreign windows
// for posted messages. Each getter answers a copy, empty when none is
// set: a handler may replace or remove itself while it runs.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "platform/platform.h"

namespace sq {

class SimHandlers {
 public:
  using Message = std::function<void(std::uintptr_t, std::intptr_t)>;
  using Tray = std::function<void(TrayEvent)>;

  // An empty function removes the window's handler.
  void setClick(Wnd w, std::function<void()> fn) { put(clicks_, w, std::move(fn)); }
  void setClose(Wnd w, std::function<void()> fn) { put(closes_, w, std::move(fn)); }
  void setEvent(Wnd w, UiEventHandler fn) { put(events_, w, std::move(fn)); }
  void setTray(Wnd owner, Tray fn) { put(trays_, owner, std::move(fn)); }
  void setMessage(Wnd w, unsigned msg, Message fn) { put(messages_, {w, msg}, std::move(fn)); }

  std::function<void()> click(Wnd w) const { return get(clicks_, w); }
  std::function<void()> close(Wnd w) const { return get(closes_, w); }
  UiEventHandler event(Wnd w) const { return get(events_, w); }
  Tray tray(Wnd owner) const { return get(trays_, owner); }
  Message message(Wnd w, unsigned msg) const { return get(messages_, {w, msg}); }

  bool hasClick(Wnd w) const { return clicks_.count(w) != 0; }
  bool hasClose(Wnd w) const { return closes_.count(w) != 0; }
  bool hasEvent(Wnd w) const { return events_.count(w) != 0; }
  bool hasTray(Wnd owner) const { return trays_.count(owner) != 0; }

  // A destroyed window's handlers go with it.
  void forget(Wnd w);

 private:
  template <class K, class F>
  static void put(std::map<K, F>& m, const K& k, F fn) {
    if (fn)
      m[k] = std::move(fn);
    else
      m.erase(k);
  }
  template <class K, class F>
  static F get(const std::map<K, F>& m, const K& k) {
    auto it = m.find(k);
    return it == m.end() ? F{} : it->second;
  }

  std::map<Wnd, std::function<void()>> clicks_, closes_;
  std::map<Wnd, UiEventHandler> events_;
  std::map<Wnd, Tray> trays_;
  std::map<std::pair<Wnd, unsigned>, Message> messages_;
};

}  // namespace sq
