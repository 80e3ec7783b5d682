// Small GBK text helpers of the simulated desktop (internal).
#pragma once

#include <cstddef>
#include <string>

#include "app/frame/gbk.h"

namespace sq::simtext {

// A GBK lead byte; the byte after it belongs to the same character.
using ::sq::gbk::IsLead;

// What a text becomes after a trip through a window (its caption, a list
// item): Windows keeps window text as UTF-16, so the text ends at the first
// NUL, and a byte that starts no valid GBK character (0xFF, or a lead byte
// without a trail byte 0x40..0xFE after it) comes back as '?'.
inline std::string AsWindowText(const std::string& s) {
  std::size_t end = s.find('\0');
  if (end == std::string::npos) end = s.size();
  std::string out;
  out.reserve(end);
  std::size_t i = 0;
  while (i < end) {
    // Runs of ASCII (and the euro sign 0x80 of code page 936) pass whole.
    std::size_t run = i;
    while (run < end && static_cast<unsigned char>(s[run]) <= 0x80) ++run;
    out.append(s, i, run - i);
    i = run;
    if (i >= end) break;
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const unsigned char t = i + 1 < end ? static_cast<unsigned char>(s[i + 1]) : 0;
    if (IsLead(c) && t >= 0x40 && t != 0x7F && t != 0xFF) {
      out += static_cast<char>(c);
      out += static_cast<char>(t);
      i += 2;
    } else {
      out += '?';
      ++i;
    }
  }
  return out;
}

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

// The last backslash of its own in `s`, or npos.
inline std::size_t LastSep(const std::string& s) {
  std::size_t last = std::string::npos;
  for (std::size_t i = FindSep(s, 0); i != std::string::npos; i = FindSep(s, i + 1)) last = i;
  return last;
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
