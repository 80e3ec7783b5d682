// GoogleTest helpers for the simulated desktop's record. Header-only, so the
// simulator itself does not depend on GoogleTest.
//
//   auto m = sim.mark();
//   ... run the program ...
//   EXPECT_TRUE(sq::SameEvents({"key 17 down", "key 86 down", "key 86 up",
//                               "key 17 up"},
//                              sim.eventsSince(m, sq::simfilter::keys())));
//
// On a mismatch the message shows both sequences side by side.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/simdesktop.h"

namespace sq {

inline ::testing::AssertionResult SameEvents(const std::vector<std::string>& expected,
                                             const std::vector<std::string>& actual) {
  std::string diff = CompareSequences(expected, actual);
  if (diff.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "event sequences differ:\n" << diff;
}

}  // namespace sq
