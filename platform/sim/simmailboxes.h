// The hook library's mailboxes on the simulated desktop: the window named
// for each box, the words waiting for a caption's reader, and the record
// of every word delivered. Words are written into the captions through
// the windows they go to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "input/worddelivery.h"
#include "input/hookwords.h"
#include "platform/platform.h"

namespace sq {

struct SimHookWord {
  Word word;
  bool applied = false;
  bool dropped = false;
};

class SimMailboxes {
 public:
  explicit SimMailboxes(role::Windows& windows) : windows_(windows) {}

  // The window whose caption the words for `box` go to (0: none; a
  // window that does not exist is none).
  void name(Mailbox box, Wnd w);
  Wnd named(Mailbox box) const { return boxes_[static_cast<int>(box)]; }
  void windowGone(Wnd w);

  // Words from the hook: each written at once, or left waiting for its
  // window's reader, or refused when its box names no live window.
  void offer(const std::vector<Word>& words);
  // Any change of a top-level caption is unread until its reader says so.
  void changed(Wnd w) { delivery_.Changed(w); }
  // The reader of w has read its caption; deliverWaiting writes on.
  void seen(Wnd w) { delivery_.Seen(w); }
  // Writes w's waiting words until one changes its caption.
  void deliverWaiting(Wnd w);

  const std::vector<SimHookWord>& delivered() const { return words_; }
  std::size_t waiting(Wnd w) const { return delivery_.Waiting(w); }
  std::uint64_t dropped() const { return delivery_.Dropped(); }

 private:
  Wnd live(Mailbox box) const;
  void write(Wnd to, const Word& word);

  role::Windows& windows_;
  Wnd boxes_[3] = {0, 0, 0};
  WordDelivery delivery_;
  std::vector<SimHookWord> words_;
};

}  // namespace sq
