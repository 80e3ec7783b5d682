// Word composition of the hook library: turns one low-level key or mouse
// event into the caption words the program reads (see docs/hook-words.md).
//
// Portable and free of system types: the real hook library (hook/) and the
// simulated desktop (platform/sim/) feed it the same events and so produce
// the same words. It keeps only the set of physically held keys; it never
// reads a window, so the hook thread never waits on the GUI thread. A word
// that depends on a caption carries the caption it needs in `onlyIf`, and
// the GUI thread applies it only when the caption still reads so.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"  // Mailbox

namespace sq {

struct Word {
  Mailbox box;
  std::string text;
  std::string onlyIf;  // apply only when the caption equals this ("" = always)
  bool operator==(const Word&) const = default;
};

struct KeyInput {
  int vk = 0;             // virtual key as the hook reports it (162 = left Ctrl)
  bool up = false;
  bool injected = false;  // LLKHF_INJECTED
  std::uintptr_t extra = 0;  // dwExtraInfo
};

enum class MouseAction { Move, LeftDown, LeftUp, RightDown, RightUp, MiddleDown, MiddleUp, Wheel };

struct MouseInput {
  MouseAction action = MouseAction::Move;
  int x = 0, y = 0;
  int wheelDelta = 0;      // +120 = one notch up (away from the user)
  bool injected = false;   // LLMHF_INJECTED
  std::uintptr_t extra = 0;
};

class HookWords {
 public:
  // Left/right variants to the neutral code: 160/161 -> 16, 162/163 -> 17,
  // 164/165 -> 18, 92 -> 91.
  static int Normalise(int vk);
  // Whether an event is the system's own synthesised input.
  static bool IsOwn(bool injected, std::uintptr_t extra);

  std::vector<Word> Key(const KeyInput& e);
  std::vector<Word> Mouse(const MouseInput& e);

  // A word that only says that a key no reader looks at went down or up
  // ("key--65", "old--65"): a later word for the same caption supersedes
  // it, so a burst of typing does not hold up the words that mean
  // something behind it.
  static bool Passing(const Word& w);

  bool held(int vk) const { return vk >= 0 && vk < 256 && held_[static_cast<size_t>(vk)]; }

 private:
  std::bitset<256> held_;
};

}  // namespace sq
