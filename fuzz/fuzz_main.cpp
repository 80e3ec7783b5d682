// A deterministic fuzzer of the whole program on the simulated desktop.
//
// Each seed starts the real application (with files that may be broken)
// and throws random and adversarial input at it: physical keys, buttons,
// wheel turns and moves at human and inhuman speeds; caption words of the
// mailboxes, their prefixes, truncated GBK and huge texts written by
// "another program"; clipboard texts of every size; foreign windows coming
// and going; clock jumps. After every step it checks:
//   - no message box appeared and no exception left a handler;
//   - no 20 ms slice of the clock (at most one tick of each timer) costs
//     more CPU than --budget-ms (40 ms, 400 ms under the sanitizers);
//   - the lists stay within their budgets (smart clipboard, histories);
//   - no step hangs (an alarm ends the run naming the seed).
// Crashes and sanitizer reports end the process; the seed being run is
// printed before each run so any failure names the seed that replays it:
//   sqfuzz --seed N [--steps S]
//
// Usage: sqfuzz [--seed N] [--seeds K] [--steps S] [--seconds T]
//               [--budget-ms M] [--verbose]
#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "app/app.h"
#include "app/frame/budget.h"
#include "app/caretinfo.h"
#include "app/relays.h"
#include "app/settings_list.h"
#include "app/wrpyreadpanel.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "bar/qirform4.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"
#include "input/tick.h"
#include "platform/sim/simdesktop.h"

namespace sq::fuzz {
namespace {

// ---- deterministic randomness ---------------------------------------------

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
  std::uint64_t next() {
    std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
  int range(int lo, int hi) { return lo + below(hi - lo + 1); }
  bool chance(int percent) { return below(100) < percent; }
  template <class T>
  const T& pick(const std::vector<T>& v) { return v[static_cast<std::size_t>(below(static_cast<int>(v.size())))]; }

 private:
  std::uint64_t s_;
};

// ---- what the fuzzer says ---------------------------------------------------

const std::vector<std::string> kWords = {
    "old--mode", "old--mod", "old--mode17", "key--", "old--", "key--ctrlv", "old--xxcvok",
    "key--ctrlc", "key--ctrlx", "key--ctrlz", "key--17//", "key--shiftdown",
    "key--18//alt--shiftdown", "key--186", "key--menu", "old--17", "old--67", "old--86",
    "old--91", "old--17up", "old--32", "old--13", "key--ccok1", "key--ccok2", "key--ccok3",
    "key--shiftc--copy", "old--shiftc--copy", "key--shiftc--copy--ok", "key//bshiftok",
    "key//bshiftok2", "key//bshiftok2--", "key//bshiftok2--48", "key//bshiftok2--49",
    "key//bshiftok2--57", "key//bshiftok2--5", "key--mode", "move--clip", "ok move--clip",
    "oldright", "copyx", "qir:easyhelp", "key--wr2//", "key--wr3", "old--old", "17down",
    "18down", "old--18up", "91down", "old--91up", "cvok", "91ok", "17cctest", "no message",
    "alt2--copy--ok", "xx copy", "test clipboard", "---align", "down/", "down/12,34",
    "rightdn", "rightdn 5,5", "rightup", "right", "ystop wheel=", "ystop wheel=up1",
    "ystop wheel=dn-", "ystop autodrag", "ystop ok", "wheel", "quick pagedown", "ystop",
    "ystop stopdrag", "ystop==/ystop stopdrag", "myright", "iemenu", "set--listview",
    "set xright", "ystop gohelpweb", "ystop goweb", "ystopurl", "ystopurl http://x/",
    "select", "mousedown", "ok select", "ok select 1", "alt2menu--51", "leftpos=1,2",
    "ystop000", "new ystop--", "down/...down/", "drag up", "mkeyscroll", "rr10,10", "close",
    "F3", "X!", "=", "..", "X", "!Y", "<-", "<<", "cc", "up far", "down far", "start far",
    "task far", "wwstart far", "up", "down", "win-align12", "<Ctrl>按下", "左键附近",
    "左键点击--粘贴自我；右键点击--粘贴行首", "mywheel", "dragmode", "mydrag", "qirclose",
    "ystop browok", "old--searchmode", "显示浏览--1", "",
};

const std::vector<std::string> kClasses = {
    "Notepad", "_WwG", "Internet Explorer_Server", "#32768", "TqirF1", "TqirForm1",
    "UNISPIM_COMPCLS", "UNISPIM_STATUSCLS", "MSPY Component", "ReadPINTLGNT", "Shell_TrayWnd",
    "Foreign", "TqirForm3", "Tqircom", "Button", "Edit",
};

// Keys a person uses with the program, and any other key.
const std::vector<int> kKeys = {17, 16, 18, 91, 92, 93, 160, 161, 162, 163, 164, 165, 'C',
                                'V', 'X', 'Z', 'A', 32, 13, 27, 186, 20, 8, 46, 36, 35,
                                37, 38, 39, 40, 48, 49, 50, 53, 57, 112, 9};

std::string Gbk(Rng& r, int chars) {
  std::string s;
  for (int i = 0; i < chars; ++i) {
    if (r.chance(50)) {
      s += static_cast<char>(r.range(0x20, 0x7E));
    } else {
      s += static_cast<char>(r.range(0xB0, 0xF7));
      s += static_cast<char>(r.range(0xA1, 0xFE));
    }
  }
  return s;
}

// Text from another program: words, prefixes, noise, odd bytes, huge.
std::string Text(Rng& r, bool allowHuge) {
  const int kind = r.below(100);
  if (kind < 45) return r.pick(kWords);
  if (kind < 55) {
    const std::string& w = r.pick(kWords);
    return w.substr(0, static_cast<std::size_t>(r.below(static_cast<int>(w.size()) + 1)));
  }
  if (kind < 65) return r.pick(kWords) + Gbk(r, r.range(1, 20));
  if (kind < 72) {
    std::string s = Gbk(r, r.range(1, 10));
    s += static_cast<char>(r.range(0x81, 0xFE));  // a lead byte and no trail byte
    return s;
  }
  if (kind < 78) {
    std::string s = r.pick(kWords);
    s.insert(static_cast<std::size_t>(r.below(static_cast<int>(s.size()) + 1)), 1, '\0');
    s += static_cast<char>(0xFF);
    return s;
  }
  if (kind < 88) {
    // Indented multi-line text, as code is copied.
    std::string s;
    const int lines = r.range(1, 60);
    for (int i = 0; i < lines; ++i)
      s += std::string(static_cast<std::size_t>(r.below(12)), ' ') + Gbk(r, r.range(0, 30)) +
           (r.chance(80) ? "\r\n" : "\n");
    return s;
  }
  if (kind < 96 || !allowHuge) {
    std::string s = r.pick(kWords);
    s.resize(static_cast<std::size_t>(r.range(200, 70000)), static_cast<char>(r.range('a', 'z')));
    return s;
  }
  // Huge: past the capture and caption budgets, up to 16 MB.
  const std::size_t sizes[] = {budget::kCaptureBytes + 1, 3u << 20, 16u << 20};
  const std::size_t n = sizes[r.below(3)];
  std::string s;
  s.reserve(n);
  while (s.size() < n) s += r.chance(50) ? "    line of text\r\n" : "中文";
  s.resize(n);
  return s;
}

// A settings or list file as a person or a broken disk may leave it.
std::string BadFile(Rng& r, int usualLines) {
  std::string s;
  const int kind = r.below(8);
  const int lines = kind == 0 ? 0 : kind == 1 ? r.range(1, usualLines - 1) : r.range(usualLines, usualLines + 5);
  for (int i = 0; i < lines; ++i) {
    switch (r.below(5)) {
      case 0: s += std::to_string(r.range(-5, 5000)); break;
      case 1: s += Text(r, false).substr(0, 300); break;
      case 2: s += "oldmouse"; break;
      case 3: s += "显示帮助--" + std::to_string(r.below(3)); break;
      default: s += Gbk(r, r.range(0, 20)); break;
    }
    s += r.chance(85) ? "\r\n" : (r.chance(50) ? "\n" : "");
  }
  if (kind == 7) s += std::string(budget::kSettingsFileRead + static_cast<std::size_t>(r.below(5000)), 'z');
  return s;
}

// ---- one run --------------------------------------------------------------

struct Options {
  std::uint64_t seed = 1;
  int seeds = 1;
  int steps = 1500;
  double seconds = 0;
  double budgetMs = 0;
  bool verbose = false;
};

// User CPU time of this thread: the program's own work. (System time would
// add the page faults of a machine short of memory.)
double CpuMs() {
  rusage u{};
  getrusage(RUSAGE_THREAD, &u);
  return static_cast<double>(u.ru_utime.tv_sec) * 1e3 +
         static_cast<double>(u.ru_utime.tv_usec) / 1e3;
}

// The run's seed and step, for the alarm's message. A seed is 64 bits,
// more than a sig_atomic_t holds; a lock-free atomic is as safe to read in
// the handler.
std::atomic<std::uint64_t> g_seedForAlarm{0};
static_assert(std::atomic<std::uint64_t>::is_always_lock_free);
volatile std::sig_atomic_t g_stepForAlarm = 0;

void OnAlarm(int) {
  char buf[160];
  int n = std::snprintf(buf, sizeof buf, "sqfuzz: seed %llu hangs at step %ld\n",
                        static_cast<unsigned long long>(g_seedForAlarm.load()),
                        static_cast<long>(g_stepForAlarm));
  if (n > 0) (void)!write(2, buf, static_cast<std::size_t>(n));
  _exit(3);
}

struct Result {
  bool ok = true;
  bool slow = false;  // failed the time budget only
  std::string what;
  int step = -1;
  std::uint64_t ticks = 0;
  double worstMs = 0;
  int captured = 0;   // texts the smart clipboard took during the run
  int pasted = 0;     // Ctrl+V the program synthesised
};

class Run {
 public:
  Run(std::uint64_t seed, const Options& o) : r_(seed), o_(o) {}

  Result Go() {
    Result res;
    SimDesktop sim;
    sim_ = &sim;
    BreakFiles();
    App app(sim);
    app_ = &app;
    try {
      if (!app.Start()) return Fail(res, -1, "start-up ended the process");
      lastFirst_ = app.bar.qircom->ListBox2.Count() ? app.bar.qircom->ListBox2.Item(0) : "";
      if (!sim.messageBoxes().empty()) return Fail(res, -1, "message box at start: " + sim.messageBoxes()[0].text);
      for (int step = 0; step < o_.steps && !sim.quitPosted(); ++step) {
        g_stepForAlarm = step;
        alarm(60);
        Act();
        Advance(static_cast<unsigned>(r_.range(1, 120)));
        res.worstMs = worstMs_;
        if (!overBudget_.empty()) {
          res.slow = true;
          return Fail(res, step, overBudget_);
        }
        if (!sim.messageBoxes().empty())
          return Fail(res, step, "message box: " + sim.messageBoxes()[0].text);
        if (step % 20 == 0 || step + 1 == o_.steps) {
          std::string over = OverBudget();
          if (!over.empty()) return Fail(res, step, over);
        }
        Tally();
        sim.clearEvents();
      }
      res.ticks = app.input.qirinputor ? app.input.qirinputor->tick().runs() : 0;
      res.captured = captured_;
      res.pasted = pasted_;
      alarm(60);
      app.Finish();
      alarm(0);
    } catch (const std::exception& e) {
      return Fail(res, g_stepForAlarm, std::string("exception: ") + e.what());
    } catch (const ProcessExit& e) {
      return Fail(res, g_stepForAlarm, "process exit " + std::to_string(e.code));
    }
    return res;
  }

 private:
  Result& Fail(Result& res, int step, const std::string& what) {
    res.ok = false;
    res.step = step;
    res.what = what;
    alarm(0);
    return res;
  }

  void BreakFiles() {
    if (r_.chance(50)) sim_->writeFile("wr.ini", BadFile(r_, 6));
    if (r_.chance(50)) sim_->writeFile(SharedSettings::kFileName, BadFile(r_, 9));
    if (r_.chance(30)) sim_->writeFile("url.txt", BadFile(r_, 3));
    if (r_.chance(20)) sim_->writeFile("disphelp", "");
    if (r_.chance(20)) sim_->writeFile("dispweb", "");
  }

  // The program's windows another program may write into.
  std::vector<Wnd> Mailboxes() {
    App& a = *app_;
    return {a.input.qirinputor->Handle(),
            a.bar.qircom->Handle(),
            a.bar.qirForm3->Handle(),
            a.bar.qirForm4->Handle(),
            a.input.caretinfo->Handle(),
            a.relays.rightform->Handle(),
            a.relays.leftform->Handle(),
            a.browser.lifeform->Handle(),
            a.bar.qircom->Panel19.Handle(),
            a.bar.qircom->Panel14.Handle(),
            a.bar.qircom->Panel35.Handle(),
            a.bar.qircom->Panel28.Handle(),
            a.bar.qircom->BitBtn6.Handle(),
            a.browser.lifeform->Panel7.Handle(),
            a.browser.lifeform->Panel4.Handle(),
            a.bar.qircom->Edit2.Handle(),
            a.shell.wrpyreadpanel->Edit2.Handle()};
  }

  void Act() {
    SimDesktop& sim = *sim_;
    const int a = r_.below(100);
    if (a < 20) {
      // A key tap, 30 to 150 ms (sometimes far shorter or longer).
      const int vk = r_.chance(85) ? r_.pick(kKeys) : r_.range(1, 254);
      sim.keyDown(vk);
      Advance(static_cast<unsigned>(r_.chance(80) ? r_.range(30, 150) : r_.range(0, 700)));
      sim.keyUp(vk);
    } else if (a < 27) {
      // A key pressed or released on its own (held keys, lost key-ups).
      const int vk = r_.pick(kKeys);
      if (r_.chance(50)) sim.keyDown(vk); else sim.keyUp(vk);
    } else if (a < 42) {
      sim.moveMouse(r_.range(-50, sim.screenWidth() + 50), r_.range(-50, sim.screenHeight() + 50));
    } else if (a < 52) {
      switch (r_.below(7)) {
        case 0: sim.leftDown(); break;
        case 1: sim.leftUp(); break;
        case 2: sim.rightDown(); break;
        case 3: sim.rightUp(); break;
        case 4: sim.middleDown(); break;
        case 5: sim.middleUp(); break;
        default: sim.click(); break;
      }
    } else if (a < 56) {
      sim.wheel(r_.range(-3, 3));
    } else if (a < 72) {
      // Another program writes a caption word.
      const auto boxes = Mailboxes();
      sim.setWindowText(r_.pick(boxes), Text(r_, r_.chance(10)));
    } else if (a < 75) {
      // A scroll-mode queue word in the caret window's list.
      Control& l = app_->input.caretinfo->ListBox3;
      if (l.Count() > 1) sim.listSet(l.Handle(), 1, Text(r_, false));
    } else if (a < 83) {
      sim.setClipboardText(Text(r_, r_.chance(15)));
    } else if (a < 88) {
      if (foreign_.size() < 40) {
        const int w = r_.range(0, 700), h = r_.range(0, 500);
        const Rect rect{r_.range(-100, 900), r_.range(-100, 700), w, h};
        foreign_.push_back(r_.chance(30) ? sim.addTextEditor(rect, Text(r_, false).substr(0, 200))
                                         : sim.addWindow(r_.pick(kClasses),
                                                         Text(r_, false).substr(0, 2000), rect));
      }
    } else if (a < 92) {
      if (!foreign_.empty()) {
        const std::size_t i = static_cast<std::size_t>(r_.below(static_cast<int>(foreign_.size())));
        sim.destroyWindow(foreign_[i]);
        foreign_.erase(foreign_.begin() + static_cast<long>(i));
      }
    } else if (a < 94) {
      // The clock jumps: a wake from sleep, or close to the 49.7-day wrap.
      sim.jumpClock(r_.chance(80) ? static_cast<std::uint64_t>(r_.range(1000, 600000))
                                  : (1ull << 32) - sim.tickCount() - static_cast<std::uint64_t>(r_.range(0, 200)));
    } else if (a < 97) {
      // A click on one of the program's own controls.
      std::vector<Wnd> own;
      for (Form* f : app_->forms())
        for (const auto& c : f->controls())
          if (c->Handle() && sim.hasClickHandler(c->Handle())) own.push_back(c->Handle());
      if (!own.empty()) sim.runClickHandler(r_.pick(own));
    } else if (a < 99) {
      // A copy with Ctrl+C of any text, as a person makes one: the program
      // captures it into the smart clipboard on its third sighting.
      sim.setClipboardText(Text(r_, r_.chance(25)));
      sim.keyDown(17);
      Advance(static_cast<unsigned>(r_.range(20, 120)));
      sim.keyDown('C');
      Advance(static_cast<unsigned>(r_.range(30, 150)));
      sim.keyUp('C');
      Advance(static_cast<unsigned>(r_.range(0, 100)));
      sim.keyUp(17);
      Advance(static_cast<unsigned>(r_.range(100, 200)));
    } else {
      // A burst of fast human input: a double tap of a modifier.
      const int vk = r_.pick(std::vector<int>{17, 18, 91, 16});
      for (int i = 0; i < 2; ++i) {
        sim.keyDown(vk);
        Advance(static_cast<unsigned>(r_.range(20, 60)));
        sim.keyUp(vk);
        Advance(static_cast<unsigned>(r_.range(20, 60)));
      }
    }
  }

  // Runs the program for `ms` of the clock (its timers, hence its ticks),
  // timing the CPU it takes against the budget. The fuzzer's own work (its
  // texts, the simulated desktop taking them) is outside the timing.
  // The clock moves in slices of 20 ms, so a slice holds at most one input
  // tick and one command-bar tick.
  void Advance(unsigned ms) {
    while (ms > 0) {
      const unsigned slice = ms < 20 ? ms : 20;
      ms -= slice;
      const double t0 = CpuMs();
      sim_->advance(slice);
      const double spent = CpuMs() - t0;
      if (spent > worstMs_) worstMs_ = spent;
      if (o_.budgetMs > 0 && spent > o_.budgetMs && overBudget_.empty())
        overBudget_ = "a 20 ms slice of the clock took " + std::to_string(spent) + " ms of CPU";
    }
  }

  // Counts what the program did, to show the run reached its gestures.
  void Tally() {
    for (const SimEvent& e : sim_->events())
      if (e.type == SimEvent::Key && e.vk == 'V' && !(e.flags & keyflag::KeyUp)) ++pasted_;
    const std::string first =
        app_->bar.qircom->ListBox2.Count() ? app_->bar.qircom->ListBox2.Item(0) : "";
    if (first != lastFirst_) {
      ++captured_;
      lastFirst_ = first;
    }
  }

  // A list past its budget, or "" when all are within.
  std::string OverBudget() {
    App& a = *app_;
    auto bytes = [](Control& l) {
      std::size_t n = 0;
      for (int i = 0; i < l.Count(); ++i) n += l.Item(i).size();
      return n;
    };
    Control& clip = a.bar.qircom->ListBox2;
    if (static_cast<std::size_t>(clip.Count()) > budget::kSmartClipEntries)
      return "smart clipboard holds " + std::to_string(clip.Count()) + " entries";
    if (bytes(clip) > budget::kSmartClipBytes)
      return "smart clipboard holds " + std::to_string(bytes(clip)) + " bytes";
    Control& keys = a.bar.qircom->ListBox8;
    if (keys.Count() > mail::kKeyHistoryLimit + 1 ||
        bytes(keys) > static_cast<std::size_t>(keys.Count()) * budget::kHistoryWord)
      return "key history holds " + std::to_string(keys.Count()) + " items, " +
             std::to_string(bytes(keys)) + " bytes";
    for (Control* l : {&a.bar.qircom->ListBox1, &a.browser.easyie->ListBox11}) {
      if (l->Count() > mail::kInputHistoryLimit + 2 ||
          bytes(*l) > static_cast<std::size_t>(l->Count()) * budget::kHistoryWord)
        return "input-word history " + l->Name() + " holds " + std::to_string(l->Count()) +
               " items, " + std::to_string(bytes(*l)) + " bytes";
    }
    if (static_cast<std::size_t>(a.bar.qircom->ListBox11.Count()) > budget::kCaptureLines)
      return "alignment list holds " + std::to_string(a.bar.qircom->ListBox11.Count()) + " lines";
    // Nothing else grows: every list of every form stays small.
    std::size_t total = 0;
    for (Form* f : a.forms())
      for (const auto& c : f->controls())
        if (c->Handle() && c->Count() > 0) total += bytes(*c);
    const std::size_t allowed = budget::kSmartClipBytes + 2 * budget::kCaptureBytes +
                                budget::kCaptureLines * (budget::kAlignColumn + 1) + (1u << 20);
    if (total > allowed) return "the lists hold " + std::to_string(total) + " bytes";
    return {};
  }

  Rng r_;
  Options o_;
  SimDesktop* sim_ = nullptr;
  App* app_ = nullptr;
  std::vector<Wnd> foreign_;
  int captured_ = 0, pasted_ = 0;
  double worstMs_ = 0;
  std::string overBudget_;
  std::string lastFirst_;
};

double WallSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace
}  // namespace sq::fuzz

int main(int argc, char** argv) {
  using namespace sq::fuzz;
  Options o;
#if defined(__SANITIZE_ADDRESS__)
  o.budgetMs = 400;  // the sanitizers make every step several times slower
#else
  o.budgetMs = 40;  // twice the goal of a tick
#endif
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto val = [&]() -> const char* { return i + 1 < argc ? argv[++i] : "0"; };
    if (a == "--seed") o.seed = std::strtoull(val(), nullptr, 10);
    else if (a == "--seeds") o.seeds = std::atoi(val());
    else if (a == "--steps") o.steps = std::atoi(val());
    else if (a == "--seconds") o.seconds = std::atof(val());
    else if (a == "--budget-ms") o.budgetMs = std::atof(val());
    else if (a == "--verbose") o.verbose = true;
    else {
      std::fprintf(stderr, "usage: sqfuzz [--seed N] [--seeds K] [--steps S] [--seconds T] "
                           "[--budget-ms M] [--verbose]\n");
      return 2;
    }
  }
  std::signal(SIGALRM, OnAlarm);
  const double start = WallSeconds();
  std::uint64_t ticks = 0;
  double worst = 0;
  int runs = 0, captured = 0, pasted = 0;
  for (std::uint64_t seed = o.seed;; ++seed) {
    if (o.seconds > 0 ? WallSeconds() - start >= o.seconds
                      : static_cast<int>(seed - o.seed) >= o.seeds)
      break;
    g_seedForAlarm = seed;
    if (o.verbose) std::fprintf(stderr, "seed %llu\n", static_cast<unsigned long long>(seed));
    // Printed before the run, so a crash or a sanitizer report (which end
    // the process) still names the seed.
    std::fprintf(stderr, "sqfuzz: seed %llu\r", static_cast<unsigned long long>(seed));
    Result r = Run(seed, o).Go();
    if (!r.ok && r.slow) {
      // A slice over the time budget counts when the replay of the seed
      // shows it again; a busy machine can stall any one slice.
      Result again = Run(seed, o).Go();
      if (again.ok || !again.slow) {
        std::fprintf(stderr, "\nsqfuzz: seed %llu: %s at step %d, not seen again on replay\n",
                     static_cast<unsigned long long>(seed), r.what.c_str(), r.step);
        r = again;
      }
    }
    ++runs;
    ticks += r.ticks;
    captured += r.captured;
    pasted += r.pasted;
    if (r.worstMs > worst) worst = r.worstMs;
    if (!r.ok) {
      std::fprintf(stderr, "\nsqfuzz: seed %llu failed at step %d: %s\n"
                           "replay: sqfuzz --seed %llu --steps %d\n",
                   static_cast<unsigned long long>(seed), r.step, r.what.c_str(),
                   static_cast<unsigned long long>(seed), o.steps);
      return 1;
    }
  }
  std::fprintf(stderr, "\nsqfuzz: %d seeds, %llu input ticks, %d smart-clipboard captures, "
                       "%d pastes, worst step %.1f ms CPU, no failure (%.0f s)\n",
               runs, static_cast<unsigned long long>(ticks), captured, pasted, worst,
               WallSeconds() - start);
  return 0;
}
