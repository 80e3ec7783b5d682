// The web browser control of the simulated desktop.
//
// A SimBrowser shows pages the test gives it (SimDesktop::setPage) or files
// of the work directory addressed "file://" + path, and raises the control's
// events in the order the real control raises them (platform.h):
//
//   navigate(url)      beforeNavigate2(url)            inside the call
//   then, after the running handler returns (the control's own messages):
//                      downloadBegin
//                      navigateComplete2(url)           the address is now
//                                                       locationURL
//                      titleChange(title, else the address)
//                      downloadComplete
//                      documentComplete(url)            readyState 4
//
// A page that cannot be had (no such file, no page set for the address, a
// scheme the control does not know such as "qir://") raises, after
// downloadBegin, navigateError(url, kNotFound); unless the program answers
// true the control's error page takes its place: the address stays the one
// asked for, the title is kErrorTitle and the text kErrorText, and the rest
// of the sequence follows as for a page.
//
// The order is the one the control documents for these events; the parts
// Wine's control raises without its HTML engine (beforeNavigate2 inside the
// call, navigateComplete2 and the address) were checked end to end.
//
// Links. A page's links (<a href=... target=...>) are laid out one to a
// row in the page window ("Internet Explorer_Server", filling the host):
// link k takes the box x 8 .. width-8, y 4+20k .. 4+20k+16 of that window.
// The pointer entering a link's box raises statusTextChange(address); leaving
// it raises statusTextChange(""). A left click (press and release on the
// same link) follows it: a link with a target other than "" and "_self", or
// clicked with Shift held, asks for a new window (newWindow2, then the
// navigation on the browser handed back; with no answer a top-level window
// of class "IEFrame" of its own, outside the program); any other link
// navigates this browser (beforeNavigate2 ... as navigate). Relative
// addresses are resolved against the page's folder.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace sq {

class SimDesktop;

// A link of a page as the simulated control reads it.
struct SimLink {
  std::string href;    // as written in the page
  std::string target;  // "" when none
  std::string text;    // the link's text, tags removed
};

// What an address shows.
struct SimPage {
  bool found = false;
  std::string title, text;
  std::vector<SimLink> links;
  // Title, text (tags removed, from the body on) and links of a page.
  static SimPage FromHtml(const std::string& html);
};

class SimBrowser : public WebBrowser {
 public:
  static constexpr long kNotFound = static_cast<long>(0x800C0005);  // INET_E_RESOURCE_NOT_FOUND
  static constexpr const char* kErrorTitle = "无法显示网页";
  static constexpr const char* kErrorText = "无法显示网页。找不到该网页或该网页暂时不可用。";

  SimBrowser(SimDesktop& desk, Wnd host, Wnd page, BrowserEvents* events);
  ~SimBrowser() override;

  Wnd window() const override { return host_; }
  bool navigate(const std::string& url, unsigned flags = 0) override;
  std::string locationURL() const override { return location_; }
  std::string locationName() const override;
  int readyState() const override { return readyState_; }
  // SelectAll selects the whole text, ClearSelection none; Copy puts the
  // selected text on the clipboard; the rest are recorded only. Nothing
  // happens while no document is complete.
  void execWB(int command, int option) override;
  void goBack() override;
  void goForward() override;
  // Reloads the shown page: downloadBegin, downloadComplete (the control
  // raises no navigation events for a refresh).
  void refresh() override;
  // Drops a navigation not yet complete (downloadComplete follows).
  void stop() override;
  void setFocus() override;
  std::string documentText() const override;

  // ---- for the tests ----
  Wnd page() const { return page_; }  // the "Internet Explorer_Server" window
  BrowserEvents* events() const { return events_; }
  // Every address passed to navigate and not refused, cancelled ones
  // included, with its flags.
  const std::vector<std::string>& requested() const { return requested_; }
  const std::vector<unsigned>& requestedFlags() const { return requestedFlags_; }
  // The addresses shown, in order (back/forward not included).
  const std::vector<std::string>& history() const { return history_; }
  const std::vector<std::pair<int, int>>& execs() const { return execs_; }
  int refreshes() const { return refreshes_; }
  int stops() const { return stops_; }
  int focusCalls() const { return focusCalls_; }
  // The links of the shown page, and the screen point at the middle of
  // link k's box (0, 0 when there is no such link).
  const std::vector<SimLink>& links() const { return links_; }
  Point linkPoint(std::size_t k) const;
  void setDocumentText(const std::string& t) { text_ = t; }
  void setTitle(const std::string& t) { title_ = t; }
  void setReadyState(int s) { readyState_ = s; }
  // With SimDesktop::setBrowsersCompleteAtOnce(false) a navigation stops
  // at readyState 3 after navigateComplete2; this raises the rest.
  void finishLoading();
  // The page runs window.open(url) with a size of its own: newWindow2,
  // and in the browser handed back windowSetWidth, windowSetHeight and the
  // navigation.
  void scriptOpen(const std::string& url, int width, int height);
  // Raise one of the control's events towards the program, as the page or
  // the control would on its own.
  bool fireBeforeNavigate2(const std::string& url);
  NewWindowReply fireNewWindow2();
  void fireStatusTextChange(const std::string& s);
  void fireTitleChange(const std::string& s);
  void fireDocumentComplete();  // for the current location
  void fireDocumentComplete(const std::string& url);
  void fireDownloadComplete();
  void detach() { desk_ = nullptr; }

  // ---- for the simulated desktop ----
  // The pointer is at `client` in the page window (hover), or left it.
  void pointerAt(Point client);
  void pointerLeft();
  // A left button press or release at `client` in the page window; a
  // release away from the press selects the page's text, one where it
  // was pressed clears the selection.
  void leftButton(bool down, Point client, bool shift);

 private:
  enum class Stage { Idle, Loading, Loaded };
  // Starts a navigation after beforeNavigate2 let it go.
  void load(const std::string& url, bool addToHistory);
  void completeLoad();
  void follow(const SimLink& link, bool newWindow);
  void openNewWindow(const std::string& url, int width, int height);
  std::string resolve(const std::string& href) const;
  int linkAt(Point client) const;
  void post(std::function<void()> fn);

  SimDesktop* desk_;
  Wnd host_, page_;
  BrowserEvents* events_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::string location_, title_, text_;
  std::vector<SimLink> links_;
  bool selected_ = false;
  int readyState_ = 0;
  Stage stage_ = Stage::Idle;
  unsigned generation_ = 0;  // a newer navigation or stop drops older work
  std::string loadingUrl_;
  int hover_ = -1, pressed_ = -1;
  Point pressAt_;  // client point of the last left press
  std::vector<std::string> requested_, history_;
  std::vector<unsigned> requestedFlags_;
  std::size_t pos_ = 0;  // index in history_ of the location
  std::vector<std::pair<int, int>> execs_;
  int refreshes_ = 0, stops_ = 0, focusCalls_ = 0;
};

}  // namespace sq
