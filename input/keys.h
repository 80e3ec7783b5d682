// Virtual-key codes and the synthesised key and mouse sequences the
// gestures send. Pressing K is K down then K up (key-up flag 2); Ctrl+K is
// Ctrl down, K down, K up, Ctrl up; a click is a down and an up mouse event
// at the current pointer position, with a 100 ms pause when slow.
#pragma once

#include "platform/platform.h"

namespace sq {

namespace vk {
constexpr int LButton = 1, RButton = 2, MButton = 4, Back = 8, Tab = 9,
              Return = 13, Shift = 16, Control = 17, Menu = 18, Capital = 20,
              Escape = 27, Space = 32, End = 35, Home = 36, Left = 37, Up = 38,
              Right = 39, Down = 40, Delete = 46, LWin = 91, Apps = 93,
              Semicolon = 186;
}  // namespace vk

namespace keys {

inline void Down(role::Input& p, int key, int scan = 0) { p.keybdEvent(key, scan, 0); }
inline void Up(role::Input& p, int key, int scan = 0) { p.keybdEvent(key, scan, keyflag::KeyUp); }
inline void Press(role::Input& p, int key, int scan = 0) {
  Down(p, key, scan);
  Up(p, key, scan);
}
// Ctrl+K (or any modifier + K).
inline void Combo(role::Input& p, int modifier, int key) {
  Down(p, modifier);
  Down(p, key);
  Up(p, key);
  Up(p, modifier);
}
// The input core's Escape: virtual key 27 with scan code 42.
inline void Escape42(role::Input& p) { Press(p, vk::Escape, 42); }
// A plain Escape (scan code 0).
inline void Escape(role::Input& p) { Press(p, vk::Escape, 0); }

inline void LeftClick(Platform& p, bool slow = false) {
  p.mouseEvent(mouseflag::LeftDown, 0, 0, 0);
  if (slow) p.sleep(100);
  p.mouseEvent(mouseflag::LeftUp, 0, 0, 0);
}
inline void RightClick(Platform& p, bool slow = false) {
  p.mouseEvent(mouseflag::RightDown, 0, 0, 0);
  if (slow) p.sleep(100);
  p.mouseEvent(mouseflag::RightUp, 0, 0, 0);
}

}  // namespace keys
}  // namespace sq
