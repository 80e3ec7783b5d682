// Delivery of the hook library's words into the caption mailboxes, shared by
// both backends (the simulated desktop and the Win32 one).
//
// A caption holds one word at a time and its reader samples it on a tick.
// So that no word is overwritten before its reader has looked, the words for
// one window are written one after another: a word is written at once when
// nothing waits before it and the caption's present word has been read;
// otherwise it waits, in order, until the reader says it has read the
// caption (Platform::mailboxSeen). Any change of the caption, by whatever
// writer, counts as a word not yet read: a request the program leaves for
// its reader is not overwritten either.
//
// A waiting word that only says a key no reader looks at went down or up
// (HookWords::Passing) is superseded by the next word for its window, as a
// caption's later word wins: a burst of typing then never holds up a
// Ctrl+C behind it, which the program would answer seconds late.
//
// A held key repeats (the keyboard's auto-repeat, 30 a second and more)
// faster than a reader may answer: a repeat of a key waits only while no
// earlier word of the same key still waits, and the repeats still waiting
// are dropped when the key's release arrives. Holding a key goes on
// working while it is held, and nothing of it is answered once let go
// beyond the word its caption already holds.
//
// The waiting line of a window is bounded: past kMaxWaiting words the
// oldest waiting word is dropped (a reader that stopped must not make
// memory grow), and the drops are counted. The bound is wide enough for a
// burst of fast typing while the GUI thread sleeps in a gesture or the
// machine is busy and the ticks come late: a line of 8 lost a third of the
// words of a minute's typing on a loaded machine.
//
// Nothing here writes a caption: the backend asks Offer() when a word
// arrives, writes it when told to, reports every caption change with
// Changed() and, once the reader has read a caption, writes the words that
// Next() hands out until one of them changes the caption.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_map>
#include <vector>

#include "input/hookwords.h"
#include "platform/platform.h"

namespace sq {

class WordDelivery {
 public:
  static constexpr std::size_t kMaxWaiting = 64;

  // The caption of w changed: its new word has not been read yet.
  void Changed(Wnd w);
  // The reader of w has read its caption.
  void Seen(Wnd w);
  bool IsSeen(Wnd w) const;
  // A word for w arrived. True: write it now. False: it waits (and the
  // oldest waiting word may have been dropped to make room).
  bool Offer(Wnd w, const Word& word);
  // The next waiting word for w, once its caption has been read; nothing
  // while the caption is unread or no word waits.
  std::optional<Word> Next(Wnd w);
  std::size_t Waiting(Wnd w) const;
  // Words dropped since the start: from a full waiting line, or repeats
  // of a held key (see above).
  std::uint64_t Dropped() const { return dropped_; }
  // The last word dropped, for a record.
  const std::optional<Word>& LastDropped() const { return lastDropped_; }
  // The waiting words the last Offer() superseded, oldest first.
  const std::vector<Word>& Superseded() const { return superseded_; }

 private:
  struct Box {
    bool seen = true;  // a caption nobody has written counts as read
    std::deque<Word> waiting;
  };
  void Drop(Word word);
  std::unordered_map<Wnd, Box> boxes_;
  std::uint64_t dropped_ = 0;
  std::optional<Word> lastDropped_;
  std::vector<Word> superseded_;
};

}  // namespace sq
