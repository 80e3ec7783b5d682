// The smart clipboard's rules, shared by every path that captures a copied
// text (the input window's tick and the command bar's): how a text enters
// the list, which clipboard texts may be captured at all, and the indent
// alignment of copied blocks.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace sq {

class Control;

namespace smartclip {

// Inserts `text` at the head of the list, newest first, and removes every
// older entry equal to it (exact bytes). Past the entry or byte budget the
// oldest entries go; the new one always stays.
void Insert(Control& list, const std::string& text);

// What reading the clipboard for a capture found.
enum class Read {
  Text,       // `text` holds the clipboard text (maybe empty)
  TooLarge,   // past the capture budget (bytes or lines): left alone
  Private,    // its owner marked it private: never captured
};
Read ReadForCapture(role::Clipboard& p, std::string& text);

// The lines of a copied block shifted so that line 0's text starts at
// `column` (bytes of GBK text). Leading blanks and control characters
// (tabs) are the indent. Returns the shift N: N > 0 prefixes N blanks to
// every line, N < 0 takes up to |N| bytes of indent from the start of
// every line, never a line's text. The shift is bounded by the alignment
// column's budget.
int AlignLines(std::vector<std::string>& lines, int column);

// Alignment of a captured text into the hidden line list and the paste
// button: a block of several lines is shifted to `column` and the button
// shows the shift and "/" ("8/"); a single line (or none) makes its byte
// length (within the budget) the new column, which the button shows.
void Align(const std::string& text, int& column, Control& lines, Control& button);

}  // namespace smartclip
}  // namespace sq
