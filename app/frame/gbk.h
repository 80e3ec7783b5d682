// GBK text, byte by byte: which byte begins a double-byte character, how
// long the character at a byte is, and cuts that never split a character.
// Every walker over the program's text uses these.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sq::gbk {

// A lead byte: the first of a double-byte character.
inline bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
inline bool IsLead(char c) { return IsLead(static_cast<unsigned char>(c)); }

// The bytes of the character that begins with byte `c`: 2 after a lead
// byte, else 1.
inline std::size_t CharLen(char c) { return IsLead(c) ? 2 : 1; }

// The first `max` bytes of `s`, never ending inside a double-byte
// character (a string that fits is kept whole).
inline std::size_t Cut(std::string_view s, std::size_t max) {
  if (s.size() <= max) return s.size();
  std::size_t i = 0;
  while (i < max) {
    const std::size_t len = CharLen(s[i]);
    if (i + len > max) break;
    i += len;
  }
  return i;
}
inline std::string Prefix(std::string_view s, std::size_t max) {
  return std::string(s.substr(0, Cut(s, max)));
}

}  // namespace sq::gbk
