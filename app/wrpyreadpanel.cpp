#include "app/wrpyreadpanel.h"

#include "app/frame/budget.h"
#include "app/settings_list.h"

namespace sq {

const char* const Twrpyreadpanel::kFileName = "wr.ini";

int LeadingInt(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  long long v = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9' && v < 1000000000) v = v * 10 + (s[i++] - '0');
  return static_cast<int>(neg ? -v : v);
}

Twrpyreadpanel::Twrpyreadpanel(App& app)
    : Form(app, app.shell.wrpyreadpanel, "wrpyreadpanel"), wrpyreadpanel_controls(this) {
  Panel4.OnClick = [this] { Panel4Click(); };
  Panel5.OnClick = [this] { Panel5Click(); };
  Button1.OnClick = [this] { Button1Click(); };
  lmbutton.OnClick = [this] { lmbuttonClick(); };
  ListBox2.OnClick = [this] { ListBox2MouseDown(); };
}

void Twrpyreadpanel::FormCreate() {
  Platform& p = platform();
  // A file that could not be read keeps the stored defaults and is never
  // written over; one past the size limit gives its first complete lines
  // and is not written back either.
  file_.Read(p, kFileName, budget::kSettingsFileRead);
  if (file_.Count() > 0 || (file_.exists() && file_.writable())) {
    // A short file keeps the stored defaults for the lines it lacks; the
    // right-button time (line 5) then defaults to Edit4's stored text.
    std::vector<std::string> lines = file_.Lines();
    std::vector<std::string> defaults;
    for (int i = 0; i < ListBox1.Count(); ++i) defaults.push_back(ListBox1.Item(i));
    while (static_cast<int>(defaults.size()) < kLines) defaults.push_back(Edit4.Caption());
    while (lines.size() < defaults.size()) lines.push_back(defaults[lines.size()]);
    ListBox1.Clear();
    for (const auto& l : lines) ListBox1.Add(l);
  }
  while (ListBox1.Count() < kLines) ListBox1.Add(Edit4.Caption());
  // What the list shows of each line: a line whose item still reads so at
  // saving time goes back to the file with the bytes it was read with, even
  // where the list could not hold them (a NUL, bytes that are not GBK).
  shown_.clear();
  for (int i = 0; i < ListBox1.Count(); ++i) shown_.push_back(ListBox1.Item(i));
  Edit2.SetCaption(ListBox1.Item(4));
  Edit4.SetCaption(ListBox1.Item(5));
  SetCaption(ListBox1.Item(0));
  lmbutton.SetChecked(ListBox1.Item(5) == "oldmouse");
}

bool Twrpyreadpanel::Save() {
  ListBox1.SetItem(4, Edit2.Caption());
  ListBox1.SetItem(5, Edit4.Caption());
  // Never replace a file whose content could not be read whole.
  if (!file_.writable()) return false;
  std::vector<std::string> lines;
  for (int i = 0; i < ListBox1.Count(); ++i) lines.push_back(ListBox1.Item(i));
  if (!file_.Write(platform(), kFileName, lines, shown_)) throw FileCreateError(kFileName);
  return true;
}

void Twrpyreadpanel::Panel4Click() {
  Save();
  Hide();
}

void Twrpyreadpanel::Panel5Click() { Hide(); }

void Twrpyreadpanel::FormDestroy() { Save(); }

void Twrpyreadpanel::ListBox2MouseDown() {
  int i = ListBox2.ItemIndex() + 1;
  std::string line = ListBox1.Item(i);
  SetCaption(line);
  ListBox1.SetItem(0, line);
}

void Twrpyreadpanel::lmbuttonClick() {
  ListBox1.SetItem(5, lmbutton.Checked() ? "oldmouse" : "newmouse");
}

void Twrpyreadpanel::Button1Click() { SetCaption(Edit1.Caption()); }

int Twrpyreadpanel::LeftHoldMs() const {
  return LeadingInt(const_cast<Twrpyreadpanel*>(this)->Edit2.Caption());
}

}  // namespace sq
