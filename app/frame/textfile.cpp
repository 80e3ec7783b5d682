#include "app/frame/textfile.h"

#include <map>
#include <string_view>

namespace sq {

void LineFile::Read(role::Files& p, const std::string& name, std::size_t maxBytes) {
  lines_.clear();
  exists_ = p.fileExists(name);
  writable_ = true;
  if (!exists_) return;
  std::string data;
  const Platform::ReadResult r = p.readFileUpTo(name, maxBytes, data);
  if (r == Platform::ReadResult::Failed) {
    writable_ = false;
    return;
  }
  const bool whole = r == Platform::ReadResult::Whole;
  writable_ = whole;
  std::size_t start = 0;
  while (start < data.size()) {
    std::size_t nl = data.find('\n', start);
    if (nl == std::string::npos) {
      // The last line of a whole file may lack its ending; the last line of
      // a cut file is incomplete and is not used.
      if (whole) lines_.push_back({data.substr(start), data.substr(start)});
      break;
    }
    Line l;
    l.bytes = data.substr(start, nl + 1 - start);
    l.text = data.substr(start, nl - start);
    if (!l.text.empty() && l.text.back() == '\r') l.text.pop_back();
    lines_.push_back(std::move(l));
    start = nl + 1;
  }
}

std::vector<std::string> LineFile::Lines() const {
  std::vector<std::string> out;
  out.reserve(lines_.size());
  for (const Line& l : lines_) out.push_back(l.text);
  return out;
}

std::string LineFile::Compose(const std::vector<std::string>& lines,
                              const std::vector<std::string>& shown) const {
  auto shownAs = [&](std::size_t j) -> const std::string& {
    return j < shown.size() ? shown[j] : lines_[j].text;
  };
  // Read lines by what they showed, for lines that moved.
  std::multimap<std::string_view, std::size_t> byText;
  for (std::size_t j = 0; j < lines_.size(); ++j) byText.emplace(shownAs(j), j);
  std::vector<bool> used(lines_.size(), false);
  auto take = [&](std::size_t j) {
    used[j] = true;
    return true;
  };
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::size_t from = lines_.size();
    if (i < lines_.size() && !used[i] && lines[i] == shownAs(i)) {
      from = i;
    } else {
      auto [lo, hi] = byText.equal_range(lines[i]);
      for (auto it = lo; it != hi; ++it)
        if (!used[it->second]) {
          from = it->second;
          break;
        }
    }
    if (from == lines_.size()) {
      out += lines[i];
      out += "\r\n";
      continue;
    }
    take(from);
    out += lines_[from].bytes;
    // A last line read without an ending gets one when lines follow it.
    if (!out.empty() && out.back() != '\n' && i + 1 < lines.size()) out += "\r\n";
  }
  return out;
}

bool LineFile::Write(role::Files& p, const std::string& name, const std::vector<std::string>& lines,
                     const std::vector<std::string>& shown) const {
  if (!writable_) return false;
  return p.writeFile(name, Compose(lines, shown));
}

}  // namespace sq
