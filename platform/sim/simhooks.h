// The hook library on the simulated desktop: the module as the system
// loads and unloads it (SimModules), and the low-level hooks it sets with
// its own thread's work (SimHooks): the watch that sets the hooks again
// when the system has taken them away, and the work the library leaves
// for its thread's next turn.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "input/hookwatch.h"
#include "platform/platform.h"
#include "platform/sim/simclock.h"

namespace sq {

class SimModules {
 public:
  enum class HookLibrary { Present, Missing, MissingSetHookmo, MissingSetHookkb };
  void setHookLibrary(HookLibrary h) { lib_ = h; }

  Module load(const std::string& name);  // 0 on failure
  // Unloads the module. When the hooks' thread the library started still
  // runs (`hooksSet`), its code is gone from under it.
  void free(Module m, bool hooksSet);
  // Whether m is the loaded hook library and has this entry point.
  bool hasExport(Module m, const std::string& name) const;
  // A hook callback runs: it crashes the process (std::runtime_error) when
  // its library was unloaded, as it does on Windows.
  void checkHookCode() const;

  const std::vector<std::string>& loads() const { return loads_; }
  const std::vector<Module>& frees() const { return frees_; }

 private:
  HookLibrary lib_ = HookLibrary::Present;
  std::vector<std::string> loads_;
  std::vector<Module> frees_;
  std::set<Module> loaded_;
  bool codeGone_ = false;  // the hook thread's library was unloaded under it
};

class SimHooks {
 public:
  explicit SimHooks(const SimClock& clock) : clock_(clock) {}

  // The library sets its mouse or keyboard hook, its words for `w`.
  void setMouse(Wnd w);
  void setKeyboard(Wnd w);
  // The system takes both away without telling anyone.
  void removeAll() { mouse_ = keyboard_ = false; }
  bool mouse() const { return mouse_; }
  bool keyboard() const { return keyboard_; }
  Wnd window() const { return window_; }
  void windowGone(Wnd w) {
    if (window_ == w) window_ = 0;
  }
  // A hook callback runs; input reaches the system (hooked or not).
  void called() { watch_.Called(clock_.tickCount()); }
  void inputSeen() { lastInput_ = clock_.tickCount(); }
  int reinstalls() const { return reinstalls_; }

  // Work for the library's thread, on its next turn (a millisecond on).
  void post(std::function<void()> work);
  // When the thread next has something to do (UINT64_MAX when nothing).
  std::uint64_t nextDue() const;
  // The thread's turn: its due work in order, then its watch when due.
  void runDue();

 private:
  struct Work {
    std::uint64_t due = 0;
    std::function<void()> work;
  };
  void started();

  const SimClock& clock_;
  std::deque<Work> thread_;
  HookWatch watch_;
  std::uint64_t watchDue_ = 0;
  std::uint32_t lastInput_ = 0;
  bool mouse_ = false, keyboard_ = false;
  bool libMouse_ = false, libKeyboard_ = false;  // what the library set
  Wnd window_ = 0;
  int reinstalls_ = 0;
};

}  // namespace sq
