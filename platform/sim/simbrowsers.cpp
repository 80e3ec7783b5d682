// The browser controls of the simulated desktop and their pages.
#include "platform/sim/simbrowsers.h"

#include <algorithm>

namespace sq {

void SimBrowsers::remove(SimBrowser* b) {
  all_.erase(std::remove(all_.begin(), all_.end(), b), all_.end());
}

SimBrowser* SimBrowsers::ofPage(Wnd w) const {
  if (!w) return nullptr;
  for (SimBrowser* b : all_)
    if (b->page() == w) return b;
  return nullptr;
}

void SimBrowsers::setPage(const std::string& url, const std::string& title,
                          const std::string& text) {
  SimPage p;
  p.found = true;
  p.title = title;
  p.text = text;
  pages_[url] = p;
}

void SimBrowsers::setPageHtml(const std::string& url, const std::string& html) {
  pages_[url] = SimPage::FromHtml(html);
}

SimPage SimBrowsers::pageOf(const std::string& url) const {
  auto it = pages_.find(url);
  if (it != pages_.end()) return it->second;
  const std::string scheme = "file://";
  if (url.rfind(scheme, 0) != 0) return {};
  std::string path = url.substr(scheme.size());
  // "file:///C:/dir/page.htm" as well as "file://C:\dir\page.htm".
  if (path.size() > 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
  std::replace(path.begin(), path.end(), '/', '\\');
  std::string html;
  if (!files_.read(path, html)) return {};
  return SimPage::FromHtml(html);
}

void SimBrowsers::pointerOver(Wnd t, Point client) {
  if (hover_ && hover_ != t)
    if (SimBrowser* b = ofPage(hover_)) b->pointerLeft();
  hover_ = 0;
  if (SimBrowser* b = ofPage(t)) {
    hover_ = t;
    b->pointerAt(client);
  }
}

}  // namespace sq
