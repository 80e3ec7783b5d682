#include "input/hookwords.h"

#include "platform/platform.h"

namespace sq {

namespace {
constexpr int kShift = 16, kCtrl = 17, kAlt = 18, kWin = 91, kCapsLock = 20,
              kApps = 93, kSemicolon = 186;

std::string Num(int v) { return std::to_string(v); }
std::string At(int x, int y) { return Num(x) + "," + Num(y); }
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

std::vector<Word> HookWords::Key(const KeyInput& e) {
  std::vector<Word> out;
  if (IsOwn(e.injected, e.extra)) return out;
  const int vk = Normalise(e.vk);
  if (vk <= 0 || vk > 255) return out;
  const std::string code = Num(vk);

  if (e.up) {
    held_.reset(static_cast<size_t>(vk));
    out.push_back({Mailbox::Bar, "old--" + code + "up", ""});
    out.push_back({Mailbox::Input, "old--" + code, ""});
    return out;
  }

  // Key down (auto-repeat included: a held key is reported again).
  const bool ctrl = held(kCtrl), alt = held(kAlt), shift = held(kShift);
  held_.set(static_cast<size_t>(vk));
  out.push_back({Mailbox::Bar, code + "down", ""});

  std::string word;
  switch (vk) {
    case kCtrl: word = "key--17//"; break;
    case kShift: word = alt ? "key--18//alt--shiftdown" : "key--shiftdown"; break;
    case kSemicolon: word = "key--186"; break;
    case kApps: word = "key--menu"; break;
    case kCapsLock: word = "key--20"; break;
    case 'C': word = ctrl ? "key--ctrlc" : "key--67"; break;
    case 'X': word = ctrl ? "key--ctrlx" : "key--88"; break;
    case 'Z': word = ctrl ? "key--ctrlz" : "key--90"; break;
    default: break;
  }
  if (word.empty() && vk >= '0' && vk <= '9' && shift) {
    // Shift held and a digit: it chooses a smart-clipboard item, but only
    // once the program has answered the Shift with "key//bshiftok2".
    out.push_back({Mailbox::Input, "key//bshiftok2--" + code, "key//bshiftok2"});
    return out;
  }
  if (word.empty()) word = "key--" + code;
  out.push_back({Mailbox::Input, word, ""});
  return out;
}

std::vector<Word> HookWords::Mouse(const MouseInput& e) {
  std::vector<Word> out;
  if (IsOwn(e.injected, e.extra)) return out;
  switch (e.action) {
    case MouseAction::LeftDown:
      out.push_back({Mailbox::Scroll, "down/" + At(e.x, e.y) + "/", ""});
      break;
    case MouseAction::LeftUp:
      // 514 is the button-up message number; the payload ends with the point.
      out.push_back({Mailbox::Scroll, "ystop==/[[514]]]" + At(e.x, e.y) + "--", ""});
      break;
    case MouseAction::RightDown:
      out.push_back({Mailbox::Scroll, "rightdn" + At(e.x, e.y), ""});
      break;
    case MouseAction::RightUp:
      out.push_back({Mailbox::Scroll, "rightup" + At(e.x, e.y), ""});
      break;
    case MouseAction::Wheel:
      if (e.wheelDelta > 0) out.push_back({Mailbox::Scroll, "ystop wheel=///", ""});
      else if (e.wheelDelta < 0) out.push_back({Mailbox::Scroll, "ystop wheel=vvv", ""});
      break;
    default:
      break;
  }
  return out;
}

}  // namespace sq
