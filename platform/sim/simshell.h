// The simulated shell's services: opening files (with the associations
// that decide it), the special folders, the links it makes and the icons
// it answers for files.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace sq {

struct SimShellExecute {
  Wnd owner = 0;
  std::string verb, file, params, dir;
  int show = 0;
  int result = 0;
};

class SimShell {
 public:
  SimShell();

  // Records the call; answers 31 (no association) for an extension set as
  // having no handler, 42 otherwise.
  int execute(Wnd owner, const std::string& verb, const std::string& file,
              const std::string& params, const std::string& dir, int show);
  const std::vector<SimShellExecute>& executes() const { return calls_; }
  void setAssociation(const std::string& ext, bool present);

  std::optional<std::string> specialFolder(int csidl) const;
  void setSpecialFolder(int csidl, std::optional<std::string> path);

  bool createLink(const std::string& linkPath, const ShellLink& link);
  const std::map<std::string, ShellLink>& links() const { return links_; }
  // Links are files too: found and deleted by name, without regard to case.
  bool hasLink(const std::string& path) const;
  bool removeLink(const std::string& path);

  // The first answer for a path is kept for the run, and only that first
  // question counts as a lookup.
  std::uintptr_t fileIcon(const std::string& path);
  void setFileIcon(const std::string& path, int icon) { icons_[path] = icon; }
  int fileIconLookups() const { return iconLookups_; }

 private:
  std::vector<SimShellExecute> calls_;
  std::map<std::string, bool> assoc_;  // lower-case extension
  std::map<int, std::string> folders_;
  std::map<std::string, ShellLink> links_;
  std::map<std::string, int> icons_;
  std::map<std::string, std::uintptr_t> iconsKept_;  // fileIcon's answers, for the run
  int iconLookups_ = 0;
};

}  // namespace sq
