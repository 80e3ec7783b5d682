// The clipboard of the Win32 backend.
#include "platform/win32/win32_internal.h"

namespace sq {

using namespace w32;

// ---------------------------------------------------------------- clipboard

namespace {
bool OpenClip() {
  // Another program may hold the clipboard for a moment.
  for (int i = 0; i < 10; ++i) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(5);
  }
  return false;
}
}  // namespace

bool Win32Platform::getClipboardTextUpTo(std::size_t maxBytes, std::string& out) {
  out.clear();
  if (!OpenClip()) return true;  // no clipboard reads as the empty text
  bool fits = true;
  if (HANDLE d = GetClipboardData(CF_UNICODETEXT)) {
    // Each UTF-16 unit is at least one GBK byte: a text of more units than
    // the limit is too long without converting it.
    const SIZE_T units = GlobalSize(d) / sizeof(wchar_t);
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(d))) {
      const std::size_t len = wcsnlen(p, units);
      if (len > maxBytes) {
        fits = false;
      } else {
        out = Gbk(p, static_cast<int>(len));
        if (out.size() > maxBytes) {
          out.clear();
          fits = false;
        }
      }
      GlobalUnlock(d);
    }
  } else if (HANDLE a = GetClipboardData(CF_TEXT)) {
    const SIZE_T bytes = GlobalSize(a);
    if (auto* p = static_cast<const char*>(GlobalLock(a))) {
      const std::size_t len = strnlen(p, bytes);
      if (len > maxBytes) fits = false;
      else out.assign(p, len);
      GlobalUnlock(a);
    }
  }
  CloseClipboard();
  return fits;
}

bool Win32Platform::setClipboardText(const std::string& text) {
  if (!OpenClip()) return false;
  EmptyClipboard();
  std::wstring w = Wide(text);
  bool ok = false;
  if (HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, (w.size() + 1) * sizeof(wchar_t))) {
    std::memcpy(GlobalLock(g), w.c_str(), (w.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(g);
    ok = SetClipboardData(CF_UNICODETEXT, g) != nullptr;
    if (!ok) GlobalFree(g);
  }
  // The GBK bytes as well, so a reader of CF_TEXT gets them whatever its
  // code page.
  if (HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    std::memcpy(GlobalLock(g), text.c_str(), text.size() + 1);
    GlobalUnlock(g);
    if (!SetClipboardData(CF_TEXT, g)) GlobalFree(g);
  }
  CloseClipboard();
  return ok;
}

void Win32Platform::closeClipboard() { CloseClipboard(); }

std::uint32_t Win32Platform::clipboardSequence() { return GetClipboardSequenceNumber(); }

bool Win32Platform::clipboardPrivate() {
  static const UINT exclude = RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
  static const UINT ignore = RegisterClipboardFormatA("Clipboard Viewer Ignore");
  static const UINT history = RegisterClipboardFormatA("CanIncludeInClipboardHistory");
  if ((exclude && IsClipboardFormatAvailable(exclude)) ||
      (ignore && IsClipboardFormatAvailable(ignore)))
    return true;
  if (!history || !IsClipboardFormatAvailable(history)) return false;
  // The history mark is a DWORD: 0 keeps the content out of any history.
  if (!OpenClip()) return true;  // unreadable mark: keep it out
  bool excluded = false;
  if (HANDLE d = GetClipboardData(history)) {
    if (GlobalSize(d) >= sizeof(DWORD)) {
      if (auto* v = static_cast<const DWORD*>(GlobalLock(d))) {
        excluded = *v == 0;
        GlobalUnlock(d);
      }
    }
  }
  CloseClipboard();
  return excluded;
}

}  // namespace sq
