// Line files kept byte for byte: the settings and history files are lists
// of lines that the program reads whole, changes a few of, and writes back.
//
// Reading keeps each line's own bytes and ending. A file larger than the
// reader's limit is used as far as its complete lines within the limit go
// and is marked not to be written back; so is a file that could not be
// read. Writing puts back every line that did not change exactly as it was
// read, and writes changed or new lines followed by CR LF.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace sq {

class LineFile {
 public:
  // Reads `name` up to `maxBytes`. A missing file reads as no lines and may
  // be written.
  void Read(role::Files& p, const std::string& name, std::size_t maxBytes);

  // The lines' texts (without their endings).
  std::vector<std::string> Lines() const;
  int Count() const { return static_cast<int>(lines_.size()); }
  bool exists() const { return exists_; }
  // False when the file could not be read whole: it is never written back.
  bool writable() const { return writable_; }

  // The file's bytes for `lines`. A line that reads as read line j showed
  // (`shown[j]`, or its text when `shown` is empty) is written with line j's
  // bytes and ending: first the read line at the same place, else the first
  // such line not used yet (entries may have moved up or down). Any other
  // line is written as its text followed by CR LF.
  std::string Compose(const std::vector<std::string>& lines,
                      const std::vector<std::string>& shown = {}) const;

  // Writes the lines back when the file may be written; false otherwise or
  // when the write failed (the old file then stays whole).
  bool Write(role::Files& p, const std::string& name, const std::vector<std::string>& lines,
             const std::vector<std::string>& shown = {}) const;

 private:
  struct Line {
    std::string text;   // without the ending
    std::string bytes;  // as read, with the ending
  };
  std::vector<Line> lines_;
  bool exists_ = false;
  bool writable_ = true;
};

}  // namespace sq
