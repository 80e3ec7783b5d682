// The simulated system: other processes, the system's names, the environment.
#include "platform/sim/simsystem.h"

#include "platform/sim/simtext.h"

namespace sq {

void SimSystem::setModulesHidden(unsigned pid, bool hidden) {
  if (hidden)
    modulesHidden_.insert(pid);
  else
    modulesHidden_.erase(pid);
}

std::vector<ProcessImage> SimSystem::processImages(const std::vector<unsigned>& pids) {
  ++processSnapshots_;
  const std::set<unsigned> asked(pids.begin(), pids.end());
  std::vector<ProcessImage> out;
  for (const ProcessInfo& pi : processes_) {
    if (!asked.count(pi.pid)) continue;
    ProcessImage im;
    im.pid = pi.pid;
    const std::size_t sep = simtext::LastSep(pi.exePath);
    im.exeName = sep == std::string::npos ? pi.exePath : pi.exePath.substr(sep + 1);
    ++moduleSnapshots_;
    if (!modulesHidden_.count(pi.pid)) {
      im.modulesListed = true;
      // The first module is the program file, named by its full path.
      if (sep != std::string::npos) im.mainModule = pi.exePath;
    }
    out.push_back(im);
  }
  return out;
}

std::string SimSystem::systemString(SystemString which) const {
  auto it = strings_.find(which);
  return it == strings_.end() ? "" : it->second;
}

std::string SimSystem::expandEnvironment(const std::string& text) const {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t a = text.find('%', i);
    const std::size_t b = a == std::string::npos ? a : text.find('%', a + 1);
    if (b == std::string::npos) {
      out += text.substr(i);
      break;
    }
    out += text.substr(i, a - i);
    auto it = env_.find(text.substr(a + 1, b - a - 1));
    if (it != env_.end()) {
      out += it->second;
      i = b + 1;
    } else {
      // An unset name stays as written; its closing % may open the next.
      out += text.substr(a, b - a);
      i = b;
    }
  }
  if (out.size() > 255) out.resize(255);
  return out;
}

}  // namespace sq
