// The simulated desktop's record: one ordered list of everything the
// program synthesises (keys, mouse events, cursor moves) and of every
// caption change, with its time, as the tests read it back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace sq {

// One entry of the record.
struct SimEvent {
  enum Type { Key, Mouse, Caption, CursorPos };
  std::uint32_t time = 0;
  Type type = Key;
  int vk = 0, scan = 0;   // Key
  unsigned flags = 0;     // Key: keyflag::, Mouse: mouseflag::
  int dx = 0, dy = 0;     // Mouse move; CursorPos: x, y
  int data = 0;           // Mouse: wheel delta
  Wnd wnd = 0;            // Caption: the window
  std::string text;       // Caption: the new text
  std::string className;  // Caption: the window's class

  // Short form for table-driven tests: "key 17 down", "key 27/42 up",
  // "mouse leftdown", "mouse leftdown+leftup", "mouse move 5,-3",
  // "mouse absmove 100,200", "wheel 120", "wheel -120",
  // "caption Tqircom=17down", "cursor 100,200".
  std::string str() const;
};

using EventFilter = std::function<bool(const SimEvent&)>;

// Ready-made filters for eventsSince().
namespace simfilter {
EventFilter keys();                 // key events only
EventFilter mouse();                // mouse events only
EventFilter input();                // keys, mouse and cursor moves
EventFilter captions();             // caption changes only
EventFilter captionsOf(const std::string& className);  // of one class
EventFilter inputAndCaptionsOf(const std::string& className);
}  // namespace simfilter

// Side-by-side comparison of two event sequences: "" when equal, otherwise
// a table "expected | actual" with the first difference marked.
std::string CompareSequences(const std::vector<std::string>& expected,
                             const std::vector<std::string>& actual);

class SimRecord {
 public:
  void key(std::uint32_t time, int vk, int scan, unsigned flags);
  void mouse(std::uint32_t time, unsigned flags, int dx, int dy, int data);
  void cursor(std::uint32_t time, Point p);
  void caption(std::uint32_t time, Wnd w, const std::string& text, const std::string& className);

  const std::vector<SimEvent>& events() const { return log_; }
  std::size_t mark() const { return log_.size(); }
  std::vector<std::string> since(std::size_t mark, const EventFilter& filter) const;
  // Each prefixed with its time relative to `t0`: "+40 key 17 down".
  std::vector<std::string> timedSince(std::size_t mark, std::uint32_t t0,
                                      const EventFilter& filter) const;
  void clear() { log_.clear(); }

 private:
  SimEvent& add(std::uint32_t time, SimEvent::Type type);

  std::vector<SimEvent> log_;
};

}  // namespace sq
