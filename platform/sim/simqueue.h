// The program's GUI thread on the simulated desktop: whether a handler
// runs, and the work that waits for it to return (synthesised input, the
// hook's words for real input that arrived meanwhile, posted calls), taken
// in the order it came once no handler runs.
#pragma once

#include <functional>
#include <vector>

#include "input/hookwords.h"
#include "platform/platform.h"

namespace sq {

struct SimPending {
  enum { Key, Mouse, Words, Call, Deliver } kind = Key;
  int vk = 0, scan = 0;
  unsigned flags = 0;
  int dx = 0, dy = 0, data = 0;
  std::vector<Word> words;
  std::function<void()> call;
  Wnd wnd = 0;  // Deliver: the mailbox whose waiting words may go on
};

class SimQueue {
 public:
  bool busy() const { return depth_ > 0; }  // a handler runs
  void enter() { ++depth_; }
  // The running handler returns; true when it was the outermost one.
  bool leave() { return --depth_ == 0; }
  bool flushing() const { return flushing_; }
  void push(SimPending p) { pending_.push_back(std::move(p)); }
  // Applies the waiting work in order while no handler runs. Work queued
  // by what is applied goes after the rest of its batch, so nested calls
  // (a handler run from here) leave it to this loop.
  void flush(const std::function<void(SimPending&)>& apply);

 private:
  int depth_ = 0;
  std::vector<SimPending> pending_;
  bool flushing_ = false;
};

}  // namespace sq
