// The simulated desktop's clock and timers.
#include "platform/sim/simclock.h"

#include <algorithm>
#include <utility>

namespace sq {

void SimClock::setTimer(Wnd owner, unsigned id, unsigned ms, TimerProc proc) {
  unsigned period = std::max(ms, 10u);  // the system's shortest interval
  for (Timer& t : timers_) {
    if (t.owner == owner && t.id == id) {
      t.period = period;
      t.due = now_ + period;
      t.seq = ++seq_;
      t.proc = std::move(proc);
      return;
    }
  }
  timers_.push_back({owner, id, period, now_ + period, ++seq_, std::move(proc)});
}

void SimClock::killTimer(Wnd owner, unsigned id) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [&](const Timer& t) { return t.owner == owner && t.id == id; }),
                timers_.end());
}

void SimClock::killTimersOf(Wnd owner) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [owner](const Timer& t) { return t.owner == owner; }),
                timers_.end());
}

unsigned SimClock::interval(Wnd owner, unsigned id) const {
  for (const Timer& t : timers_)
    if (t.owner == owner && t.id == id) return t.period;
  return 0;
}

std::size_t SimClock::next(std::uint64_t limit) const {
  std::size_t best = timers_.size();
  for (std::size_t i = 0; i < timers_.size(); ++i) {
    const Timer& t = timers_[i];
    if (t.due > limit) continue;
    if (best == timers_.size() || t.due < timers_[best].due ||
        (t.due == timers_[best].due && t.seq < timers_[best].seq))
      best = i;
  }
  return best;
}

std::optional<std::uint64_t> SimClock::nextDue(std::uint64_t limit) const {
  const std::size_t i = next(limit);
  if (i == timers_.size()) return std::nullopt;
  return timers_[i].due;
}

TimerProc SimClock::fire(std::uint64_t limit) {
  const std::size_t i = next(limit);
  if (i == timers_.size()) return {};
  Timer& t = timers_[i];
  reach(t.due);
  std::uint64_t due = t.due + t.period;
  if (due <= now_) due += ((now_ - due) / t.period + 1) * t.period;
  t.due = due;
  return t.proc;
}

}  // namespace sq
