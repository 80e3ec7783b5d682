// The simulated clipboard: its text, the sequence number the system raises
// at every change, and the private marks another program may put on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sq {

class SimClipboard {
 public:
  // The private marks a clipboard owner can set (a format present, or the
  // history format holding 0 or 1).
  enum class Mark { None, ExcludeFromMonitor, ViewerIgnore, HistoryZero, HistoryOne };

  const std::string& text() const { return text_; }
  // The text when it is at most `maxBytes` long; false, `out` empty, else.
  bool textUpTo(std::size_t maxBytes, std::string& out) const;
  // The program writes the clipboard: the mark goes, as EmptyClipboard
  // takes every format away.
  void write(const std::string& text);
  // Another program writes it with a mark ("history 1" marks nothing).
  void writeMarked(const std::string& text, Mark mark);
  bool isPrivate() const { return mark_ != Mark::None; }
  std::uint32_t sequence() const { return sequence_; }
  int writes() const { return writes_; }

 private:
  std::string text_;
  std::uint32_t sequence_ = 1;
  int writes_ = 0;
  Mark mark_ = Mark::None;
};

}  // namespace sq
