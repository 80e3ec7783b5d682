// Whether the pointer still rests where it was last read. Every pointer
// event (a move, a button, the wheel; the user's, another program's
// synthesised ones and the program's own) passes the mouse hook, which
// counts them and notes when the last came. While the count stays the same
// and the last read came well after the last event (the system moves the
// pointer only once the hook has passed the event on), the pointer is
// where it was read, and asking the system again costs a round trip for
// nothing. A read is trusted for a bounded time only, for the moves that
// pass no hook (another program's SetCursorPos, a hook the system took
// away). The keys' state is kept the same way, against the keyboard
// hook's count (KeyWatch): under Wine each GetAsyncKeyState polls the
// display connection and flushes the window surfaces. Portable; the Win32
// backend uses both.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/platform.h"

namespace sq {

// One value read from the system, and whether it still holds.
template <class T>
class SettledRead {
 public:
  // A read this long after the last event has seen that event's effect.
  static constexpr std::uint32_t kSettleMs = 50;
  // No read is trusted for longer than this.
  static constexpr std::uint32_t kTrustMs = 250;

  // The value as last read, if it still holds at `now` (milliseconds of
  // the system's tick count) for the hook's event count `events` and the
  // tick of its last event `lastEvent`; nothing when it is to be read again.
  std::optional<T> Known(std::uint32_t events, std::uint32_t lastEvent,
                             std::uint32_t now) const {
    if (!valid_ || events != events_) return std::nullopt;
    if (static_cast<std::int32_t>(readAt_ - lastEvent) < static_cast<std::int32_t>(kSettleMs))
      return std::nullopt;
    if (now - readAt_ >= kTrustMs) return std::nullopt;
    return at_;
  }
  // The system said `p` at `now`; `events` is the hook's count as it was
  // before the read (a later event makes the next ask read again).
  void Read(T p, std::uint32_t events, std::uint32_t now) {
    at_ = p;
    events_ = events;
    readAt_ = now;
    valid_ = true;
  }
  // The program changed it itself.
  void Forget() { valid_ = false; }

 private:
  T at_{};
  std::uint32_t events_ = 0;
  std::uint32_t readAt_ = 0;
  bool valid_ = false;
};

using PointerWatch = SettledRead<Point>;

// Whether each key is down, as last read, against the keyboard hook's count
// of key events; the mouse buttons against the mouse hook's.
class KeyWatch {
 public:
  // The left, right and middle buttons and the two side buttons.
  static bool IsButton(int vk) { return vk == 1 || vk == 2 || vk == 4 || vk == 5 || vk == 6; }
  std::optional<bool> Known(int vk, std::uint32_t events, std::uint32_t lastEvent,
                            std::uint32_t now) const {
    if (vk < 0 || vk > 255) return std::nullopt;
    return keys_[static_cast<std::size_t>(vk)].Known(events, lastEvent, now);
  }
  void Read(int vk, bool down, std::uint32_t events, std::uint32_t now) {
    if (vk >= 0 && vk <= 255) keys_[static_cast<std::size_t>(vk)].Read(down, events, now);
  }
  // The program pressed or released keys or buttons itself.
  void Forget() {
    for (auto& k : keys_) k.Forget();
  }

 private:
  std::array<SettledRead<bool>, 256> keys_{};
};

}  // namespace sq
