// The hook library's mailboxes on the simulated desktop.
#include "platform/sim/simmailboxes.h"

namespace sq {

void SimMailboxes::name(Mailbox box, Wnd w) {
  const int i = static_cast<int>(box);
  if (i >= 0 && i < 3) boxes_[i] = windows_.isWindow(w) ? w : 0;
}

void SimMailboxes::windowGone(Wnd w) {
  for (Wnd& m : boxes_)
    if (m == w) m = 0;
}

Wnd SimMailboxes::live(Mailbox box) const {
  // The window the core named for the box, while it lives.
  const int i = static_cast<int>(box);
  return i >= 0 && i < 3 && windows_.isWindow(boxes_[i]) ? boxes_[i] : 0;
}

void SimMailboxes::offer(const std::vector<Word>& words) {
  for (const Word& w : words) {
    const Wnd to = live(w.box);
    if (!to) {
      words_.push_back({w, false, false});
      continue;
    }
    const std::uint64_t dropped = delivery_.Dropped();
    if (delivery_.Offer(to, w)) write(to, w);
    else if (delivery_.Dropped() != dropped) words_.push_back({*delivery_.LastDropped(), false, true});
  }
}

void SimMailboxes::write(Wnd to, const Word& w) {
  // The condition is tested when the word's turn comes, not when it arrived.
  const bool ok = w.onlyIf.empty() || windows_.getWindowText(to) == w.onlyIf;
  if (ok) windows_.setWindowText(to, w.text);
  words_.push_back({w, ok, false});
}

void SimMailboxes::deliverWaiting(Wnd w) {
  while (auto word = delivery_.Next(w)) write(w, *word);
}

}  // namespace sq
