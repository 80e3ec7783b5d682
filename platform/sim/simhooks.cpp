// The hook library's module and hooks on the simulated desktop.
#include "platform/sim/simhooks.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/sim/simtext.h"

namespace sq {

namespace {
constexpr Module kHookModule = 0x10000000;

std::string BaseName(const std::string& path) {
  std::size_t s = path.find_last_of("\\/");
  return s == std::string::npos ? path : path.substr(s + 1);
}
}  // namespace

Module SimModules::load(const std::string& name) {
  loads_.push_back(name);
  if (simtext::LowerGbk(BaseName(name)) != "dovahk1.dll") return 0;
  if (lib_ == HookLibrary::Missing) return 0;
  loaded_.insert(kHookModule);
  return kHookModule;
}

void SimModules::free(Module m, bool hooksSet) {
  frees_.push_back(m);
  loaded_.erase(m);
  // The hooks' thread was started by the library and still runs its code.
  if (m == kHookModule && hooksSet) codeGone_ = true;
}

bool SimModules::hasExport(Module m, const std::string& name) const {
  if (m != kHookModule || !loaded_.count(m)) return false;
  if (name == "SetHookmo") return lib_ != HookLibrary::MissingSetHookmo;
  if (name == "SetHookkb") return lib_ != HookLibrary::MissingSetHookkb;
  return false;
}

void SimModules::checkHookCode() const {
  if (codeGone_)
    throw std::runtime_error("access violation: a hook callback ran in an unloaded library");
}

void SimHooks::started() {
  watch_.Called(clock_.tickCount());
  watchDue_ = clock_.now() + HookWatch::kCheckMs;
}

void SimHooks::setMouse(Wnd w) {
  window_ = w;
  mouse_ = libMouse_ = true;
  started();
}

void SimHooks::setKeyboard(Wnd w) {
  window_ = w;
  keyboard_ = libKeyboard_ = true;
  started();
}

void SimHooks::post(std::function<void()> work) {
  thread_.push_back({clock_.now() + 1, std::move(work)});
}

std::uint64_t SimHooks::nextDue() const {
  std::uint64_t due = UINT64_MAX;
  if (libMouse_ || libKeyboard_) due = std::min(due, watchDue_);
  if (!thread_.empty()) due = std::min(due, thread_.front().due);
  return due;
}

void SimHooks::runDue() {
  while (!thread_.empty() && thread_.front().due <= clock_.now()) {
    auto work = std::move(thread_.front().work);
    thread_.pop_front();
    if (work) work();
  }
  if ((libMouse_ || libKeyboard_) && watchDue_ <= clock_.now()) {
    watchDue_ = clock_.now() + HookWatch::kCheckMs;
    if (watch_.Lost(clock_.tickCount(), lastInput_)) {
      // Set again, as the library's thread does.
      mouse_ = libMouse_;
      keyboard_ = libKeyboard_;
      ++reinstalls_;
    }
  }
}

}  // namespace sq
