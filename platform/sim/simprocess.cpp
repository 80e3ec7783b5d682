// The simulated program's process: message boxes, quit and exit.
#include "platform/sim/simprocess.h"

#include <utility>

namespace sq {

int SimProcess::messageBox(Wnd owner, const std::string& text, const std::string& caption,
                           unsigned buttons) {
  int answer = boxAnswer_;
  if (!boxAnswers_.empty()) {
    answer = boxAnswers_.front();
    boxAnswers_.erase(boxAnswers_.begin());
  }
  boxes_.push_back({owner, text, caption, buttons, answer});
  if (auto hands = std::exchange(duringBox_, {})) hands();
  return answer;
}

void SimProcess::exit(int code) {
  exitCode_ = code;
  throw ProcessExit{code};
}

}  // namespace sq
