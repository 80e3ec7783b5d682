// The messages other programs post to windows on the simulated desktop and
// the requests to close them (WM_CLOSE), as a record for the tests, and
// how foreign windows answer a close.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace sq {

struct SimPostedMessage {
  Wnd wnd = 0;
  unsigned msg = 0;
  std::uintptr_t wp = 0;
  std::intptr_t lp = 0;
};

class SimMessages {
 public:
  static constexpr unsigned kClose = 0x10;  // WM_CLOSE

  // A message posted to w; a close is a close request as well.
  void posted(Wnd w, unsigned msg, std::uintptr_t wp, std::intptr_t lp) {
    posted_.push_back({w, msg, wp, lp});
    if (msg == kClose) closeRequests_.push_back(w);
  }
  void closeAsked(Wnd w) { closeRequests_.push_back(w); }
  const std::vector<SimPostedMessage>& postedMessages() const { return posted_; }
  const std::vector<Wnd>& closeRequests() const { return closeRequests_; }
  // Foreign windows asked to close are destroyed unless this is set.
  void setForeignIgnoreClose(bool on) { ignoreClose_ = on; }
  bool foreignIgnoreClose() const { return ignoreClose_; }

 private:
  std::vector<SimPostedMessage> posted_;
  std::vector<Wnd> closeRequests_;
  bool ignoreClose_ = false;
};

}  // namespace sq
