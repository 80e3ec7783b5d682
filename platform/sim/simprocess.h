// The simulated program's own process: its message boxes (answered as a
// test says, the user's hands acting while one is up), the quit its
// message loop waits for, and its exit.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace sq {

struct SimMessageBox {
  Wnd owner = 0;
  std::string text, caption;
  unsigned buttons = 0;
  int answer = 0;
};

class SimProcess {
 public:
  // Records the box, runs the hands set for it, answers.
  int messageBox(Wnd owner, const std::string& text, const std::string& caption,
                 unsigned buttons);
  const std::vector<SimMessageBox>& messageBoxes() const { return boxes_; }
  // Answer of the next boxes; queued answers are used first, one per box.
  void setMessageBoxAnswer(int a) { boxAnswer_ = a; }
  void queueMessageBoxAnswer(int a) { boxAnswers_.push_back(a); }
  void duringNextMessageBox(std::function<void()> hands) { duringBox_ = std::move(hands); }

  void postQuit(int code) {
    quitPosted_ = true;
    quitCode_ = code;
  }
  bool quitPosted() const { return quitPosted_; }
  int quitCode() const { return quitCode_; }
  // Ends the process: throws ProcessExit, the code kept for the tests.
  [[noreturn]] void exit(int code);
  std::optional<int> exitCode() const { return exitCode_; }
  // How long (ms) the message loop waits for a quit.
  void setLoopBudget(unsigned ms) { loopBudget_ = ms; }
  unsigned loopBudget() const { return loopBudget_; }

 private:
  std::vector<SimMessageBox> boxes_;
  int boxAnswer_ = idans::Ok;
  std::vector<int> boxAnswers_;
  std::function<void()> duringBox_;
  bool quitPosted_ = false;
  int quitCode_ = 0;
  std::optional<int> exitCode_;
  unsigned loopBudget_ = 0;
};

}  // namespace sq
