#include "input/hookwatch.h"

namespace sq {

bool HookWatch::Lost(std::uint32_t now, std::uint32_t lastInput) {
  // Differences of tick counts, so the clock may wrap.
  const auto after = static_cast<std::int32_t>(lastInput - last_);
  if (after <= 0) return false;  // a callback came with or after the last input
  if (static_cast<std::int32_t>(now - lastInput) < static_cast<std::int32_t>(kGraceMs)) return false;
  last_ = now;
  return true;
}

}  // namespace sq
