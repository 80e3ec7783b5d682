// The shared settings list "发行软件.txt" and the two start-up flags kept
// with their marker files "disphelp" and "dispweb".
//
// Each line is a four-character label (8 GBK bytes), "--", then the value
// from the 11th byte on. Lines the browser reads: 2 (initial address), 7
// ("显示帮助--1"/"--0") and 8 ("显示浏览--1"/"--0"); every other line is
// written back unchanged.
#pragma once

#include <string>
#include <vector>

#include "app/frame/textfile.h"
#include "platform/lines.h"
#include "platform/platform.h"

namespace sq {

class SharedSettings {
 public:
  static const char* const kFileName;   // "发行软件.txt"
  static const char* const kHelpMarker;  // "disphelp"
  static const char* const kWebMarker;   // "dispweb"
  static constexpr int kLinesRead = 9;

  // Reads the file when it exists and sets both flags from their markers.
  // A missing file leaves the list empty; lines the file lacks read as the
  // built-in defaults, so a short file never stops the caller.
  void Load(role::Files& p);
  // Writes the list back, replacing the file in one step. Refuses (returns
  // false) when the file existed but could not be read whole, so it is never
  // overwritten with a list that does not hold its content.
  bool Save(role::Files& p);

  int Count() const { return static_cast<int>(lines_.size()); }
  // Whole line i; the default line when the list is shorter.
  std::string Line(int i) const;
  // Value of line i: the text from the 11th byte on ("" when shorter).
  std::string Value(int i) const;
  // Replaces line i, first filling any missing lines with their defaults.
  void SetLine(int i, const std::string& s);
  bool loadedFromFile() const { return fromFile_; }

  bool ShowHelp() const { return showHelp_; }
  bool ShowWeb() const { return showWeb_; }
  // Changing a flag writes or deletes its marker file.
  void SetShowHelp(role::Files& p, bool on);
  void SetShowWeb(role::Files& p, bool on);

  static std::string DefaultLine(int i);

 private:
  std::vector<std::string> lines_;
  bool fromFile_ = false;
  LineFile file_;  // the file as read: unchanged lines go back byte for byte
  bool showHelp_ = false;
  bool showWeb_ = false;
};


}  // namespace sq
