// Forms and controls built from stored layouts.
//
// A Form is a top-level window made from its layout file (layouts/NAME.form);
// every control of the layout becomes a child window and a `Control` object
// reachable by name. State lives in the windows themselves: a control's
// caption, bounds, visibility, list items and check mark are read from and
// written to the platform on every access, so another window (or another
// process) that writes a caption is seen at once.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/frame/host.h"
#include "app/frame/layout.h"
#include "app/frame/screens.h"
#include "platform/platform.h"

namespace sq {

class App;
class Form;

// The framework's list error, raised by an out-of-range list access; the
// handler that raised it is abandoned and a message box names the index.
struct ListIndexError : std::runtime_error {
  int index;
  explicit ListIndexError(int i);
};

// The framework's file error ("Cannot create file %s").
struct FileCreateError : std::runtime_error {
  explicit FileCreateError(const std::string& name);
};

// Sizes and child positions are 96-DPI units, as the layouts store them: a
// control's Left/Top/Width/Height read and write its window scaled by the
// DPI of the monitor its form is on. A form's own Left and Top are screen
// pixels (the pointer's coordinates); its Width and Height are 96-DPI units.
// Handler types of the control events, as the layouts' handlers take them:
// `Panel12MouseMove(Shift, X, Y)`, `ListView1MouseDown(Button, Shift, X, Y)`,
// `Edit1KeyPress(Key)` ... X and Y are the control's client coordinates.
using MouseButtonHandler = std::function<void(MouseButton, ShiftState, int x, int y)>;
using MouseMoveHandler = std::function<void(ShiftState, int x, int y)>;
using MouseWheelHandler = std::function<void(ShiftState, int delta, Point at)>;
using KeyHandler = std::function<void(int& key, ShiftState)>;       // key 0: swallowed
using KeyPressHandler = std::function<void(char& key)>;             // key 0: swallowed

// The handlers of a control's events, wired by the form that owns the
// control: the pointer's, the keyboard's, and those of timers and forms.
struct PointerHandlers {
  std::function<void()> OnClick;
  std::function<void()> OnMouseEnter, OnMouseLeave, OnDblClick;
  MouseMoveHandler OnMouseMove;
  MouseButtonHandler OnMouseDown, OnMouseUp;
  // Called once per wheel event with its whole delta (several notches may
  // come as one delta of several times 120); a delta of 0 calls nothing.
  MouseWheelHandler OnMouseWheel;
};

struct KeyboardHandlers {
  KeyHandler OnKeyDown, OnKeyUp;
  KeyPressHandler OnKeyPress;
};

struct WindowHandlers {
  std::function<void()> OnTimer;
  // Forms: the window became or stopped being the active window; the DPI
  // it is shown at changed; the monitors changed.
  std::function<void()> OnActivate, OnDeactivate;
  std::function<void(int dpi)> OnDpiChanged;
  std::function<void()> OnDisplayChange;
};

// A timer's interval, whether it is enabled, and whether it runs (an
// enabled timer runs once its form's host does).
struct TimerState {
  unsigned interval = 0;
  bool enabled = false;
  bool running = false;
};

class Control : public PointerHandlers, public KeyboardHandlers, public WindowHandlers {
 public:
  // `dpi`: what the new window is scaled for (its form's DPI).
  Control(Form* form, Platform& p, const ControlLayout& layout, Wnd parentWnd, int dpi = 96);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  const std::string& Name() const { return layout_.name; }
  Kind kind() const { return layout_.kind; }
  Wnd Handle() const { return wnd_; }
  Form* owner() const { return form_; }

  std::string Caption() const;
  void SetCaption(const std::string& s);
  // Where a panel's caption sits: left-justified, centred or right-justified.
  void SetAlignment(TextAlign a) { p_.setTextAlign(wnd_, a); }
  // Text is Caption for most controls; for lists and memos, all lines
  // joined by CR LF. SetText on a list replaces its items by the lines.
  std::string Text() const;
  void SetText(const std::string& s);

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  Rect Bounds() const;
  void SetLeft(int v);
  void SetTop(int v);
  void SetWidth(int v);
  void SetHeight(int v);
  void SetBounds(int l, int t, int w, int h);

  bool Visible() const;
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const;
  void SetEnabled(bool v);
  // Bring this window to the top of its siblings.
  void BringToFront();

  // Lists (ListBox, Memo lines, ListView captions).
  int Count() const;
  std::string Item(int i) const;          // throws ListIndexError
  void SetItem(int i, const std::string& s);  // throws ListIndexError
  void Insert(int i, const std::string& s);   // throws when i > Count
  void Add(const std::string& s);
  void Delete(int i);                      // throws ListIndexError
  void Clear();
  int ItemIndex() const;
  void SetItemIndex(int i);

  // Check boxes and radio buttons.
  bool Checked() const;
  void SetChecked(bool on);

  // Timers.
  unsigned Interval() const { return timer_.interval; }
  bool TimerEnabled() const { return timer_.enabled; }
  void SetTimerEnabled(bool on);
  void SetInterval(unsigned ms);

  // Runs the handler an event of this control's window calls. The hover is
  // kept whole here: an Enter closes a hover whose Leave never came (the
  // pointer jumped off the screen), a repeated Enter or an unmatched Leave
  // calls nothing.
  void HandleEvent(UiEvent& e);
  // "Tqircom.Panel13" (a form: its class name alone), for traces.
  std::string TraceName() const;

  const ControlLayout& layout() const { return layout_; }

 protected:
  friend class Form;
  void startTimer();
  void RunEvent(UiEvent& e);
  Form* form_;
  Platform& p_;
  ControlLayout layout_;  // as stored; a window-less control keeps its state here
  Wnd wnd_ = 0;
  TimerState timer_;
  int dpi_ = 96;  // forms: the DPI their windows are laid out for
};

// Typed names for readability at the call sites; all share Control's API.
using Panel = Control;
using Label = Control;
using Button = Control;
using BitBtn = Control;
using Edit = Control;
using Memo = Control;
using ListBox = Control;
using ListView = Control;
using CheckBox = Control;
using RadioButton = Control;
using GroupBox = Control;
using Image = Control;
using Timer = Control;
using MenuItem = Control;
using BrowserHost = Control;
using Browser = Control;
using Shape = Control;
using SpeedButton = Control;
using Other = Control;

class Form : public Control {
 public:
  // `self` is the global pointer of this form. It is set once the whole
  // form (the derived class too) is built, before its timers start and its
  // creation handler runs (App::create calls Publish). A form under
  // construction is not yet a T, so it is not cast to one here.
  template <class T>
  Form(FormHost& host, T*& self, const std::string& layoutName) : Form(host, layoutName) {
    publish_ = [&self](Form* f) { self = static_cast<T*>(f); };
  }
  // Sets the form's global pointer (see the constructor).
  void Publish() {
    if (publish_) publish_(this);
  }
  ~Form() override;

  // The application that owns the form (defined with the application).
  App& app();
  FormHost& host() { return host_; }
  Platform& platform() { return p_; }
  const std::string& ClassName() const { return layout_.className; }

  Control& ctl(const std::string& name);        // throws std::out_of_range
  Control* find(const std::string& name);
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

  // Called by App after construction; starts the form's enabled timers.
  virtual void FormCreate() {}
  virtual void FormDestroy() {}
  // Closing: runs FormClose; for the main form this ends the message loop.
  void Close();
  virtual void FormClose() {}
  bool closing() const { return closing_; }

  void startTimers();
  void stopTimers();
  // Places the form with SetWindowPos: x, y on the screen, w x h in 96-DPI
  // units, scaled for the monitor the form lands on.
  void SetWindowPos(ZOrder z, int x, int y, int w, int h, unsigned flags = 0);

  // ---- monitors and scaling ----
  // The DPI the form is laid out for: its monitor's, kept while parked.
  int Dpi() const { return dpi_; }
  int Scale(int v) const;     // 96-DPI units to this form's pixels
  // The form's rectangle on the screen, in pixels.
  Rect ScreenRect() const;
  // Shown: some part of the form lies on a monitor. This, not the sign of
  // Left, tells a shown window from a parked one.
  bool Shown() const;
  // Window state normal: a minimised or maximised window is restored (its
  // place and size as before); a normal one is left as it is.
  void SetWindowStateNormal();
  // Park: off every monitor, but still in existence. At the stored -2000
  // (or `x`) when that lies off every monitor, else further left than the
  // whole virtual screen.
  void Park() { ParkAt(screens::kParkLeft); }
  void ParkAt(int x);
  // Shows the form at the pointer: its top-left corner (dx, dy) from the
  // pointer and its size w x h, all 96-DPI units scaled for the monitor
  // under the pointer, then moved to lie wholly on that monitor.
  void PlaceAtPointer(Point pointer, int dx, int dy, int w, int h, ZOrder z,
                      unsigned flags = 0);
  // Places the form at a rectangle in pixels laid out for `dpi`.
  void Place(const Rect& screen, int dpi, ZOrder z, unsigned flags = 0);

 private:
  friend class Control;
  friend class App;
  Form(FormHost& host, const std::string& layoutName);
  // The form moves to a rectangle whose size is in 96-DPI units.
  void MoveTo(int x, int y, int w, int h, ZOrder z, unsigned flags);
  // Lays the form and its controls out again for another DPI.
  void Rescale(int dpi);
  void DpiChanged(int dpi);  // the system moved the form to another DPI
  bool rescaling_ = false;
  FormHost& host_;
  std::function<void(Form*)> publish_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<std::string, Control*> byName_;
  bool closing_ = false;
};


}  // namespace sq
