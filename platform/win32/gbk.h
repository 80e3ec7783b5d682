// Text at the Win32 boundary: the program keeps GBK bytes, the wide API
// takes UTF-16. Conversion always names code page 936 explicitly, so the
// result does not depend on the ANSI code page of the machine.
#pragma once

#include <windows.h>

#include <string>

#include "app/frame/budget.h"
#include "app/frame/gbk.h"

namespace sq::w32 {

constexpr UINT kGbk = 936;

inline std::wstring Wide(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(kGbk, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(kGbk, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

inline std::string Gbk(const wchar_t* w, int len = -1) {
  if (!w) return {};
  if (len < 0) len = static_cast<int>(wcslen(w));
  if (len == 0) return {};
  int n = WideCharToMultiByte(kGbk, 0, w, len, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kGbk, 0, w, len, s.data(), n, nullptr, nullptr);
  return s;
}
inline std::string Gbk(const std::wstring& w) { return Gbk(w.c_str(), static_cast<int>(w.size())); }

// Text of any window, ours or another program's, as UTF-16.
inline std::wstring WindowTextW(HWND h) {
  int n = GetWindowTextLengthW(h);
  if (n <= 0) return {};
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  buf.resize(static_cast<size_t>(GetWindowTextW(h, buf.data(), n + 1)));
  return buf;
}

// Text of any window, ours or another program's.
inline std::string WindowText(HWND h) {
  int n = GetWindowTextLengthW(h);
  if (n <= 0) return {};
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  int got = GetWindowTextW(h, buf.data(), n + 1);
  return Gbk(buf.c_str(), got);
}

// The cut of a text already at hand: its first `maxBytes` units, as GBK,
// cut at a character boundary to at most `maxBytes` bytes (each UTF-16 unit
// is one or two GBK bytes).
inline std::string TextUpTo(const wchar_t* w, std::size_t len, std::size_t maxBytes) {
  if (len == 0 || maxBytes == 0) return {};
  const std::size_t units = len < maxBytes ? len : maxBytes;
  std::string s = Gbk(w, static_cast<int>(units));
  s.resize(gbk::Cut(s, maxBytes));
  return s;
}

// At most the first `maxBytes` GBK bytes of a window's text. Only that much
// is copied out of the window, so a huge caption costs no more than a
// short one.
inline std::string WindowTextUpTo(HWND h, std::size_t maxBytes) {
  const int n = GetWindowTextLengthW(h);
  if (n <= 0 || maxBytes == 0) return {};
  const std::size_t units = static_cast<std::size_t>(n) < maxBytes ? static_cast<std::size_t>(n)
                                                                    : maxBytes;
  std::wstring buf(units + 1, L'\0');
  const int got = GetWindowTextW(h, buf.data(), static_cast<int>(units + 1));
  return TextUpTo(buf.c_str(), got > 0 ? static_cast<std::size_t>(got) : 0, maxBytes);
}

}  // namespace sq::w32
