#include "input/worddelivery.h"

namespace sq {

void WordDelivery::Changed(Wnd w) {
  if (w) boxes_[w].seen = false;
}

void WordDelivery::Seen(Wnd w) {
  if (w) boxes_[w].seen = true;
}

bool WordDelivery::IsSeen(Wnd w) const {
  auto it = boxes_.find(w);
  return it == boxes_.end() || it->second.seen;
}

bool WordDelivery::Offer(Wnd w, const Word& word) {
  Box& b = boxes_[w];
  superseded_.clear();
  if (b.seen && b.waiting.empty()) return true;
  // Words that only pass by are superseded by this later one.
  std::erase_if(b.waiting, [this](const Word& x) {
    if (!HookWords::Passing(x)) return false;
    superseded_.push_back(x);
    return true;
  });
  if (b.waiting.size() >= kMaxWaiting) {
    lastDropped_ = std::move(b.waiting.front());
    b.waiting.pop_front();
    ++dropped_;
  }
  b.waiting.push_back(word);
  return false;
}

std::optional<Word> WordDelivery::Next(Wnd w) {
  auto it = boxes_.find(w);
  if (it == boxes_.end() || !it->second.seen || it->second.waiting.empty()) return std::nullopt;
  Word word = std::move(it->second.waiting.front());
  it->second.waiting.pop_front();
  return word;
}

std::size_t WordDelivery::Waiting(Wnd w) const {
  auto it = boxes_.find(w);
  return it == boxes_.end() ? 0 : it->second.waiting.size();
}

}  // namespace sq
