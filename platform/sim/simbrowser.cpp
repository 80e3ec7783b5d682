// The simulated web browser control (see simbrowser.h for the order of its
// events and the layout of a page's links).
#include "platform/sim/simbrowser.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/sim/simdesktop.h"
#include "platform/sim/simtext.h"

namespace sq {

namespace {

constexpr int kLinkLeft = 8, kLinkTop = 4, kLinkPitch = 20, kLinkHeight = 16;

// The value of attribute `name` in the tag text `tag` (lower-cased copy
// `low` for the search), quoted or bare; "" when absent.
std::string Attribute(const std::string& tag, const std::string& low, const std::string& name) {
  std::size_t i = 0;
  while ((i = low.find(name, i)) != std::string::npos) {
    const bool starts = i > 0 && (low[i - 1] == ' ' || low[i - 1] == '\t' || low[i - 1] == '\n' ||
                                  low[i - 1] == '\r');
    std::size_t j = i + name.size();
    while (j < low.size() && low[j] == ' ') ++j;
    if (!starts || j >= low.size() || low[j] != '=') {
      i += name.size();
      continue;
    }
    ++j;
    while (j < low.size() && low[j] == ' ') ++j;
    if (j < tag.size() && (tag[j] == '"' || tag[j] == '\'')) {
      const std::size_t e = tag.find(tag[j], j + 1);
      return tag.substr(j + 1, (e == std::string::npos ? tag.size() : e) - j - 1);
    }
    std::size_t e = j;
    while (e < tag.size() && tag[e] != ' ' && tag[e] != '>') ++e;
    return tag.substr(j, e - j);
  }
  return "";
}

std::string StripTags(const std::string& html, std::size_t from, std::size_t to) {
  std::string text;
  bool inTag = false;
  for (std::size_t i = from; i < to && i < html.size(); ++i) {
    const char c = html[i];
    if (c == '<') inTag = true;
    else if (c == '>') inTag = false;
    else if (!inTag && c != '\r' && c != '\n') text += c;
  }
  return text;
}

bool HasScheme(const std::string& href) {
  for (std::size_t i = 0; i < href.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(href[i]);
    if (c == ':') return i > 1;  // "C:" is a drive, not a scheme
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return false;
}

}  // namespace

SimPage SimPage::FromHtml(const std::string& html) {
  SimPage p;
  p.found = true;
  const std::string low = simtext::LowerGbk(html);
  const std::size_t t = low.find("<title>"), te = low.find("</title>");
  if (t != std::string::npos && te != std::string::npos && te > t)
    p.title = html.substr(t + 7, te - t - 7);
  const std::size_t body = low.find("<body");
  const std::size_t from =
      body != std::string::npos ? body : te == std::string::npos ? 0 : te + 8;
  p.text = StripTags(html, from, html.size());
  for (std::size_t a = low.find("<a ", from); a != std::string::npos; a = low.find("<a ", a + 3)) {
    const std::size_t close = low.find('>', a);
    if (close == std::string::npos) break;
    const std::string tag = html.substr(a, close - a), ltag = low.substr(a, close - a);
    SimLink link;
    link.href = Attribute(tag, ltag, "href");
    link.target = Attribute(tag, ltag, "target");
    std::size_t end = low.find("</a>", close);
    link.text = StripTags(html, close + 1, end == std::string::npos ? html.size() : end);
    if (!link.href.empty()) p.links.push_back(link);
  }
  return p;
}

SimBrowser::SimBrowser(SimDesktop& desk, Wnd host, Wnd page, BrowserEvents* events)
    : desk_(&desk), host_(host), page_(page), events_(events) {
  desk.browsers_.add(this);
}

SimBrowser::~SimBrowser() {
  *alive_ = false;
  if (!desk_) return;
  desk_->browsers_.remove(this);
}

void SimBrowser::post(std::function<void()> fn) {
  std::weak_ptr<bool> alive = alive_;
  auto guarded = [alive, fn = std::move(fn)] {
    if (auto a = alive.lock(); a && *a) fn();
  };
  if (desk_) desk_->dispatch(guarded);
  else guarded();
}

bool SimBrowser::navigate(const std::string& url, unsigned flags) {
  if (url.empty() || url.size() > kMaxBrowserAddress) return false;
  requested_.push_back(url);
  requestedFlags_.push_back(flags);
  if (events_ && events_->beforeNavigate2(url)) return true;
  load(url, true);
  return true;
}

void SimBrowser::load(const std::string& url, bool addToHistory) {
  const unsigned gen = ++generation_;
  stage_ = Stage::Loading;
  loadingUrl_ = url;
  if (readyState_ == 0 || readyState_ == 4) readyState_ = 1;
  post([this, gen, url, addToHistory] {
    if (gen != generation_) return;
    if (events_) events_->downloadBegin();
    if (gen != generation_) return;
    SimPage p = desk_ ? desk_->browsers_.pageOf(url) : SimPage{};
    if (!p.found) {
      if (events_ && events_->navigateError(url, kNotFound)) {
        // The program kept the error page out: the old page stays.
        if (gen != generation_) return;
        stage_ = Stage::Idle;
        readyState_ = location_.empty() ? 0 : 4;
        if (events_) events_->downloadComplete();
        return;
      }
      if (gen != generation_) return;
      p.title = kErrorTitle;
      p.text = kErrorText;
      p.links.clear();
    }
    location_ = url;
    title_ = p.title;
    text_ = p.text;
    links_ = p.links;
    selected_ = false;
    hover_ = pressed_ = -1;
    if (addToHistory) {
      if (!history_.empty()) history_.resize(pos_ + 1);
      history_.push_back(url);
      pos_ = history_.size() - 1;
    }
    readyState_ = 3;
    if (events_) events_->navigateComplete2(url);
    if (gen != generation_) return;
    if (events_) events_->progressChange(50, 100);
    if (gen != generation_) return;
    stage_ = Stage::Loaded;
    if (!desk_ || desk_->browsers_.completeAtOnce()) completeLoad();
  });
}

void SimBrowser::completeLoad() {
  if (stage_ != Stage::Loaded) return;
  const unsigned gen = generation_;
  stage_ = Stage::Idle;
  if (events_) events_->titleChange(title_.empty() ? location_ : title_);
  if (gen != generation_) return;
  if (events_) events_->downloadComplete();
  if (gen != generation_) return;
  readyState_ = 4;
  if (events_) events_->documentComplete(location_);
}

void SimBrowser::finishLoading() {
  if (stage_ == Stage::Loaded) {
    completeLoad();
    return;
  }
  // A navigation set up by the test alone.
  readyState_ = 4;
  if (events_) {
    events_->documentComplete(location_);
    events_->downloadComplete();
  }
}

std::string SimBrowser::locationName() const { return title_.empty() ? location_ : title_; }

std::string SimBrowser::documentText() const { return location_.empty() ? "" : text_; }

void SimBrowser::execWB(int command, int option) {
  execs_.emplace_back(command, option);
  if (readyState_ != 4) return;
  if (command == olecmd::SelectAll) selected_ = true;
  else if (command == olecmd::ClearSelection) selected_ = false;
  else if (command == olecmd::Copy && selected_ && desk_) desk_->setClipboardText(text_);
}

void SimBrowser::goBack() {
  if (history_.empty() || pos_ == 0) return;
  if (events_ && events_->beforeNavigate2(history_[pos_ - 1])) return;
  --pos_;
  load(history_[pos_], false);
}

void SimBrowser::goForward() {
  if (pos_ + 1 >= history_.size()) return;
  if (events_ && events_->beforeNavigate2(history_[pos_ + 1])) return;
  ++pos_;
  load(history_[pos_], false);
}

void SimBrowser::refresh() {
  ++refreshes_;
  if (location_.empty()) return;
  const unsigned gen = ++generation_;
  post([this, gen] {
    if (gen != generation_) return;
    if (events_) events_->downloadBegin();
    if (desk_) {
      SimPage p = desk_->browsers_.pageOf(location_);
      if (p.found) {
        title_ = p.title;
        text_ = p.text;
        links_ = p.links;
      }
    }
    if (events_) events_->downloadComplete();
  });
}

void SimBrowser::stop() {
  ++stops_;
  if (stage_ == Stage::Idle) return;
  ++generation_;
  stage_ = Stage::Idle;
  readyState_ = location_.empty() ? 0 : 4;
  if (events_) events_->downloadComplete();
}

void SimBrowser::setFocus() {
  ++focusCalls_;
  if (desk_) desk_->setFocus(page_ ? page_ : host_);
}

Point SimBrowser::linkPoint(std::size_t k) const {
  if (k >= links_.size() || !desk_) return {};
  const Rect r = desk_->getWindowRect(page_);
  return {r.left + r.width / 2, r.top + kLinkTop + kLinkPitch * static_cast<int>(k) + kLinkHeight / 2};
}

int SimBrowser::linkAt(Point c) const {
  if (!desk_ || c.y < kLinkTop) return -1;
  const Rect r = desk_->getWindowRect(page_);
  if (c.x < kLinkLeft || c.x >= r.width - kLinkLeft) return -1;
  const int k = (c.y - kLinkTop) / kLinkPitch;
  if ((c.y - kLinkTop) % kLinkPitch >= kLinkHeight) return -1;
  return k < static_cast<int>(links_.size()) ? k : -1;
}

void SimBrowser::pointerAt(Point client) {
  const int k = linkAt(client);
  if (k == hover_) return;
  hover_ = k;
  const std::string text = k < 0 ? "" : resolve(links_[static_cast<std::size_t>(k)].href);
  post([this, text] {
    if (events_) events_->statusTextChange(text);
  });
}

void SimBrowser::pointerLeft() {
  if (hover_ < 0) return;
  hover_ = -1;
  post([this] {
    if (events_) events_->statusTextChange("");
  });
}

void SimBrowser::leftButton(bool down, Point client, bool shift) {
  const int k = linkAt(client);
  if (down) {
    pressed_ = k;
    pressAt_ = client;
    return;
  }
  const int was = pressed_;
  pressed_ = -1;
  // A press that moved more than a few pixels drags a selection over the
  // page's text (the whole of it, here); a click where it was pressed
  // clears the selection. A page without text has nothing to select.
  if (readyState_ == 4) {
    const bool moved = std::abs(client.x - pressAt_.x) > 3 || std::abs(client.y - pressAt_.y) > 3;
    selected_ = moved && !text_.empty();
  }
  if (k < 0 || k != was) return;
  const SimLink link = links_[static_cast<std::size_t>(k)];
  const bool newWindow = shift || (!link.target.empty() && link.target != "_self");
  // The control acts on the click from its own message, after the handler.
  post([this, link, newWindow] { follow(link, newWindow); });
}

std::string SimBrowser::resolve(const std::string& href) const {
  if (HasScheme(href)) return href;
  const std::size_t cut = location_.find_last_of("\\/");
  if (cut == std::string::npos) return href;
  std::string rel = href;
  const bool backslashes = location_[cut] == '\\';
  if (backslashes) std::replace(rel.begin(), rel.end(), '/', '\\');
  return location_.substr(0, cut + 1) + rel;
}

void SimBrowser::follow(const SimLink& link, bool newWindow) {
  const std::string url = resolve(link.href);
  if (newWindow) {
    openNewWindow(url, -1, -1);
    return;
  }
  if (url.size() > kMaxBrowserAddress) return;
  if (events_ && events_->beforeNavigate2(url)) return;
  load(url, true);
}

void SimBrowser::openNewWindow(const std::string& url, int width, int height) {
  // A browser no one listens to opens no window at all.
  if (!events_ || !desk_) return;
  NewWindowReply reply = events_->newWindow2();
  if (reply.cancel) return;
  if (!reply.into) {
    // The control opens a browser window of its own, outside the program.
    SimPage p = desk_->browsers_.pageOf(url);
    const int w = width > 0 ? width : 800, h = height > 0 ? height : 600;
    desk_->addWindow("IEFrame", (p.found && !p.title.empty() ? p.title : url), {40, 40, w, h});
    return;
  }
  const auto& all = desk_->browsers_.all();
  auto it = std::find(all.begin(), all.end(), reply.into);
  // Only a browser of this desktop other than the asking one can take it.
  if (it == all.end() || *it == this) return;
  SimBrowser* into = *it;
  if (into->events_) {
    if (width > 0) into->events_->windowSetWidth(width);
    if (height > 0) into->events_->windowSetHeight(height);
  }
  if (url.size() > kMaxBrowserAddress) return;
  if (into->events_ && into->events_->beforeNavigate2(url)) return;
  into->load(url, true);
}

void SimBrowser::scriptOpen(const std::string& url, int width, int height) {
  openNewWindow(resolve(url), width, height);
}

bool SimBrowser::fireBeforeNavigate2(const std::string& url) {
  return events_ && events_->beforeNavigate2(url);
}
NewWindowReply SimBrowser::fireNewWindow2() {
  return events_ ? events_->newWindow2() : NewWindowReply{};
}
void SimBrowser::fireStatusTextChange(const std::string& s) {
  if (events_) events_->statusTextChange(s);
}
void SimBrowser::fireTitleChange(const std::string& s) {
  title_ = s;
  if (events_) events_->titleChange(s);
}
void SimBrowser::fireDocumentComplete() { fireDocumentComplete(location_); }
void SimBrowser::fireDocumentComplete(const std::string& url) {
  if (events_) events_->documentComplete(url);
}
void SimBrowser::fireDownloadComplete() {
  if (events_) events_->downloadComplete();
}

}  // namespace sq
