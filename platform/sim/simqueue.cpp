// The program's GUI thread on the simulated desktop.
#include "platform/sim/simqueue.h"

#include <iterator>
#include <utility>

namespace sq {

void SimQueue::flush(const std::function<void(SimPending&)>& apply) {
  if (flushing_) return;
  struct Guard {
    bool& f;
    ~Guard() { f = false; }
  };
  flushing_ = true;
  Guard guard{flushing_};
  while (!pending_.empty() && depth_ == 0) {
    std::vector<SimPending> batch;
    batch.swap(pending_);
    for (std::size_t i = 0; i < batch.size(); ++i) {
      apply(batch[i]);
      if (!pending_.empty() && i + 1 < batch.size()) {
        // Newly queued work goes after the rest of this batch.
        pending_.insert(pending_.begin(),
                        std::make_move_iterator(batch.begin() + static_cast<std::ptrdiff_t>(i) + 1),
                        std::make_move_iterator(batch.end()));
        break;
      }
    }
  }
}

}  // namespace sq
