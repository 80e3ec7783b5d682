#include "platform/sim/simfiles.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/sim/simtext.h"

namespace sq {

namespace fs = std::filesystem;

SimFiles::SimFiles() {
  char tmpl[] = "/tmp/sqsim-XXXXXX";
  if (!mkdtemp(tmpl)) throw std::runtime_error("SimDesktop: cannot create a work directory");
  workDir_ = tmpl;
}

SimFiles::~SimFiles() {
  std::error_code ec;
  fs::remove_all(workDir_, ec);
}

std::string SimFiles::hostPath(const std::string& name) const {
  std::string rel = name;
  std::string prefix = simtext::LowerGbk(curDir_ + "\\");
  if (simtext::LowerGbk(rel.substr(0, prefix.size())) == prefix) {
    rel = rel.substr(prefix.size());
  } else if ((rel.size() >= 2 && rel[1] == ':') || rel.rfind("\\\\", 0) == 0) {
    return {};  // another place on the Windows side: not in the work directory
  }
  while (!rel.empty() && (rel.front() == '\\' || rel.front() == '/')) rel.erase(rel.begin());
  if (rel.empty()) return {};
  // Separators: only a backslash that is not the trail byte of a character.
  for (std::size_t i = 0; i < rel.size(); ++i) {
    if (simtext::IsLead(static_cast<unsigned char>(rel[i]))) {
      ++i;
      continue;
    }
    if (rel[i] == '\\') rel[i] = '/';
  }
  return workDir_ + "/" + rel;
}


bool SimFiles::exists(const std::string& name) const {
  std::string p = hostPath(name);
  std::error_code ec;
  return !p.empty() && fs::is_regular_file(fs::path(p), ec);
}

bool SimFiles::read(const std::string& name, std::string& out) const {
  std::string p = hostPath(name);
  if (p.empty() || readsFail_) return false;
  std::ifstream f(p, std::ios::binary);
  if (!f) return false;
  out.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  return true;
}

Platform::ReadResult SimFiles::readUpTo(const std::string& name, std::size_t maxBytes,
                                         std::string& out) const {
  out.clear();
  std::string p = hostPath(name);
  if (p.empty() || readsFail_) return Platform::ReadResult::Failed;
  std::ifstream f(p, std::ios::binary);
  if (!f) return Platform::ReadResult::Failed;
  std::error_code ec;
  const auto size = fs::file_size(fs::path(p), ec);
  if (ec) return Platform::ReadResult::Failed;
  const std::size_t want = size > maxBytes ? maxBytes : static_cast<std::size_t>(size);
  out.resize(want);
  f.read(out.data(), static_cast<std::streamsize>(want));
  if (static_cast<std::size_t>(f.gcount()) != want) {
    out.clear();
    return Platform::ReadResult::Failed;
  }
  return size > maxBytes ? Platform::ReadResult::Partial : Platform::ReadResult::Whole;
}

bool SimFiles::write(const std::string& name, const std::string& data) {
  std::string p = hostPath(name);
  if (p.empty()) return false;
  ++writes_;
  const std::string tmp = p + kTempSuffix;
  std::size_t n = data.size();
  const bool killed = killWriteAfter_ && *killWriteAfter_ < n;
  if (killed) n = *killWriteAfter_;
  killWriteAfter_.reset();
  {
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f.write(data.data(), static_cast<std::streamsize>(n));
    if (!f) return false;
  }
  if (killed) return false;  // the process is gone; the temporary stays
  std::error_code ec;
  fs::rename(fs::path(tmp), fs::path(p), ec);
  if (ec) {
    fs::remove(fs::path(tmp), ec);
    return false;
  }
  return true;
}

std::vector<std::string> SimFiles::list(const std::string& dir, std::size_t max) const {
  std::vector<std::string> out;
  const std::string p = hostPath(dir);
  std::error_code ec;
  if (p.empty() || !std::filesystem::is_directory(p, ec)) return out;
  for (const auto& e : std::filesystem::directory_iterator(p, ec))
    if (e.is_regular_file(ec)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  if (out.size() > max) out.resize(max);
  return out;
}

bool SimFiles::remove(const std::string& name) {
  std::string p = hostPath(name);
  std::error_code ec;
  return !p.empty() && fs::is_regular_file(fs::path(p), ec) && fs::remove(fs::path(p), ec);
}

}  // namespace sq
