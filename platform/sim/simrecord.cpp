// The simulated desktop's record of synthesised input and caption changes.
#include "platform/sim/simrecord.h"

#include <algorithm>
#include <sstream>
#include <utility>

namespace sq {

std::string SimEvent::str() const {
  std::ostringstream o;
  switch (type) {
    case Key:
      o << "key " << vk;
      if (scan) o << '/' << scan;
      o << ((flags & keyflag::KeyUp) ? " up" : " down");
      if (flags & keyflag::ExtendedKey) o << " ext";
      break;
    case Mouse: {
      if ((flags & ~mouseflag::Absolute) == mouseflag::Wheel) {
        o << "wheel " << data;
        break;
      }
      o << "mouse ";
      bool first = true;
      auto part = [&](const std::string& s) {
        if (!first) o << '+';
        o << s;
        first = false;
      };
      if (flags & mouseflag::Move)
        part(std::string((flags & mouseflag::Absolute) ? "absmove " : "move ") +
             std::to_string(dx) + "," + std::to_string(dy));
      if (flags & mouseflag::LeftDown) part("leftdown");
      if (flags & mouseflag::LeftUp) part("leftup");
      if (flags & mouseflag::RightDown) part("rightdown");
      if (flags & mouseflag::RightUp) part("rightup");
      if (flags & mouseflag::MiddleDown) part("middledown");
      if (flags & mouseflag::MiddleUp) part("middleup");
      if (flags & mouseflag::Wheel) part("wheel " + std::to_string(data));
      if (first) o << "none";
      break;
    }
    case Caption: o << "caption " << className << '=' << text; break;
    case CursorPos: o << "cursor " << dx << ',' << dy; break;
  }
  return o.str();
}

namespace simfilter {
EventFilter keys() {
  return [](const SimEvent& e) { return e.type == SimEvent::Key; };
}
EventFilter mouse() {
  return [](const SimEvent& e) { return e.type == SimEvent::Mouse; };
}
EventFilter input() {
  return [](const SimEvent& e) { return e.type != SimEvent::Caption; };
}
EventFilter captions() {
  return [](const SimEvent& e) { return e.type == SimEvent::Caption; };
}
EventFilter captionsOf(const std::string& cls) {
  return [cls](const SimEvent& e) { return e.type == SimEvent::Caption && e.className == cls; };
}
EventFilter inputAndCaptionsOf(const std::string& cls) {
  return [cls](const SimEvent& e) { return e.type != SimEvent::Caption || e.className == cls; };
}
}  // namespace simfilter

std::vector<std::string> SimRecord::since(std::size_t m, const EventFilter& filter) const {
  std::vector<std::string> out;
  for (std::size_t i = m; i < log_.size(); ++i)
    if (!filter || filter(log_[i])) out.push_back(log_[i].str());
  return out;
}

std::vector<std::string> SimRecord::timedSince(std::size_t m, std::uint32_t t0,
                                               const EventFilter& filter) const {
  std::vector<std::string> out;
  for (std::size_t i = m; i < log_.size(); ++i) {
    if (filter && !filter(log_[i])) continue;
    long long d = static_cast<long long>(log_[i].time) - static_cast<long long>(t0);
    out.push_back((d >= 0 ? "+" : "") + std::to_string(d) + " " + log_[i].str());
  }
  return out;
}

std::string CompareSequences(const std::vector<std::string>& expected,
                             const std::vector<std::string>& actual) {
  if (expected == actual) return {};
  std::size_t width = 8;
  for (const auto& s : expected) width = std::max(width, s.size());
  std::size_t n = std::max(expected.size(), actual.size());
  std::ostringstream o;
  o << "   " << std::string("expected") << std::string(width - 8, ' ') << " | actual\n";
  bool marked = false;
  for (std::size_t i = 0; i < n; ++i) {
    const std::string e = i < expected.size() ? expected[i] : "";
    const std::string a = i < actual.size() ? actual[i] : "";
    bool differ = i >= expected.size() || i >= actual.size() || expected[i] != actual[i];
    o << (differ ? (marked ? " ! " : ">! ") : "   ");
    if (differ) marked = true;
    o << e << std::string(width - std::min(width, e.size()), ' ') << " | " << a << '\n';
  }
  o << "(" << expected.size() << " expected, " << actual.size() << " actual)\n";
  return o.str();
}

SimEvent& SimRecord::add(std::uint32_t time, SimEvent::Type type) {
  SimEvent& e = log_.emplace_back();
  e.time = time;
  e.type = type;
  return e;
}

void SimRecord::key(std::uint32_t time, int vk, int scan, unsigned flags) {
  SimEvent& e = add(time, SimEvent::Key);
  e.vk = vk;
  e.scan = scan;
  e.flags = flags;
}

void SimRecord::mouse(std::uint32_t time, unsigned flags, int dx, int dy, int data) {
  SimEvent& e = add(time, SimEvent::Mouse);
  e.flags = flags;
  e.dx = dx;
  e.dy = dy;
  e.data = data;
}

void SimRecord::cursor(std::uint32_t time, Point p) {
  SimEvent& e = add(time, SimEvent::CursorPos);
  e.dx = p.x;
  e.dy = p.y;
}

void SimRecord::caption(std::uint32_t time, Wnd w, const std::string& text,
                        const std::string& className) {
  SimEvent& e = add(time, SimEvent::Caption);
  e.wnd = w;
  e.text = text;
  e.className = className;
}

}  // namespace sq
