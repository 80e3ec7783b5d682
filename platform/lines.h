// Lines of a text, the one rule for the whole program: files, memos, list
// texts and the clipboard alike. Portable; used by the core and the
// backends.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sq {

// A line ends at LF; a CR just before the LF is not part of it (so CR LF
// and a bare LF both end a line). A last line without an ending counts;
// an empty text has no lines, and a text that ends with its line ending
// has no empty line after it.
inline std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t nl = text.find('\n', start);
    std::string_view line = text.substr(start, nl == std::string_view::npos ? text.npos : nl - start);
    if (nl != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    out.emplace_back(line);
    if (nl == std::string_view::npos) break;
    start = nl + 1;
  }
  return out;
}

// Lines joined by CR LF; with `endEach`, the last line ends with CR LF too
// (a text file's form).
inline std::string JoinLines(const std::vector<std::string>& lines, bool endEach = false) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) out += "\r\n";
    out += lines[i];
  }
  if (endEach && !lines.empty()) out += "\r\n";
  return out;
}

}  // namespace sq
