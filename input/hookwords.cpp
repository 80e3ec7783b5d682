#include "input/hookwords.h"

#include "input/words.h"
#include "platform/platform.h"

namespace sq {

namespace {
constexpr int kShift = 16, kCtrl = 17, kAlt = 18, kWin = 91, kCapsLock = 20,
              kApps = 93, kSemicolon = 186;

std::string Num(int v) { return std::to_string(v); }
std::string At(int x, int y) { return Num(x) + words::hook::PointSeparator + Num(y); }
}  // namespace

int HookWords::Normalise(int vk) {
  switch (vk) {
    case 160: case 161: return kShift;
    case 162: case 163: return kCtrl;
    case 164: case 165: return kAlt;
    case 92: return kWin;
    default: return vk;
  }
}

bool HookWords::IsOwn(bool injected, std::uintptr_t extra) {
  (void)injected;
  return extra == kOwnInputMark;
}

bool HookWords::Passing(const Word& w) {
  if (w.box != Mailbox::Input || !w.onlyIf.empty() || w.key == 0) return false;
  // Only the plain words of a key ("key--65", "old--65"), not the named
  // ones composed for it ("key--17//", "key--ctrlc").
  const std::string code = Num(w.key);
  const bool release = w.edge == Word::Edge::Release;
  if (w.text != (release ? words::in::HandledPrefix : words::in::KeyPrefix) + code) return false;
  // The plain words a reader compares; and V's press, which the reader of
  // V's release looks at beside it.
  for (const char* read : {words::in::KeyCapsLock, words::in::ReleasedCtrl, words::in::ReleasedC,
                           words::in::ReleasedV, words::in::ReleasedWin, words::web::Space,
                           words::web::Enter})
    if (w.text == read) return false;
  return release || w.key != 'V';
}

bool HookWords::Modifier(int vk) {
  if (!held(vk)) return false;
  if (systemKeys_ && !systemKeys_(vk)) {
    held_.reset(static_cast<size_t>(vk));  // its release went past the hook
    return false;
  }
  return true;
}

std::vector<Word> HookWords::Key(const KeyInput& e) {
  std::vector<Word> out;
  if (IsOwn(e.injected, e.extra)) return out;
  const int vk = Normalise(e.vk);
  if (vk <= 0 || vk > 255) return out;
  const std::string code = Num(vk);

  if (e.up) {
    held_.reset(static_cast<size_t>(vk));
    out.push_back({Mailbox::Bar, words::hook::KeyUpPrefix + code + words::hook::KeyUpSuffix, "", vk,
                   Word::Edge::Release});
    out.push_back({Mailbox::Input, words::in::HandledPrefix + code, "", vk, Word::Edge::Release});
    return out;
  }

  // Key down (auto-repeat included: a held key is reported again). A
  // modifier is asked about only where it changes the word.
  // A key already down comes again: the keyboard's repeat.
  const Word::Edge edge = held(vk) ? Word::Edge::Repeat : Word::Edge::Press;
  held_.set(static_cast<size_t>(vk));
  out.push_back({Mailbox::Bar, code + words::hook::KeyDownSuffix, "", vk, edge});

  std::string word;
  switch (vk) {
    case kCtrl: word = words::in::KeyCtrl; break;
    case kShift: word = Modifier(kAlt) ? words::in::KeyAltShift : words::in::KeyShift; break;
    case kSemicolon: word = words::in::KeySemicolon; break;
    case kApps: word = words::in::KeyMenu; break;
    case kCapsLock: word = words::in::KeyCapsLock; break;
    case 'C': if (Modifier(kCtrl)) word = words::in::KeyCtrlC; break;
    case 'X': if (Modifier(kCtrl)) word = words::in::KeyCtrlX; break;
    case 'Z': if (Modifier(kCtrl)) word = words::in::KeyCtrlZ; break;
    default: break;
  }
  if (word.empty() && vk >= '0' && vk <= '9' && Modifier(kShift)) {
    // Shift held and a digit: it chooses a smart-clipboard item, but only
    // once the program has answered the Shift with "key//bshiftok2".
    out.push_back({Mailbox::Input, words::in::DigitPrefix + code, words::in::ShiftAck2, vk, edge});
    return out;
  }
  if (word.empty()) word = words::in::KeyPrefix + code;
  out.push_back({Mailbox::Input, word, "", vk, edge});
  return out;
}

std::vector<Word> HookWords::Mouse(const MouseInput& e) {
  std::vector<Word> out;
  if (IsOwn(e.injected, e.extra)) return out;
  switch (e.action) {
    case MouseAction::LeftDown:
      out.push_back({Mailbox::Scroll, words::hook::LeftDownPrefix + At(e.x, e.y) + words::hook::LeftDownTail, ""});
      break;
    case MouseAction::LeftUp:
      out.push_back({Mailbox::Scroll, words::hook::LeftUpPrefix + At(e.x, e.y) + words::hook::LeftUpTail, ""});
      break;
    case MouseAction::RightDown:
      out.push_back({Mailbox::Scroll, words::hook::RightDownPrefix + At(e.x, e.y), ""});
      break;
    case MouseAction::RightUp:
      out.push_back({Mailbox::Scroll, words::hook::RightUpPrefix + At(e.x, e.y), ""});
      break;
    case MouseAction::Wheel:
      if (e.wheelDelta > 0) out.push_back({Mailbox::Scroll, words::hook::WheelUp, ""});
      else if (e.wheelDelta < 0) out.push_back({Mailbox::Scroll, words::hook::WheelDown, ""});
      break;
    default:
      break;
  }
  return out;
}

}  // namespace sq
