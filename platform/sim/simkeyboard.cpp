// The simulated keyboard's key state and auto-repeat.
#include "platform/sim/simkeyboard.h"

#include <algorithm>

#include "input/hookwords.h"

namespace sq {

int SimKeyboard::HookCode(int vk) {
  switch (vk) {
    case kShift: return 160;
    case kCtrl: return 162;
    case kAlt: return 164;
    default: return vk;
  }
}

void SimKeyboard::set(int vk, bool down) {
  if (vk <= 0 || vk > 255) return;
  if (vk == kShift || vk == kCtrl || vk == kAlt) {
    int left = HookCode(vk);
    if (down) {
      keys_[left] = true;
    } else {
      keys_[left] = keys_[left + 1] = false;
    }
  } else {
    keys_[vk] = down;
  }
  for (int n = kShift; n <= kAlt; ++n) {
    int left = HookCode(n);
    keys_[n] = keys_[left] || keys_[left + 1];
  }
}

ShiftState SimKeyboard::shiftState() const {
  ShiftState s;
  s.shift = keys_[kShift];
  s.ctrl = keys_[kCtrl];
  s.alt = keys_[kAlt];
  s.left = keys_[1];
  s.right = keys_[2];
  s.middle = keys_[4];
  return s;
}

void SimKeyboard::pressed(int vk) {
  // The key pressed last is the one that repeats.
  repeatVk_ = vk;
  repeatDue_ = clock_.now() + delay_;
}

void SimKeyboard::released(int vk) {
  if (repeatVk_ && HookWords::Normalise(repeatVk_) == HookWords::Normalise(vk)) repeatVk_ = 0;
}

std::uint64_t SimKeyboard::repeatDue() const { return repeatVk_ ? repeatDue_ : UINT64_MAX; }

int SimKeyboard::repeatTurn() {
  if (!repeatVk_ || repeatDue_ > clock_.now()) return 0;
  // The keyboard repeats what the hand holds, whatever the program
  // synthesised meanwhile (its own release of the key included).
  repeatDue_ = clock_.now() + std::max(period_, 1u);
  return repeatVk_;
}

}  // namespace sq
