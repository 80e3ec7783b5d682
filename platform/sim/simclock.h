// The simulated desktop's virtual clock and the program's timers on it.
// Nothing runs by itself: the desktop moves the clock and fires the timers
// this part says are due, in due-time order (the one set first among those
// due at the same time).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/platform.h"

namespace sq {

class SimClock {
 public:
  std::uint64_t now() const { return now_; }
  std::uint32_t tickCount() const { return static_cast<std::uint32_t>(now_); }
  // Moves the clock to `t`; never back.
  void reach(std::uint64_t t) {
    if (now_ < t) now_ = t;
  }
  void jump(std::uint64_t ms) { now_ += ms; }

  // Sets or resets the timer of owner and id (10 ms at the shortest, as
  // the system has it); its first turn is a period from now.
  void setTimer(Wnd owner, unsigned id, unsigned ms, TimerProc proc);
  void killTimer(Wnd owner, unsigned id);
  void killTimersOf(Wnd owner);  // a destroyed window's
  unsigned interval(Wnd owner, unsigned id) const;  // 0 when none
  std::size_t timerCount() const { return timers_.size(); }

  // Due time of the timer whose turn comes next, if at or before `limit`.
  std::optional<std::uint64_t> nextDue(std::uint64_t limit) const;
  // That timer's turn: the clock moves to its due time and its next due
  // time is set on its own grid, strictly after now (a timer held up fires
  // once, not once for every missed period). Answers its procedure, a copy
  // (it may replace or kill its timer while it runs); empty when none is due.
  TimerProc fire(std::uint64_t limit);

 private:
  struct Timer {
    Wnd owner = 0;
    unsigned id = 0, period = 0;
    std::uint64_t due = 0;
    std::uint64_t seq = 0;
    TimerProc proc;
  };
  std::size_t next(std::uint64_t limit) const;  // timers_.size() when none

  std::uint64_t now_ = 1000000;
  std::vector<Timer> timers_;
  std::uint64_t seq_ = 0;
};

}  // namespace sq
