// The Win32 backend of the platform seam: a thin mapping of sq::Platform
// onto user32, gdi32, shell32, advapi32 and ole32. Runs on the GUI thread
// only; the one message from another thread is the hook library's word
// (hook/hookmsg.h), which arrives through the queue like any other and is
// written into its caption by the rule of WordDelivery.
#pragma once

#include <windows.h>

#include <map>
#include <tuple>
#include <vector>
#include <string>
#include <unordered_map>
#include <utility>

#include "input/worddelivery.h"
#include "platform/platform.h"
#include "platform/pointerwatch.h"

namespace sq {

// Offers a key message to the browser control whose page has the focus
// (IOleInPlaceActiveObject::TranslateAccelerator); true when the control
// took it, and then it is not to be translated or dispatched.
bool TranslateBrowserKey(MSG& m);
// The browsers made before the message loop: StartWaitingBrowsers, when it
// starts, says whether any waits for its control; AttachNextWaitingBrowser
// makes the next one's and says whether more wait.
bool StartWaitingBrowsers();
bool AttachNextWaitingBrowser();

// Drops what the running timer handler has already asked of the desktop
// (Win32Platform::Glance), for acts outside the platform object (the
// browser control's).
void ForgetGlance();

class Win32Platform : public Platform {
 public:
  explicit Win32Platform(HINSTANCE inst);
  ~Win32Platform() override;

  // ---- windows ----
  Wnd createWindow(const WindowSpec& desc) override;
  void destroyWindow(Wnd w) override;
  bool isWindow(Wnd w) override;
  std::string getWindowText(Wnd w) override;
  std::string getWindowTextUpTo(Wnd w, std::size_t maxBytes) override;
  void setWindowText(Wnd w, const std::string& text) override;
  void setTextAlign(Wnd w, TextAlign align) override;
  std::string getClassName(Wnd w) override;
  Rect getBounds(Wnd w) override;
  void setBounds(Wnd w, const Rect& r) override;
  Rect getWindowRect(Wnd w) override;
  Rect getClientScreenRect(Wnd w) override;
  void showWindow(Wnd w, bool show) override;
  bool isWindowVisible(Wnd w) override;
  void enableWindow(Wnd w, bool enable) override;
  bool isWindowEnabled(Wnd w) override;
  void setWindowPos(Wnd w, ZOrder z, const Rect& r, unsigned flags) override;
  bool bringWindowToTop(Wnd w) override;
  bool setForegroundWindow(Wnd w) override;
  Wnd setActiveWindow(Wnd w) override;
  Wnd getForegroundWindow() override;
  Wnd getParent(Wnd w) override;
  bool isChild(Wnd parent, Wnd w) override;
  Wnd windowFromPoint(Point p) override;
  Wnd getTopWindow() override;
  std::vector<Wnd> enumWindows() override;
  Wnd findWindow(const std::string& className,
                 const std::optional<std::string>& caption = {}) override;
  bool setWindowRgnFromPicture(Wnd w, int width, int height,
                               const std::vector<int>& pixels, int key) override;
  bool setPicture(Wnd w, int width, int height, const std::vector<int>& pixels) override;
  void closeWindow(Wnd w) override;
  unsigned windowProcessId(Wnd w) override;
  WindowState windowState(Wnd w) override;
  void restoreWindow(Wnd w) override;
  void setFocus(Wnd w) override;

  // ---- caption mailboxes ----
  void mailboxSeen(Wnd w) override;

  // ---- control state ----
  int listCount(Wnd w) override;
  std::string listItem(Wnd w, int i) override;
  void listInsert(Wnd w, int i, const std::string& s) override;
  void listDelete(Wnd w, int i) override;
  void listSet(Wnd w, int i, const std::string& s) override;
  void listClear(Wnd w) override;
  int listSelected(Wnd w) override;
  void listSelect(Wnd w, int i) override;
  bool isChecked(Wnd w) override;
  void setChecked(Wnd w, bool on) override;
  int listViewAdd(Wnd w, const std::string& caption, std::uintptr_t icon) override;
  int listViewHitTest(Wnd w, Point client) override;
  void listViewSetHot(Wnd w, int row) override;
  int listViewTopIndex(Wnd w) override;
  void listViewScroll(Wnd w, int rows) override;
  int listViewRowHeight(Wnd w) override;
  void listViewSetColumnWidth(Wnd w, int width) override;
  int listItemFromPoint(Wnd w, Point client) override;

  // ---- pointer and keyboard ----
  Point getCursorPos() override;
  void setCursorPos(Point p) override;
  bool isKeyDown(int vk) override;
  void setCapture(Wnd w) override;
  void releaseCapture() override;
  void setCursorShape(CursorShape shape) override;
  void keybdEvent(int vk, int scan, unsigned flags) override;
  void mouseEvent(unsigned flags, int dx, int dy, int data) override;
  unsigned getCaretBlinkTime() override;
  int getSystemMetrics(int index) override;
  void dragScrollBegin(const DragScrollRequest& r) override;   // win32_drag.cpp
  void dragScrollEnd() override;
  DragScrollState dragScrollState() override;

  // ---- clipboard ----
  bool getClipboardTextUpTo(std::size_t maxBytes, std::string& out) override;
  bool setClipboardText(const std::string& text) override;
  void closeClipboard() override;
  bool clipboardPrivate() override;
  std::uint32_t clipboardSequence() override;

  // ---- time ----
  std::uint32_t tickCount() override;
  void sleep(unsigned ms) override;
  void setTimer(Wnd owner, unsigned id, unsigned ms, TimerProc proc) override;
  void killTimer(Wnd owner, unsigned id) override;

  // ---- process ----
  int messageBox(Wnd owner, const std::string& text, const std::string& caption,
                 unsigned buttons = mb::Ok) override;
  int runMessageLoop() override;
  void postQuit(int code) override;
  [[noreturn]] void exitProcess(int code) override;
  HookInstall installHooks(const std::string& library, Wnd input) override;
  void setHookMailbox(Mailbox box, Wnd w) override;
  std::vector<ProcessImage> processImages(const std::vector<unsigned>& pids) override;
  std::string systemString(SystemString which) override;
  std::string expandEnvironment(const std::string& text) override;

  // ---- shell ----
  bool trayAdd(const TrayIcon& icon) override;
  bool trayModify(const TrayIcon& icon) override;
  bool trayDelete(Wnd owner, unsigned id) override;
  bool appBarNew(Wnd w) override;
  bool appBarSetPos(Wnd w, int edge, const Rect& r) override;
  bool appBarRemove(Wnd w) override;
  Rect taskbarRect() override;
  int shellExecute(Wnd owner, const std::string& verb, const std::string& file,
                   const std::string& params, const std::string& dir, int show) override;
  std::optional<std::string> specialFolder(int csidl) override;
  bool createShellLink(const std::string& linkPath, const ShellLink& link) override;
  std::uintptr_t fileIcon(const std::string& path) override;

  // ---- registry ----
  bool regSetValue(const std::string& key, const std::string& name,
                   const std::string& value) override;
  bool regDeleteKey(const std::string& key) override;

  // ---- screen ----
  int screenWidth() override;
  int screenHeight() override;
  int getPixel(Point p) override;
  std::vector<Monitor> monitors() override;
  void setFontDpi(Wnd w, int dpi) override;

  // ---- files ----
  std::string currentDirectory() override;
  bool fileExists(const std::string& name) override;
  ReadResult readFileUpTo(const std::string& name, std::size_t maxBytes,
                          std::string& out) override;
  bool writeFile(const std::string& name, const std::string& data) override;
  bool deleteFile(const std::string& name) override;
  std::vector<std::string> listFiles(const std::string& dir, std::size_t max) override;

  // ---- browser ----
  std::unique_ptr<WebBrowser> createBrowser(Wnd host, BrowserEvents* events) override;

  // ---- events ----
  void setClickHandler(Wnd w, std::function<void()> fn) override;
  void setCloseHandler(Wnd w, std::function<void()> fn) override;
  int trackPopupMenu(Wnd owner, const std::vector<MenuEntry>& entries, Point at) override;
  void setEventHandler(Wnd w, UiEventHandler fn) override;
  void setTrayHandler(Wnd owner, std::function<void(TrayEvent)> fn) override;

  // The tray icons' and the desktop toolbar's callback messages.
  static constexpr UINT kTrayCallback = WM_APP + 100;
  static constexpr UINT kAppBarCallback = WM_USER + 100;

 private:
  struct Info {
    Kind kind = Kind::Panel;
    bool topLevel = false;
    std::string className;  // forms: their registered class
    int color = -1, fontColor = -1;
    TextAlign align = TextAlign::Center;
    std::string fontName;
    int fontSize = 0;
    HBRUSH brush = nullptr;
    std::function<void()> onClick, onClose;
    UiEventHandler onEvent;
    std::function<void(TrayEvent)> onTray;
    WNDPROC orig = nullptr;   // a subclassed system control's own procedure
    bool tracking = false;    // TrackMouseEvent asked for the leave
    bool leftPressed = false; // a left press on a panel that may become a click
    int hot = -1;             // list views: the row under the pointer
    bool dormant = false;     // list boxes: redraw off while unseen
    std::vector<int> picture; // setPicture: BGR, stretched over the client area
    int pictureWidth = 0, pictureHeight = 0;
    // The window's text as the system holds it, for windows whose text
    // only WM_SETTEXT changes (forms, panels, labels, buttons): every
    // writer, this program, its hook thread or another process, reaches
    // the window procedure with it, where the copy follows. Unknown until
    // first read.
    bool textKnown = false;
    std::wstring text;
    // The same text in GBK, as the core reads it (made at the first read
    // after each change: the timers read some captions at every tick).
    bool gbkKnown = false;
    std::string gbk;
    void keep(std::wstring t) {
      text = std::move(t);
      textKnown = true;
      gbkKnown = false;
    }
    // List boxes: the items as the control holds them, followed the same
    // way through every LB_ message that changes them.
    bool itemsKnown = false;
    std::vector<std::string> items;
  };
  // Whether a window's text is kept in the process (Info::text).
  static bool KeepsText(const Info& in);
  // The text of one of the program's windows: the kept copy, else the
  // system's (kept from then on where it can be).
  const std::wstring* keptText(HWND h);
  // The same, in GBK.
  const std::string* keptGbk(HWND h);
  // A list box's items, read once from the control and then followed.
  const std::vector<std::string>* keptItems(HWND h);
  // Follows a list box message the control has handled.
  void followList(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT r);

  static LRESULT CALLBACK WindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  static void CALLBACK TimerThunk(HWND h, UINT msg, UINT_PTR id, DWORD time);
  static void CALLBACK GroupThunk(HWND h, UINT msg, UINT_PTR id, DWORD time);
  LRESULT handle(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  // Raises the control events of one message; true when a handler
  // swallowed it (a key set to 0).
  bool raiseEvents(HWND h, Info& in, UINT msg, WPARAM wp, LPARAM lp);
  bool raise(HWND h, UiEvent& e);
  // The default handling: the subclassed control's own procedure, else
  // DefWindowProc.
  LRESULT fallback(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  void registerClass(const std::wstring& name);
  HFONT font(const std::string& name, int size, int dpi);
  Info* info(HWND h);
  // List boxes that show nothing keep their redraw off until seen.
  template <class F>
  void changeList(HWND h, F change);
  void wakeExposed();
  std::vector<HWND> dormant_;
  // What the timer handlers have just asked of the desktop: the window
  // under a point, the class and the parent of a window, the first window
  // of a class, the foreground window and the top of the z-order. Under
  // Wine each is a round trip to the server, and the seven timers ask the
  // same again and again while nothing happens.
  // The answers hold while nothing can have changed them: they are dropped
  // as soon as the program acts (makes or activates a window, synthesises
  // input, sleeps, opens a dialog), so that it sees the effect of its own
  // acts (moving, showing or hiding one of its own windows without
  // activating it drops only what lies under a point and on top; writing
  // its own captions drops nothing); as soon as anything but a timer's
  // message or a key's word reaches the message loop (every button and
  // wheel turn comes as the hook's word) or news of a change reaches one of
  // the program's windows (activation, another program's move, a caption
  // another program writes); and after kGlanceUs, which bounds how late a
  // change nobody told of (another program's window opening under a
  // resting pointer, or in answer to a key) is seen. The pointer
  // itself is kept per handler only; across handlers the hook's count of
  // mouse events says whether it moved (PointerWatch).
  static constexpr long long kGlanceUs = 100000;
  // The same once no key or mouse event came for kQuietAfterMs.
  static constexpr long long kQuietGlanceUs = 250000;
  static constexpr DWORD kQuietAfterMs = 1000;
  struct Glance {
    long long takenUs = 0;  // when its first shared answer was asked (0: none)
    bool cursorKnown = false;  // the running handler's pointer
    Point cursor;
    std::vector<std::pair<Point, Wnd>> under;
    std::vector<std::pair<Wnd, std::string>> classes;
    std::vector<std::pair<Wnd, Wnd>> parents;
    std::vector<std::pair<std::string, Wnd>> found;
    bool foregroundKnown = false;
    Wnd foreground = 0;
    bool topKnown = false;
    Wnd top = 0;
    // Other programs' windows only (the program's own are read in the
    // process): their place, whether they are visible, their state.
    std::vector<std::pair<Wnd, Rect>> rects;
    std::vector<std::pair<Wnd, bool>> visible;
    std::vector<std::pair<Wnd, WindowState>> states;
    std::vector<std::pair<Wnd, bool>> enabled;
    std::vector<std::pair<std::pair<Wnd, Wnd>, bool>> children;  // (parent, window): its child
  };
  Glance glance_;
  int handlerDepth_ = 0;  // timer handlers running (nested in dialogs)
  // Stamps the glance with the time of its first answer.
  void noteGlance();
  // What ask() answers about another program's window w (under key), kept
  // in the glance while a timer handler runs; the program's own windows are
  // always asked.
  template <class K, class V, class Ask>
  V glanced(std::vector<std::pair<K, V>>& kept, const K& key, Wnd w, Ask ask);
  template <class V, class Ask>
  V glanced(std::vector<std::pair<Wnd, V>>& kept, Wnd w, Ask ask) {
    return glanced(kept, w, w, ask);
  }
  // At a timer handler's start: the pointer is asked afresh, the rest of
  // the glance kept while it is young.
  void glanceAtHandlerStart();
  // No key or mouse event came for kQuietAfterMs (the hook's counts).
  bool inputQuiet();
  // Timers set before the first message loop start together when it
  // begins (none could run before it), so their ticks fall together, and
  // those of one period on one system timer (the group's id on util_ is
  // kGroupTimer plus its index; the program's own ids never have the top
  // bit). A timer set again or killed later leaves its group.
  std::vector<std::tuple<HWND, UINT_PTR, UINT>> pendingTimers_;
  bool timersStarted_ = false;
  struct TimerGroup {
    UINT ms;
    std::vector<std::pair<HWND, UINT_PTR>> members;
  };
  std::vector<TimerGroup> groups_;
  static constexpr UINT_PTR kGroupTimer = 0x80000000u;
  void startPendingTimers();
  void leaveGroup(HWND h, UINT_PTR id);

 public:
  void forgetGlance() { glance_ = Glance{}; }

 private:
  bool waking_ = false;
  // The program moves, sizes, shows or hides one of its own windows without
  // activating it: what lies under a point and which window is on top may
  // change; other programs' windows, the window in front and the classes
  // and parents of windows do not.
  void forgetPlaces() {
    glance_.under.clear();
    glance_.topKnown = false;
    glance_.top = 0;
  }
  struct OwnPlaceChange {
    explicit OwnPlaceChange(Win32Platform& p) : p_(p) {
      p_.forgetPlaces();
      ++p_.ownPlaceChange_;
    }
    ~OwnPlaceChange() { --p_.ownPlaceChange_; }
    OwnPlaceChange(const OwnPlaceChange&) = delete;
    OwnPlaceChange& operator=(const OwnPlaceChange&) = delete;
    Win32Platform& p_;
  };
  int ownPlaceChange_ = 0;  // OwnPlaceChange under way
  // The hook's word and the delivery of waiting words: each decides
  // whether the glance goes (applyWord).
  static bool IsWordMessage(UINT msg);
  // The program writes the text of one of its own windows: its WM_SETTEXT
  // changes nothing the timer handlers looked up.
  bool ownTextWrite_ = false;
  struct OwnTextWrite {
    OwnTextWrite(Win32Platform& p, bool own) : p_(p), was_(p.ownTextWrite_) {
      p_.ownTextWrite_ = own;
    }
    ~OwnTextWrite() { p_.ownTextWrite_ = was_; }
    OwnTextWrite(const OwnTextWrite&) = delete;
    OwnTextWrite& operator=(const OwnTextWrite&) = delete;
    Win32Platform& p_;
    bool was_;
  };
  void applyWord(LPARAM block);
  void writeWord(HWND to, const Word& word);
  void deliverWaiting(HWND w);
  void paintPanel(HWND h, Info& in);
  HWND timerOwner(Wnd owner);
  // Memo lines live in the edit's text.
  std::vector<std::string> memoLines(HWND h);
  void setMemoLines(HWND h, const std::vector<std::string>& lines);
  static void Run(const std::function<void()>& fn);

  HINSTANCE inst_;
  HWND util_ = nullptr;  // hidden window for timers without an owner
  std::unordered_map<HWND, Info> infos_;
  std::map<std::wstring, bool> classes_;
  std::map<std::tuple<std::string, int, int>, HFONT> fonts_;
  std::vector<Monitor> monitors_;
  DWORD monitorsAt_ = 0;
  bool monitorsValid_ = false;
  std::map<std::pair<HWND, UINT_PTR>, TimerProc> timers_;
  std::map<std::string, HICON> icons_;
  WordDelivery delivery_;  // the hook's words waiting for their readers
  HWND mailboxes_[3] = {nullptr, nullptr, nullptr};
  // Word trace for the end-to-end soak: with SQ_WORD_TRACE naming a file,
  // each new caption of a mailbox, whoever wrote it ("W box text"), each
  // new caption its reader has read ("S box text"), each word dropped from
  // a full line ("D box text") and each conditional word skipped ("K box
  // text") is appended to it; the hook library writes its own beside it.
  HANDLE wordTrace_ = INVALID_HANDLE_VALUE;
  std::string traceSeen_[3];
  void traceWord(char kind, HWND box, const std::string& text);
  HMODULE hookLib_ = nullptr;
  // The hook library's drag-scrolling entry points (optional exports).
  using SetDragFn = void(__stdcall*)(HWND, int, int, int, int, int);
  using GetDragFn = int(__stdcall*)();
  SetDragFn setDrag_ = nullptr;
  GetDragFn getDrag_ = nullptr;
  // The hook's count of mouse events (optional export), and what it says
  // of the pointer's last read.
  using PointerEventsFn = unsigned(__stdcall*)(DWORD*);
  PointerEventsFn pointerEvents_ = nullptr;
  PointerWatch pointer_;
  PointerEventsFn keyEvents_ = nullptr;  // the same count for key events
  KeyWatch keys_;
  HWND dragTarget_ = nullptr;
  bool comReady_ = false;
  bool oleTried_ = false;
  int nextId_ = 100;
  // Posted to util_ while browsers wait for their controls.
  static constexpr UINT kAttachBrowserMessage = WM_APP + 0x3A3;

 public:
  // OleInitialize on the GUI thread, once, before the first use of COM (a
  // browser's control calls it when it is made).
  void ensureOle();
};

}  // namespace sq
