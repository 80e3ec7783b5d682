// The simulated desktop: the message loop, the hook library's module,
// the registry, files, the web browser control and the work area; the
// parts behind them are simprocess, simshell, simtaskbar, simregistry and
// simfiles.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <tuple>
#include <utility>

#include "platform/sim/simdesktop.h"
#include "platform/sim/simtext.h"

namespace sq {

namespace fs = std::filesystem;

SimDesktop::SimDesktop(int w, int h)
    : screen_(w, h),
      keyboard_(clock_),
      hooks_(clock_),
      drag_(hooks_),
      mailboxes_(*this),
      browsers_(files_),
      buttons_(clock_),
      scrolling_(tree_) {
  cursor_ = {w / 2, h / 2};
  taskbar_.setRect({0, h - 40, w, 40});
  // The hook checks a modifier against the key state, as the real library
  // asks GetAsyncKeyState.
  composer_.SetSystemKeys([this](int vk) { return isKeyDown(vk); });
}

SimDesktop::~SimDesktop() {
  for (SimBrowser* b : browsers_.all()) b->detach();
}

// ---------------------------------------------------------------- process and modules

int SimDesktop::runMessageLoop() {
  for (unsigned spent = 0; !process_.quitPosted() && spent < process_.loopBudget(); spent += 10)
    advance(10);
  return process_.quitPosted() ? process_.quitCode() : 0;
}

Module SimDesktop::loadLibrary(const std::string& name) { return modules_.load(name); }

void SimDesktop::freeLibrary(Module m) { modules_.free(m, hooks_.mouse() || hooks_.keyboard()); }

HookExport2 SimDesktop::getExport2(Module m, const std::string& name) {
  if (name != "SetHookmo" || !modules_.hasExport(m, name)) return {};
  return [this](Wnd w, int) { hooks_.setMouse(w); };
}

HookExport3 SimDesktop::getExport3(Module m, const std::string& name) {
  if (name != "SetHookkb" || !modules_.hasExport(m, name)) return {};
  return [this](Wnd w, int, int) { hooks_.setKeyboard(w); };
}

HookInstall SimDesktop::installHooks(const std::string& library, Wnd input) {
  Module lib = loadLibrary(library);
  if (!lib) return HookInstall::NoLibrary;
  // Both entry points are looked up before either is called: SetHookmo
  // starts the hooks' thread in the library, which must not be unloaded
  // under it.
  HookExport2 mo = getExport2(lib, "SetHookmo");
  HookExport3 kb = getExport3(lib, "SetHookkb");
  if (!mo || !kb) {
    freeLibrary(lib);
    return HookInstall::NoExport;
  }
  mo(input, 1);
  kb(input, 1, 3);
  return HookInstall::Installed;
}

void SimDesktop::setHookMailbox(Mailbox box, Wnd w) {
  mailboxes_.name(box, w);
}

// ---------------------------------------------------------------- registry

bool SimDesktop::regSetValue(const std::string& key, const std::string& name,
                             const std::string& value) {
  return registry_.setValue(key, name, value);
}
std::optional<std::string> SimDesktop::regGetValue(const std::string& key,
                                                   const std::string& name) {
  return registry_.value(key, name);
}
bool SimDesktop::regDeleteKey(const std::string& key) { return registry_.deleteKey(key); }
bool SimDesktop::regKeyExists(const std::string& key) { return registry_.keyExists(key); }
std::vector<std::string> SimDesktop::registryKeys() const { return registry_.keys(); }

// ---------------------------------------------------------------- files

bool SimDesktop::fileExists(const std::string& name) {
  return shell_.hasLink(name) || files_.exists(name);
}
bool SimDesktop::readFile(const std::string& name, std::string& out) {
  return files_.read(name, out);
}
Platform::ReadResult SimDesktop::readFileUpTo(const std::string& name, std::size_t maxBytes,
                                              std::string& out) {
  return files_.readUpTo(name, maxBytes, out);
}
bool SimDesktop::writeFile(const std::string& name, const std::string& data) {
  return files_.write(name, data);
}
std::vector<std::string> SimDesktop::listFiles(const std::string& dir, std::size_t max) {
  return files_.list(dir, max);
}
bool SimDesktop::deleteFile(const std::string& name) {
  return shell_.removeLink(name) || files_.remove(name);
}

// ---------------------------------------------------------------- browser

std::unique_ptr<WebBrowser> SimDesktop::createBrowser(Wnd host, BrowserEvents* events) {
  if (!rec(host)) return nullptr;
  // The control's inner windows, as a page under the pointer shows them.
  Wnd view = addWindow("Shell DocObject View", "", getBounds(host), host);
  Wnd server = addWindow("Internet Explorer_Server", "", getBounds(host), view);
  for (Wnd w : {view, server}) {
    SimWindow* r = rec(w);
    r->foreign = false;
    r->pid = ownPid_;
    r->fillParent = true;
  }
  return std::make_unique<SimBrowser>(*this, host, server, events);
}

void SimDesktop::browserPointer() {
  const Wnd t = mouseTarget();
  browsers_.pointerOver(t, clientPoint(t));
}

void SimDesktop::browserButton(MouseButton btn, bool down, Wnd target) {
  if (btn != MouseButton::Left) return;
  if (SimBrowser* b = browsers_.ofPage(target)) b->leftButton(down, clientPoint(target), shiftState().shift);
}

}  // namespace sq

// ---------------------------------------------------------------- work area

namespace sq {

Rect SimDesktop::workArea() const {
  return taskbar_.lessReserved(screen_.main().work);
}

void SimDesktop::maximizeWindow(Wnd w) {
  SimWindow* r = rec(w);
  if (!r || r->parent) return;
  r->minimized = false;
  r->maximized = true;
  r->bounds = workArea();
}

}  // namespace sq
