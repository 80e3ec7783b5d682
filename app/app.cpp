#include "app/app.h"

#include "app/caretinfo.h"
#include "app/formmain.h"
#include "app/relays.h"
#include "app/frame/screens.h"
#include "app/wrpyreadpanel.h"
#include "bar/mousepp.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "bar/qirform4.h"
#include "bar/wheeltipform.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/qirinputor.h"

namespace sq {

App::App(Platform& p) : FormHost(p) {}

App::~App() {
  if (run_.started && !run_.finished) Finish();
}

template <class T>
void App::create() {
  auto form = std::make_unique<T>(*this);
  Form* f = form.get();
  f->Publish();
  if (!mainForm_) {
    mainForm_ = f;
    // Every top-level window hears of a change of the monitors; the main
    // form answers for all of them.
    f->OnDisplayChange = [this] { DisplayChanged(); };
  }
  owned_.push_back(std::move(form));
  order_.push_back(f);
  // The form's timers run from its creation on, before its handler.
  f->startTimers();
  RunHandler(*this, [f] { f->FormCreate(); });
}

bool App::Start() {
  run_.started = true;
  running_ = true;
  monitors_ = screens::Query(p_);
  try {
    create<TFormMain>();
    create<Tqirinputor>();
    create<Tqircom>();
    create<Tlifeform>();
    create<Tmousepp>();
    // Not a window: the shared settings list and its start-up flags.
    settings.Load(p_);
    create<TqirForm4>();
    create<TqirForm3>();
    create<Twrpyreadpanel>();
    create<Tcaretinfo>();
    create<TForm1>();
    create<TForm2>();
    create<Trightform>();
    create<Tleftform>();
    create<Teasyie>();
    create<Twheeltipform>();
  } catch (const ProcessExit& e) {
    run_.exitCode = e.code;
    running_ = false;
    return false;
  }
  return true;
}

int App::Run() {
  if (!Start()) return run_.exitCode;
  // The framework shows the main form as the loop starts; it is parked, and
  // its activation parks it again, so it never appears on the screen.
  if (mainForm_) mainForm_->Show();
  int code = p_.runMessageLoop();
  run_.exitCode = code;
  Finish();
  return run_.exitCode;
}

int App::Finish() {
  if (run_.finished) return run_.exitCode;
  run_.finished = true;
  running_ = false;
  for (Form* f : order_) f->stopTimers();
  // Destruction in reverse creation order, the main form last.
  while (!owned_.empty()) {
    Form* f = owned_.back().get();
    RunHandler(*this, [f] { f->FormDestroy(); });
    owned_.pop_back();
    order_.pop_back();
  }
  mainForm_ = nullptr;
  shell = {};
  input = {};
  bar = {};
  browser = {};
  relays = {};
  return run_.exitCode;
}

void App::DisplayChanged() {
  const std::vector<Monitor> now = screens::Query(p_);
  const Monitor& main = screens::Main(now);
  for (Form* f : order_) {
    if (!f->Handle()) continue;
    const Rect r = f->ScreenRect();
    if (!screens::OnAny(monitors_, r)) {
      // Parked: stays off every monitor, wherever they are now.
      if (screens::OnAny(now, r)) f->ParkAt(r.left);
    } else if (!screens::OnAny(now, r)) {
      // Its monitor is gone: the same place on the main monitor.
      const Monitor& was = screens::ForRect(monitors_, r);
      const Rect size = f->Bounds();
      const int d = screens::ClampDpi(main.dpi);
      const Rect there{main.rect.left + r.left - was.rect.left, main.rect.top + r.top - was.rect.top,
                       screens::Scale(size.width, d), screens::Scale(size.height, d)};
      f->Place(screens::KeepInside(there, main.rect), d, ZOrder::Keep);
    }
  }
  monitors_ = now;
}

void App::frameworkError(const std::string& message) {
  p_.messageBox(0, message, title_);
}

void App::formClosed(Form& f) {
  if (&f == mainForm_ && !run_.quitPosted) {
    run_.quitPosted = true;
    p_.postQuit(0);
  }
}

}  // namespace sq
