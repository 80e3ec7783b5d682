#include "bar/smartclip.h"

#include <algorithm>

#include "app/frame/budget.h"
#include "app/frame/form.h"
#include "platform/lines.h"

namespace sq::smartclip {

void Insert(Control& list, const std::string& text) {
  list.Insert(0, text);
  std::size_t bytes = text.size();
  for (int n = list.Count() - 1; n >= 1; --n) {
    const std::string item = list.Item(n);
    if (item == text) list.Delete(n);
  }
  for (int n = 1; n < list.Count(); ++n) bytes += list.Item(n).size();
  while (list.Count() > 1 &&
         (static_cast<std::size_t>(list.Count()) > budget::kSmartClipEntries ||
          bytes > budget::kSmartClipBytes)) {
    bytes -= list.Item(list.Count() - 1).size();
    list.Delete(list.Count() - 1);
  }
}

Read ReadForCapture(role::Clipboard& p, std::string& text) {
  text.clear();
  if (p.clipboardPrivate()) return Read::Private;
  if (!p.getClipboardTextUpTo(budget::kCaptureBytes, text)) return Read::TooLarge;
  if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >=
      budget::kCaptureLines) {
    text.clear();
    return Read::TooLarge;
  }
  return Read::Text;
}

namespace {
bool Indent(char c) { return c == ' ' || (static_cast<unsigned char>(c) < 0x20); }
std::size_t IndentOf(const std::string& line) {
  std::size_t i = 0;
  while (i < line.size() && Indent(line[i])) ++i;
  return i;
}
}  // namespace

int AlignLines(std::vector<std::string>& lines, int column) {
  if (lines.empty()) return 0;
  const long long lead = static_cast<long long>(IndentOf(lines[0]));
  long long n = static_cast<long long>(column) - lead;
  n = std::clamp<long long>(n, -budget::kAlignColumn, budget::kAlignColumn);
  if (n > 0) {
    const std::string pad(static_cast<std::size_t>(n), ' ');
    for (auto& line : lines) line.insert(0, pad);
  } else if (n < 0) {
    const std::size_t cut = static_cast<std::size_t>(-n);
    for (auto& line : lines) {
      // Only indent is taken away: a line indented less than the first
      // keeps all of its text (indent bytes are single bytes, so a cut
      // never splits a GBK character either).
      std::size_t i = 0;
      while (i < line.size() && i < cut && Indent(line[i])) ++i;
      line.erase(0, i);
    }
  }
  return static_cast<int>(n);
}

void Align(const std::string& text, int& column, Control& lines, Control& button) {
  std::vector<std::string> v = SplitLines(text);
  if (v.size() > 1) {
    const int shift = AlignLines(v, column);
    button.SetCaption(std::to_string(shift) + "/");
  } else {
    column = static_cast<int>(std::min<std::size_t>(text.size(), budget::kAlignColumn));
    button.SetCaption(std::to_string(column));
  }
  // The lines go into the list in one pass, already shifted.
  lines.Clear();
  for (const auto& l : v) lines.Add(l);
}

}  // namespace sq::smartclip
