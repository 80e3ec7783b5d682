// Small GBK text helpers of the simulated desktop (internal).
#pragma once

#include <cstddef>
#include <string>

namespace sq::simtext {

// A GBK lead byte; the byte after it belongs to the same character.
inline bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// ASCII letters to lower case, leaving both bytes of every double-byte
// character alone (a trail byte may look like an ASCII capital).
inline std::string LowerGbk(const std::string& s) {
  std::string out = s;
  for (std::size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsLead(c) && i + 1 < out.size()) {
      ++i;
      continue;
    }
    if (c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// The offset after the character at `pos`; CR LF counts as one character.
inline std::size_t NextChar(const std::string& s, std::size_t pos) {
  if (pos >= s.size()) return s.size();
  if (s[pos] == '\r' && pos + 1 < s.size() && s[pos + 1] == '\n') return pos + 2;
  if (IsLead(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) return pos + 2;
  return pos + 1;
}

// The start of the character before `pos` (0 at the start).
inline std::size_t PrevChar(const std::string& s, std::size_t pos) {
  std::size_t i = 0, last = 0;
  while (i < pos && i < s.size()) {
    last = i;
    i = NextChar(s, i);
  }
  return last;
}

// Snaps an offset to the start of the character that contains it.
inline std::size_t Snap(const std::string& s, std::size_t pos) {
  if (pos >= s.size()) return s.size();
  std::size_t i = 0;
  while (true) {
    std::size_t n = NextChar(s, i);
    if (n > pos) return i;
    i = n;
  }
}

// The next backslash at or after `from` (a character boundary) that is a
// character of its own, not the trail byte of a double-byte one.
inline std::size_t FindSep(const std::string& s, std::size_t from) {
  for (std::size_t i = from; i < s.size(); ++i) {
    if (IsLead(static_cast<unsigned char>(s[i]))) {
      ++i;
      continue;
    }
    if (s[i] == '\\') return i;
  }
  return std::string::npos;
}

// Whether the last character of `s` is a backslash of its own.
inline bool EndsWithSep(const std::string& s) {
  return !s.empty() && s.back() == '\\' && PrevChar(s, s.size()) == s.size() - 1;
}

inline std::size_t LineStart(const std::string& s, std::size_t pos) {
  std::size_t nl = pos == 0 ? std::string::npos : s.rfind('\n', pos - 1);
  return nl == std::string::npos ? 0 : nl + 1;
}

inline std::size_t LineEnd(const std::string& s, std::size_t pos) {
  std::size_t e = s.find_first_of("\r\n", pos);
  return e == std::string::npos ? s.size() : e;
}

}  // namespace sq::simtext
