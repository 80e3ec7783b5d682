// The window switcher: the command bar's list of the user's top-level
// windows with their program icons. The wheel steps through it (each notch
// brings the next window forward while the bar stays on top), hovering a
// row previews its window, a left press goes to it and a right press
// closes it.
//
// The list lives in parallel, one position per window in enumeration
// order: the bar's ListBox5 the titles (its item index the selected entry),
// its ListView1 the rows (title and icon), and the window table here
// (handles, process ids, each entry's program path and icon, kept once a
// process). It is rebuilt whole, never patched, except that a
// closed window's entry goes at once. The list is stale (must be rebuilt
// before it is used) while the bar's CppWebBrowser1 has Left >= 0.
//
// Where the bar calls in:
//   Button1Click                      -> Enumerate()
//   tick, scroll caption "ystop wheel=..." -> Wheel() (true: the tick ends)
//   tick, scroll caption "set--listview"   -> Fill()
//   hint line or title hovered while Stale() -> Rebuild()
//   title strip's right part released: right -> CloseSelected()
//   ListView1 mouse move / mouse down  -> Hover() / Press() (wired by the bar)
// A hover or press on a stale list rebuilds it and does nothing more.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace sq {

class Tqircom;

class Switcher {
 public:
  explicit Switcher(Tqircom& bar) : bar_(bar) {}

  // The titles of the listable windows into ListBox5 and the window table,
  // entry 0 selected; the rows are then stale until the next rebuild.
  void Enumerate();
  // Marks the list fresh, enumerates, looks the processes up and asks the
  // bar's tick for the fill (scroll caption "set--listview").
  void Rebuild();
  // The rows of ListView1: each entry's title and its program's icon.
  void Fill();
  // The wheel step of the bar's tick; true when it rebuilt the list or
  // switched to a window (the tick then ends).
  bool Wheel();
  // ListView1's events, at client coordinates (pixels).
  void Hover(int x, int y);
  void Press(MouseButton button, int x, int y);
  // Closes the selected entry's window (entry 0 when none is selected).
  void CloseSelected();

  bool Stale() const;
  void SetStale();
  // A rebuild's rows are not filled yet (the bar's tick then fills them,
  // whether or not the request word is still in the scroll caption).
  bool FillPending() const { return fillPending_; }

  // The window table (0 when out of range).
  int Count() const { return static_cast<int>(handles_.size()); }
  Wnd Handle(int i) const;

  // Titles are cut to this many bytes, never inside a character.
  static constexpr std::size_t kTitleBytes = 110;
  // The list holds at most this many entries: a window is added while it
  // has kMaxEntries - 1 or fewer.
  static constexpr int kMaxEntries = 1001;
  static const char* const kHintRow;  // "左键转到所选窗口；右键关闭所选窗口"

 private:
  Platform& P() const;
  void Collect();  // the enumeration itself
  bool Listable(Wnd w, unsigned pid, unsigned ownPid, std::string& title) const;
  void LookUpProcesses();
  std::uintptr_t IconOf(const std::string& path);
  // Restores a minimised window or lifts it above the other windows of its
  // band, makes it the foreground window and keeps the bar on top.
  void BringForward(Wnd w);
  void KeepBarOnTop();
  void CloseEntry(int i);
  int RowAt(int x, int y) const;
  void SelectRow(int i);
  // The column as wide as the list leaves it: room for the vertical scroll
  // bar with more than ten entries, so that no horizontal one comes.
  void FitColumn();
  void FocusList();
  // Scrolls the list as little as needed for row i to show whole.
  void EnsureVisible(int i);
  void Answer();  // the wheel notch is handled

  Tqircom& bar_;
  std::vector<Wnd> handles_;
  std::vector<unsigned> pids_;
  std::vector<std::string> titles_;
  // Each entry's process as an index into the processes of the last
  // lookup (-1: not found), with their program paths and icons.
  std::vector<int> programs_;
  std::vector<std::string> programPaths_;
  std::vector<std::uintptr_t> programIcons_;
  Wnd excluded_ = 0;     // the window last closed from the list
  bool fillPending_ = false;
  int lastHovered_ = -1;
  int lastSelected_ = 0;
  // Program icons by path, refreshed by every rebuild.
  std::map<std::string, std::uintptr_t> icons_;
};

}  // namespace sq
