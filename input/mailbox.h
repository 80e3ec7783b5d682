// The window-caption mailbox: comparisons of caption words and the two
// histories kept on the command bar.
//
// Captions are compared byte for byte, case-sensitively, in three ways:
// whole text equal, the first N bytes equal (N = the literal's length; a
// caption shorter than N never matches), or the literal contained anywhere.
#pragma once

#include <string>
#include <string_view>

#include "app/frame/form.h"
#include "input/words.h"

namespace sq::mail {

inline bool Is(std::string_view caption, std::string_view word) { return caption == word; }
inline bool Starts(std::string_view caption, std::string_view prefix) {
  return caption.size() >= prefix.size() && caption.compare(0, prefix.size(), prefix) == 0;
}
inline bool Has(std::string_view caption, std::string_view part) {
  return caption.find(part) != std::string_view::npos;
}

// The key history (the command bar's ListBox8), newest first: a caption is
// entered when it differs from item 0 and does not contain "no message";
// past 300 items only items 0 to 3 are kept. A word enters cut to
// budget::kHistoryWord bytes, so the list stays within 301 such words.
constexpr int kKeyHistoryLimit = 300;
constexpr int kKeyHistoryKeep = 4;
void RecordKeyWord(Control& history, const std::string& caption);

// The input-word history (the command bar's ListBox1 and the browser's
// ListBox11), newest first: a caption is entered when it differs from item
// 0; past 10 items the list is cleared and refilled with the old item 0
// followed by the old item 1 twice. Words enter cut as in the key history.
constexpr int kInputHistoryLimit = 10;
void RecordInputWord(Control& history, const std::string& caption);

// Item i of a history, or "" when the list is shorter (patterns compare
// whole items, so a missing item never matches a word).
std::string ItemOr(const Control& list, int i);

}  // namespace sq::mail
