// The simulated system as the program's system report sees it: the other
// running processes (snapshots of them and of their modules, counted), the
// system's names and the environment.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace sq {

class SimSystem {
 public:
  // One process snapshot, then a module snapshot for each process asked
  // for that runs; a process whose modules are hidden answers with its
  // bare executable name.
  std::vector<ProcessImage> processImages(const std::vector<unsigned>& pids);
  void setProcesses(std::vector<ProcessInfo> p) { processes_ = std::move(p); }
  void setModulesHidden(unsigned pid, bool hidden);
  int processSnapshots() const { return processSnapshots_; }
  int moduleSnapshots() const { return moduleSnapshots_; }

  std::string systemString(SystemString which) const;
  void setSystemString(SystemString which, const std::string& v) { strings_[which] = v; }
  // %NAME% of a set variable replaced, an unset one left; cut to 255 bytes.
  std::string expandEnvironment(const std::string& text) const;
  void setEnvironment(const std::string& name, const std::string& v) { env_[name] = v; }

 private:
  std::vector<ProcessInfo> processes_;
  std::set<unsigned> modulesHidden_;
  int processSnapshots_ = 0, moduleSnapshots_ = 0;
  std::map<SystemString, std::string> strings_ = {
      {SystemString::ComputerName, "SIMPC"}, {SystemString::UserName, "user"},
      {SystemString::SystemDirectory, "C:\\windows\\system32"},
      {SystemString::WindowsDirectory, "C:\\windows"}};
  std::map<std::string, std::string> env_ = {{"OS", "Windows_NT"}, {"TMP", "C:\\temp"}};
};

}  // namespace sq
