// When the pointer read from the system a moment ago may be used again: a
// hand that moves and stops, a read that raced the last move, a hook that
// went quiet, the program's own move and the tick count's wrap.
#include <gtest/gtest.h>

#include "platform/pointerwatch.h"

namespace sq {
namespace {

// The hook's side: a count of events and the tick of the last.
struct Hook {
  std::uint32_t events = 0, last = 0;
  void Event(std::uint32_t at) {
    ++events;
    last = at;
  }
};

// What a poller every 20 ms gets, reading the system only when it must:
// the number of reads it made, and that each answer was the pointer's
// real place at the time of the ask.
struct Poller {
  PointerWatch watch;
  int reads = 0;
  Point Ask(const Hook& h, std::uint32_t now, Point real) {
    if (auto p = watch.Known(h.events, h.last, now)) return *p;
    ++reads;
    watch.Read(real, h.events, now);
    return real;
  }
};

TEST(PointerWatch, ARestingPointerIsReadAFewTimesASecond) {
  Hook hook;
  Poller poll;
  hook.Event(1000);  // the hand's last move
  const Point rest{700, 500};
  for (std::uint32_t t = 1000; t < 3000; t += 20) EXPECT_EQ(poll.Ask(hook, t, rest), rest);
  // Two seconds: the reads until the move settled, then one per trust span.
  EXPECT_LE(poll.reads, 3 + 2000 / static_cast<int>(PointerWatch::kTrustMs) + 1);
  EXPECT_GE(poll.reads, 2000 / static_cast<int>(PointerWatch::kTrustMs));
}

TEST(PointerWatch, EveryMoveOfTheHandIsSeenAtTheNextAsk) {
  Hook hook;
  Poller poll;
  Point real{100, 100};
  std::uint32_t t = 5000;
  EXPECT_EQ(poll.Ask(hook, t, real), real);
  // At rest long enough to be trusted.
  t += 100;
  EXPECT_EQ(poll.Ask(hook, t, real), real);
  // The hand moves in steps, some between two asks, some a moment before
  // an ask; the answer is always where the pointer is.
  for (int i = 0; i < 50; ++i) {
    t += 7;
    real = {real.x + 3, real.y + 1};
    hook.Event(t);
    t += (i % 3) * 20;
    EXPECT_EQ(poll.Ask(hook, t, real), real) << "step " << i;
  }
}

TEST(PointerWatch, AReadThatRacedTheLastMoveIsNotTrusted) {
  // The hook counts an event before the system moves the pointer: a read
  // in between sees the old place under the new count. It must be read
  // again until a read comes well after the last event.
  Hook hook;
  PointerWatch watch;
  hook.Event(2000);
  watch.Read({1, 1}, hook.events, 2001);  // raced: still the old place
  EXPECT_FALSE(watch.Known(hook.events, hook.last, 2021));
  watch.Read({9, 9}, hook.events, 2021);
  EXPECT_FALSE(watch.Known(hook.events, hook.last, 2041));
  watch.Read({9, 9}, hook.events, 2000 + PointerWatch::kSettleMs);
  auto known = watch.Known(hook.events, hook.last, 2000 + PointerWatch::kSettleMs + 20);
  ASSERT_TRUE(known);
  EXPECT_EQ(*known, (Point{9, 9}));
}

TEST(PointerWatch, MovesNoHookSawAreSeenWithinTheTrustSpan) {
  // Another program's SetCursorPos passes no hook; a hook the system took
  // away counts nothing. The pointer is read again within the span.
  Hook hook;
  Poller poll;
  std::uint32_t t = 10000;
  Point real{50, 50};
  poll.Ask(hook, t, real);
  real = {400, 300};  // moved behind the hook's back
  std::uint32_t seenAt = 0;
  for (int i = 1; i <= 40 && !seenAt; ++i)
    if (poll.Ask(hook, t + 20u * static_cast<std::uint32_t>(i), real) == real) seenAt = 20u * static_cast<std::uint32_t>(i);
  ASSERT_NE(seenAt, 0u);
  EXPECT_LE(seenAt, PointerWatch::kTrustMs + 20);
}

TEST(PointerWatch, TheProgramsOwnMoveIsReadAgain) {
  Hook hook;
  PointerWatch watch;
  watch.Read({10, 10}, hook.events, 100);
  ASSERT_TRUE(watch.Known(hook.events, hook.last, 120));
  watch.Forget();
  EXPECT_FALSE(watch.Known(hook.events, hook.last, 121));
}

TEST(PointerWatch, HoldsAcrossTheTickCountsWrap) {
  Hook hook;
  PointerWatch watch;
  const std::uint32_t nearEnd = 0xFFFFFFFFu - 30;
  hook.Event(nearEnd - 100);
  watch.Read({3, 4}, hook.events, nearEnd);
  // 60 ms later the count has wrapped; the read is still young.
  auto known = watch.Known(hook.events, hook.last, nearEnd + 60);
  ASSERT_TRUE(known);
  EXPECT_EQ(*known, (Point{3, 4}));
  // And it ages out as usual.
  EXPECT_FALSE(watch.Known(hook.events, hook.last, nearEnd + PointerWatch::kTrustMs));
  // An event just before the read, across the wrap, is still too close.
  hook.Event(nearEnd + 40);
  watch.Read({5, 6}, hook.events, nearEnd + 45);
  EXPECT_FALSE(watch.Known(hook.events, hook.last, nearEnd + 65));
}

// The keys: a user holds Shift for a while, taps a letter, lets Shift go.
// A poller every 20 ms asks for Shift and the letter; each answer must be
// the key's real state, and a key at rest is read a few times a second.
TEST(KeyWatch, HeldAndReleasedKeysAreSeenAtTheNextAskAfterTheirEvent) {
  Hook keysHook;
  KeyWatch watch;
  int reads = 0;
  bool shift = false, letter = false;
  auto ask = [&](int vk, std::uint32_t now) {
    if (auto k = watch.Known(vk, keysHook.events, keysHook.last, now)) return *k;
    ++reads;
    const bool real = vk == 0x10 ? shift : letter;
    watch.Read(vk, real, keysHook.events, now);
    return real;
  };
  std::uint32_t t = 1000;
  auto run = [&](std::uint32_t until) {
    for (; t < until; t += 20) {
      EXPECT_EQ(ask(0x10, t), shift) << "Shift at " << t;
      EXPECT_EQ(ask('X', t), letter) << "X at " << t;
    }
  };
  run(2000);  // a second at rest
  EXPECT_LE(reads, 2 * (1000 / static_cast<int>(PointerWatch::kTrustMs) + 1));
  shift = true;
  keysHook.Event(t);  // the system takes the press once the hook passed it
  run(t + 400);       // held 400 ms, no repeat
  letter = true;
  keysHook.Event(t);
  run(t + 60);
  letter = false;
  keysHook.Event(t);
  run(t + 40);
  shift = false;  // Shift let go 40 ms after the letter
  keysHook.Event(t);
  run(t + 500);
}

TEST(KeyWatch, TheProgramsOwnKeysAreReadAgainAndOddKeysAreNeverKept) {
  Hook keysHook;
  KeyWatch watch;
  watch.Read(0x11, false, keysHook.events, 100);
  ASSERT_TRUE(watch.Known(0x11, keysHook.events, keysHook.last, 120));
  watch.Forget();  // the program pressed Ctrl itself
  EXPECT_FALSE(watch.Known(0x11, keysHook.events, keysHook.last, 121));
  watch.Read(300, true, keysHook.events, 100);
  EXPECT_FALSE(watch.Known(300, keysHook.events, keysHook.last, 120));
  EXPECT_FALSE(watch.Known(-1, keysHook.events, keysHook.last, 120));
  EXPECT_TRUE(KeyWatch::IsButton(1) && KeyWatch::IsButton(4) && !KeyWatch::IsButton(0x10));
}

}  // namespace
}  // namespace sq
