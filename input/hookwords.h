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
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"  // Mailbox

namespace sq {

struct Word {
  Mailbox box;
  std::string text;
  std::string onlyIf;  // apply only when the caption equals this ("" = always)
  // The key whose press, repeat or release the word reports (0: none). The
  // delivery lets the repeats of a held key wait one at a time at most and
  // drops those still waiting once the key is let go (worddelivery.h).
  enum class Edge : std::uint8_t { None, Press, Repeat, Release };
  int key = 0;
  Edge edge = Edge::None;
  // Two words are the same word when they say the same thing.
  bool operator==(const Word& o) const {
    return box == o.box && text == o.text && onlyIf == o.onlyIf;
  }
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

  // Whether the system holds a key down right now (GetAsyncKeyState on
  // Windows, the simulated key state in the simulator); callable from the
  // hook thread without waiting on anyone. A key-up the hook never sees (the
  // secure desktop of Ctrl+Alt+Del or Win+L, a UAC prompt, a while without
  // hooks) would leave a modifier held here for good: so before a held
  // modifier changes what a key means, it is checked against the system,
  // and forgotten when the system has it up. Without it the set is trusted.
  using SystemKeys = std::function<bool(int vk)>;
  void SetSystemKeys(SystemKeys keys) { systemKeys_ = std::move(keys); }

 private:
  // A modifier held as far as both this set and the system know.
  bool Modifier(int vk);

  std::bitset<256> held_;
  SystemKeys systemKeys_;
};

}  // namespace sq
