// The simulated keyboard and mouse buttons as the system's key state sees
// them (GetAsyncKeyState: the neutral Shift, Ctrl and Alt follow either
// hand's key; buttons are keys 1, 2 and 4), and the keyboard's own
// auto-repeat of the key pressed last, on the clock.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/sim/simclock.h"

namespace sq {

class SimKeyboard {
 public:
  // Windows' defaults: 500 ms, about 30 a second.
  static constexpr unsigned kTypematicDelayMs = 500, kTypematicPeriodMs = 33;
  static constexpr int kShift = 16, kCtrl = 17, kAlt = 18;

  explicit SimKeyboard(const SimClock& clock) : clock_(clock) {}

  // The code a low-level hook reports for a key: the neutral modifiers
  // come out as their left-hand keys.
  static int HookCode(int vk);

  void set(int vk, bool down);
  bool down(int vk) const { return vk > 0 && vk < 256 && keys_[vk]; }
  bool anyButton() const { return keys_[1] || keys_[2] || keys_[4]; }
  ShiftState shiftState() const;

  // The hand presses a key: it repeats after the delay while held. The
  // hand releases one: the repeat stops if it was that key.
  void pressed(int vk);
  void released(int vk);
  void setTypematic(unsigned delayMs, unsigned periodMs) {
    delay_ = delayMs;
    period_ = periodMs;
  }
  std::uint64_t repeatDue() const;  // UINT64_MAX when no key repeats
  // The repeat's turn when due: the key to go down again (0: none).
  int repeatTurn();

 private:
  const SimClock& clock_;
  bool keys_[256] = {};
  int repeatVk_ = 0;
  std::uint64_t repeatDue_ = 0;
  unsigned delay_ = kTypematicDelayMs, period_ = kTypematicPeriodMs;
};

}  // namespace sq
