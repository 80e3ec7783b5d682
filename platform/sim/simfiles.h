// The simulated desktop's files: a Linux work directory stands for the
// program's current directory (made at start, removed at the end). Names
// the program gives, relative or under the current directory, map into
// it; anything elsewhere on the Windows side is no file here. Writes
// replace a file in one step, as the program's own writes do, and a test
// can make a write die half-way or every read fail.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace sq {

class SimFiles {
 public:
  SimFiles();
  ~SimFiles();
  SimFiles(const SimFiles&) = delete;
  SimFiles& operator=(const SimFiles&) = delete;

  static constexpr const char* kTempSuffix = ".sq~";

  // The Linux directory that stands for the current directory.
  const std::string& workDir() const { return workDir_; }
  const std::string& currentDirectory() const { return curDir_; }
  void setCurrentDirectory(const std::string& winPath) { curDir_ = winPath; }
  // Linux path of a file name as the program gives it; "" when it lies
  // outside the work directory.
  std::string hostPath(const std::string& name) const;

  bool exists(const std::string& name) const;
  bool read(const std::string& name, std::string& out) const;
  Platform::ReadResult readUpTo(const std::string& name, std::size_t maxBytes,
                                std::string& out) const;
  bool write(const std::string& name, const std::string& data);
  std::vector<std::string> list(const std::string& dir, std::size_t max) const;
  bool remove(const std::string& name);

  // The process dies during the next write after `bytes` bytes: the write
  // stops there, nothing is renamed, write answers false.
  void killNextWriteAfter(std::size_t bytes) { killWriteAfter_ = bytes; }
  // Every read fails (a disk error) while on.
  void setReadsFail(bool on) { readsFail_ = on; }
  int writes() const { return writes_; }

 private:
  std::string workDir_;
  std::string curDir_ = "C:\\sipquill";
  std::optional<std::size_t> killWriteAfter_;
  bool readsFail_ = false;
  int writes_ = 0;
};

}  // namespace sq
