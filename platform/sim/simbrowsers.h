// The browser controls of the simulated desktop and the pages they show:
// the pages a test sets by address, the files of the work directory for
// "file://" addresses, and which control's page the pointer is over.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/simbrowser.h"
#include "platform/sim/simfiles.h"

namespace sq {

class SimBrowsers {
 public:
  explicit SimBrowsers(const SimFiles& files) : files_(files) {}

  // Each control joins on creation and leaves when destroyed.
  void add(SimBrowser* b) { all_.push_back(b); }
  void remove(SimBrowser* b);
  const std::vector<SimBrowser*>& all() const { return all_; }
  // The control whose page window is w (nullptr: none).
  SimBrowser* ofPage(Wnd w) const;

  void setPage(const std::string& url, const std::string& title, const std::string& text);
  void setPageHtml(const std::string& url, const std::string& html);
  // What an address shows: its page as set, else a "file://" address's
  // file read as HTML, else a page that cannot be had.
  SimPage pageOf(const std::string& url) const;
  // When off, a navigation waits at readyState 3 to be finished.
  void setCompleteAtOnce(bool on) { completeAtOnce_ = on; }
  bool completeAtOnce() const { return completeAtOnce_; }

  // The pointer is over window t, at `client` in it: the page it left
  // hears so, the page it is over hears where.
  void pointerOver(Wnd t, Point client);

 private:
  const SimFiles& files_;
  std::vector<SimBrowser*> all_;
  std::map<std::string, SimPage> pages_;
  bool completeAtOnce_ = true;
  Wnd hover_ = 0;
};

}  // namespace sq
