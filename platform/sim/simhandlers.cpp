// The handlers of the simulated desktop's windows.
#include "platform/sim/simhandlers.h"

#include <iterator>

namespace sq {

void SimHandlers::forget(Wnd w) {
  clicks_.erase(w);
  closes_.erase(w);
  events_.erase(w);
  trays_.erase(w);
  for (auto it = messages_.begin(); it != messages_.end();)
    it = it->first.first == w ? messages_.erase(it) : std::next(it);
}

}  // namespace sq
