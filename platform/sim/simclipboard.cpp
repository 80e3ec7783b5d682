// The simulated clipboard.
#include "platform/sim/simclipboard.h"

namespace sq {

bool SimClipboard::textUpTo(std::size_t maxBytes, std::string& out) const {
  out.clear();
  if (text_.size() > maxBytes) return false;
  out = text_;
  return true;
}

void SimClipboard::write(const std::string& text) {
  text_ = text;
  mark_ = Mark::None;
  ++writes_;
  ++sequence_;
}

void SimClipboard::writeMarked(const std::string& text, Mark mark) {
  text_ = text;
  ++sequence_;
  mark_ = mark == Mark::HistoryOne ? Mark::None : mark;
}

}  // namespace sq
