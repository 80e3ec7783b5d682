// The simulated shell: shell execute, special folders, links and icons.
#include "platform/sim/simshell.h"

#include <utility>

#include "platform/sim/simtext.h"

namespace sq {

namespace {
std::string BaseName(const std::string& path) {
  std::size_t s = path.find_last_of("\\/");
  return s == std::string::npos ? path : path.substr(s + 1);
}
}  // namespace

SimShell::SimShell() {
  assoc_[".scf"] = false;
  folders_[csidl::Desktop] = "C:\\Users\\user\\Desktop";
  folders_[csidl::StartMenu] = "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
  folders_[csidl::Programs] =
      "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
}

void SimShell::setAssociation(const std::string& ext, bool present) {
  assoc_[simtext::LowerGbk(ext)] = present;
}

int SimShell::execute(Wnd owner, const std::string& verb, const std::string& file,
                      const std::string& params, const std::string& dir, int show) {
  int result = 42;
  std::string base = BaseName(file);
  std::size_t dot = base.rfind('.');
  if (dot != std::string::npos) {
    auto it = assoc_.find(simtext::LowerGbk(base.substr(dot)));
    if (it != assoc_.end() && !it->second) result = 31;  // SE_ERR_NOASSOC
  }
  calls_.push_back({owner, verb, file, params, dir, show, result});
  return result;
}

std::optional<std::string> SimShell::specialFolder(int id) const {
  auto it = folders_.find(id);
  if (it == folders_.end()) return std::nullopt;
  return it->second;
}

void SimShell::setSpecialFolder(int id, std::optional<std::string> path) {
  if (path)
    folders_[id] = *path;
  else
    folders_.erase(id);
}

bool SimShell::createLink(const std::string& linkPath, const ShellLink& link) {
  if (linkPath.empty()) return false;
  links_[linkPath] = link;
  return true;
}

bool SimShell::hasLink(const std::string& p) const {
  const std::string low = simtext::LowerGbk(p);
  for (const auto& entry : links_)
    if (simtext::LowerGbk(entry.first) == low) return true;
  return false;
}

bool SimShell::removeLink(const std::string& p) {
  const std::string low = simtext::LowerGbk(p);
  for (auto it = links_.begin(); it != links_.end(); ++it) {
    if (simtext::LowerGbk(it->first) == low) {
      links_.erase(it);
      return true;
    }
  }
  return false;
}

std::uintptr_t SimShell::fileIcon(const std::string& path) {
  // As the Windows backend does: the first answer for a path is kept for
  // the run, and only that first question reaches the shell.
  auto kept = iconsKept_.find(path);
  if (kept != iconsKept_.end()) return kept->second;
  ++iconLookups_;
  std::uintptr_t icon = 0;
  auto it = icons_.find(path);
  if (path.empty()) {
    icon = 0;
  } else if (it != icons_.end()) {
    icon = static_cast<std::uintptr_t>(it->second);
  } else {
    unsigned h = 2166136261u;  // FNV-1a of the lower-case path
    for (char c : simtext::LowerGbk(path)) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    icon = 1 + h % 9973;
  }
  iconsKept_[path] = icon;
  return icon;
}

}  // namespace sq
