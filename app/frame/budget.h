// The work budget of the GUI thread: every limit that keeps a tick's time
// and the process's memory bounded whatever other programs write into our
// captions, put on the clipboard or leave in our files. Normal use never
// meets any of them; input past a limit gets the defined result named here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sq::budget {

// A caption is read up to this many bytes (cut at a character boundary).
// Mailbox words are a few dozen bytes; addresses passed in captions a few
// hundred. A longer caption is seen as its first 64 KiB.
constexpr std::size_t kCaptionRead = 64 * 1024;

// A word entered into a history list (key history, input-word histories)
// is cut to this many bytes. No word any reader tests comes near it, so a
// cut word never matches a pattern it would not have matched whole.
constexpr std::size_t kHistoryWord = 256;

// A copied text larger than this (bytes or lines) is not captured: the
// clipboard keeps it untouched, the smart clipboard, the alignment and the
// captured-text edits stay as they were. A few thousand lines of code are
// far below both.
constexpr std::size_t kCaptureBytes = 1024 * 1024;
constexpr std::size_t kCaptureLines = 10000;

// The alignment column (length of the last single-line copy) and so the
// widest shift an alignment applies, in bytes.
constexpr int kAlignColumn = 256;

// The smart clipboard keeps at most this many entries and bytes; the
// oldest entries are dropped first (the newest always stays).
constexpr std::size_t kSmartClipEntries = 100;
constexpr std::size_t kSmartClipBytes = 4 * 1024 * 1024;

// The browser's navigation log is cut to its newest entries past this.
constexpr std::size_t kNavLogBytes = 256 * 1024;

// Files are read up to these sizes. A larger file is used as far as its
// first complete lines allow and is never written back.
constexpr std::size_t kSettingsFileRead = 64 * 1024;   // wr.ini, the shared list
constexpr std::size_t kFavouritesFileRead = 1024 * 1024;  // url.txt

}  // namespace sq::budget
