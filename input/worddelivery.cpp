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

namespace {
bool RepeatOf(const Word& waiting, int key) {
  return waiting.key == key && waiting.edge == Word::Edge::Repeat;
}
}  // namespace

void WordDelivery::Drop(Word word) {
  lastDropped_ = std::move(word);
  ++dropped_;
}

bool WordDelivery::Offer(Wnd w, const Word& word) {
  Box& b = boxes_[w];
  superseded_.clear();
  if (word.key && word.edge == Word::Edge::Release) {
    // Repeats must not outlive the key: those still waiting go.
    for (auto it = b.waiting.begin(); it != b.waiting.end();) {
      if (RepeatOf(*it, word.key)) {
        Drop(std::move(*it));
        it = b.waiting.erase(it);
      } else {
        ++it;
      }
    }
  }
  if (b.seen && b.waiting.empty()) return true;
  // Words that only pass by are superseded by this later one.
  std::erase_if(b.waiting, [this](const Word& x) {
    if (!HookWords::Passing(x)) return false;
    superseded_.push_back(x);
    return true;
  });
  if (word.key && word.edge == Word::Edge::Repeat) {
    // A held key waits one word at a time: while an earlier word of it
    // still waits, a repeat adds nothing the reader would not do anyway.
    for (const Word& q : b.waiting)
      if (q.key == word.key && q.edge != Word::Edge::Release) {
        Drop(word);
        return false;
      }
  }
  if (b.waiting.size() >= kMaxWaiting) {
    Drop(std::move(b.waiting.front()));
    b.waiting.pop_front();
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
