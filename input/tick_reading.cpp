// The tick's reading of the caption mailboxes it reads: when a word counts
// as read and the hook library may write the next one.
#include <algorithm>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/frame/budget.h"
#include "app/caretinfo.h"
#include "app/formmain.h"
#include "app/relays.h"
#include "app/frame/screens.h"
#include "app/settings_list.h"
#include "app/wrpyreadpanel.h"
#include "bar/mousepp.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "bar/qirform4.h"
#include "bar/smartclip.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"
#include "input/tick.h"
#include "input/words.h"

namespace sq {

namespace {
void Begin(MailboxRead& r, const std::string& word) {
  if (word == r.atStart) {
    if (r.ticks < 2) ++r.ticks;
  } else {
    r.atStart = word;
    r.ticks = 1;
  }
}

// Whether the word now in the caption counts as read after this tick.
bool Read(const MailboxRead& r, const std::string& now, bool whole) {
  return now == r.atStart && (whole || r.ticks >= 2);
}

// A word that marks something as handled ("old--" in the input caption)
// or that no reader tests (beginning with "xx" or "qq"): when the tick
// leaves one, nothing is left for a later tick to look at.
bool DoneWith(const std::string& word) {
  return mail::Starts(word, words::in::HandledPrefix) || mail::Starts(word, words::unread::XxPrefix) ||
         mail::Starts(word, words::unread::QqPrefix);
}
}  // namespace

void Tick::BeginReading() {
  Begin(reading_.input, app_.input.qirinputor->Caption());
  Begin(reading_.scroll, app_.bar.qirForm3->Caption());
}

void Tick::EndReading(bool whole) {
  Platform& p = app_.platform();
  const std::string input = app_.input.qirinputor->Caption();
  if (Read(reading_.input, input, whole) || DoneWith(input)) {
    reading_.input.seen = input;
    p.mailboxSeen(app_.input.qirinputor->Handle());
  }
  const std::string scroll = app_.bar.qirForm3->Caption();
  if (Read(reading_.scroll, scroll, whole) || DoneWith(scroll)) {
    reading_.scroll.seen = scroll;
    p.mailboxSeen(app_.bar.qirForm3->Handle());
  }
}

bool Tick::InputPending() {
  const MailboxRead& r = reading_.input;
  return r.atStart != r.seen && !mail::Starts(r.atStart, words::in::HandledPrefix) &&
         app_.input.qirinputor->Caption() == r.atStart;
}

}  // namespace sq
