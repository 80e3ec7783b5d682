// The program's pages as they ship (GBK, next to the program), copied into
// the simulated work directory.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/sim/simdesktop.h"

namespace sq::testing {

inline void InstallPages(SimDesktop& sim) {
  namespace fs = std::filesystem;
  const fs::path root(SQ_PAGES_DIR);
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (!e.is_regular_file()) continue;
    std::ifstream in(e.path(), std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), {});
    std::string rel = fs::relative(e.path(), root).string();
    std::replace(rel.begin(), rel.end(), '/', '\\');
    fs::create_directories(fs::path(sim.hostPath(rel)).parent_path());
    ASSERT_TRUE(sim.writeFile(rel, data)) << rel;
  }
}

// The names of the shipped pages, each beginning with a backslash
// ("\ehelp\easyhelp.htm").
inline std::vector<std::string> ShippedPages() {
  namespace fs = std::filesystem;
  std::vector<std::string> pages;
  const fs::path root(SQ_PAGES_DIR);
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    const std::string ext = e.path().extension().string();
    if (!e.is_regular_file() || (ext != ".htm" && ext != ".html")) continue;
    std::string rel = fs::relative(e.path(), root).string();
    std::replace(rel.begin(), rel.end(), '/', '\\');
    pages.push_back("\\" + rel);
  }
  std::sort(pages.begin(), pages.end());
  return pages;
}

}  // namespace sq::testing
