// The keyboard words' state: the Z guard and what the smart clipboard
// already holds of the clipboard when Shift shows it.
#pragma once

#include <string>

namespace sq {

struct KeyWordsState {
  bool zGuard = false;      // Z held under a key word ended one tick
  // The clipboard text the smart clipboard took when Shift showed it, or
  // gave out by a digit: Shift puts the clipboard into the list when it
  // holds another text, so a digit's paste is not moved to the top again.
  bool listTextSet = false;
  std::string listText;
};

}  // namespace sq
