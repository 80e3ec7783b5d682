// The private message by which the hook library hands a caption word to the
// GUI thread of the program, shared by hook/ and platform/win32/.
//
// The hook thread never touches a window's text: it packs the word into one
// block from the process heap and posts it to the input window (the handle
// given to SetHookmo). The receiver owns the block from then on and frees
// it with FreeWord(); when PostMessageW fails the sender frees it.
//
//   message  kWordMessage
//   wParam   0 (reserved)
//   lParam   const WordBlock*
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace sq::hookmsg {

constexpr UINT kWordMessage = WM_APP + 0x3A1;

// Mailbox numbers: as sq::Mailbox (Input 0, Bar 1, Scroll 2).
struct WordBlock {
  std::uint32_t box;
  std::uint32_t key;        // the key the word reports (sq::Word::key), 0 none
  std::uint32_t edge;       // sq::Word::Edge: press, repeat or release of it
  std::uint32_t textLen;    // bytes of text, GBK, no terminator counted
  std::uint32_t onlyIfLen;  // bytes of onlyIf, 0 = apply always
  char data[1];             // text '\0' onlyIf '\0'
};

inline WordBlock* PackWord(std::uint32_t box, const std::string& text,
                           const std::string& onlyIf, std::uint32_t key = 0,
                           std::uint32_t edge = 0) {
  size_t size = sizeof(WordBlock) + text.size() + onlyIf.size() + 2;
  auto* b = static_cast<WordBlock*>(HeapAlloc(GetProcessHeap(), 0, size));
  if (!b) return nullptr;
  b->box = box;
  b->key = key;
  b->edge = edge;
  b->textLen = static_cast<std::uint32_t>(text.size());
  b->onlyIfLen = static_cast<std::uint32_t>(onlyIf.size());
  std::memcpy(b->data, text.data(), text.size());
  b->data[text.size()] = '\0';
  std::memcpy(b->data + text.size() + 1, onlyIf.data(), onlyIf.size());
  b->data[text.size() + 1 + onlyIf.size()] = '\0';
  return b;
}

inline std::string WordText(const WordBlock* b) { return std::string(b->data, b->textLen); }
inline std::string WordOnlyIf(const WordBlock* b) {
  return std::string(b->data + b->textLen + 1, b->onlyIfLen);
}
inline void FreeWord(const WordBlock* b) {
  if (b) HeapFree(GetProcessHeap(), 0, const_cast<WordBlock*>(b));
}

}  // namespace sq::hookmsg
