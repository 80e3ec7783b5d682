// The tick's reading of the caption mailboxes whose reader it is, and the
// words it answers once only.
#pragma once

#include <string>

namespace sq {

// The tick's reading of one caption mailbox whose reader it is (the input
// caption, the scroll-mode caption). A word counts as read, and the hook
// library's next word for the caption may then be written, once a whole
// tick has run over it unchanged (or, when ticks keep ending early, once
// two ticks in a row have found it). A word the tick writes itself is read
// by the next tick, so a request it leaves for that tick is not overwritten,
// unless it says it is done with ("old--", or beginning with "xx" or "qq",
// words no reader tests).
struct MailboxRead {
  std::string atStart;  // the word found at the start of this tick
  int ticks = 0;        // ticks in a row that started with that word
  std::string seen;     // the word last reported read
};

struct MailboxReading {
  MailboxRead input, scroll;
  // A stop word that carries "wheel" is left as written; this remembers the
  // one last answered so it is answered once, not on every later tick.
  std::string wheelStopSeen;
  bool gowebOnce = false;   // "ystop goweb" handled until the next left press
};

}  // namespace sq
