// Whether the system took the hooks away. Windows removes a low-level hook
// whose callback overran LowLevelHooksTimeout (a page-out, a busy machine)
// and tells nobody: input goes on reaching the windows and the hook hears
// none of it. The hook thread notes the time of each of its callbacks and,
// on a timer of its own, compares it with the time of the last input the
// system had (GetLastInputInfo): input that no callback followed within a
// grace means the hooks are gone, and the thread sets them again.
//
// Portable and free of system types: the hook library and the simulated
// desktop run the same decision. The hook thread alone uses it.
#pragma once

#include <cstdint>

namespace sq {

class HookWatch {
 public:
  static constexpr std::uint32_t kCheckMs = 250;  // the hook thread's timer
  static constexpr std::uint32_t kGraceMs = 200;  // a callback follows its input within this

  // The hooks were set, or a callback ran.
  void Called(std::uint32_t now) { last_ = now; }
  // On the timer: true when input came after the last callback and no
  // callback followed within the grace; the hooks are to be set again
  // (counted as a callback, so the same input does not ask twice).
  bool Lost(std::uint32_t now, std::uint32_t lastInput);

 private:
  std::uint32_t last_ = 0;
};

}  // namespace sq
