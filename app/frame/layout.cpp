#include "app/frame/layout.h"

#include "app/frame/gbk.h"

#include <cctype>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <sstream>
#include <utility>

namespace sq {

// Defined in the file the build generates from layouts/*.form.
const std::vector<std::pair<const char*, const char*>>& EmbeddedLayouts();

namespace {

struct KindEntry { const char* name; Kind kind; };
constexpr KindEntry kKinds[] = {
    {"Form", Kind::Form},         {"Panel", Kind::Panel},
    {"Label", Kind::Label},       {"Button", Kind::Button},
    {"BitBtn", Kind::Button},     {"SpeedButton", Kind::Button},
    {"Edit", Kind::Edit},         {"Memo", Kind::Memo},
    {"ListBox", Kind::ListBox},   {"ListView", Kind::ListView},
    {"CheckBox", Kind::CheckBox}, {"RadioButton", Kind::RadioButton},
    {"GroupBox", Kind::GroupBox}, {"Image", Kind::Image},
    {"Browser", Kind::Browser},   {"Shape", Kind::Shape},
    {"Timer", Kind::Timer},       {"MenuItem", Kind::MenuItem},
    {"Other", Kind::Other},
};

// Splits a statement into words; quoted words keep their blanks.
std::vector<std::string> Words(const std::string& line, int lineNo) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < line.size()) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    if (c == ' ' || c == '\t' || c == '\r') { ++i; continue; }
    if (c == '"') {
      std::string w;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i];
        // A GBK lead byte is always followed by a trail byte that may look
        // like '\\' or '"'; copy such pairs untouched.
        if (gbk::IsLead(d) && i + 1 < line.size()) {
          w += d;
          w += line[i + 1];
          i += 2;
          continue;
        }
        if (d == '\\' && i + 1 < line.size()) { w += line[i + 1]; i += 2; continue; }
        if (d == '"') { closed = true; ++i; break; }
        w += d;
        ++i;
      }
      if (!closed) throw LayoutError("layout line " + std::to_string(lineNo) + ": unclosed string");
      out.push_back(w);
      continue;
    }
    size_t j = i;
    while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r') ++j;
    out.push_back(line.substr(i, j - i));
    i = j;
  }
  return out;
}

int ToInt(const std::string& s, int lineNo) {
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end != '\0')
    throw LayoutError("layout line " + std::to_string(lineNo) + ": not a number: " + s);
  return static_cast<int>(v);
}

bool ToBool(const std::string& s, int lineNo) {
  if (s == "true" || s == "1") return true;
  if (s == "false" || s == "0") return false;
  throw LayoutError("layout line " + std::to_string(lineNo) + ": not a truth value: " + s);
}

}  // namespace

Kind KindFromName(const std::string& s) {
  for (const auto& k : kKinds)
    if (s == k.name) return k.kind;
  throw LayoutError("unknown control kind: " + s);
}

const char* KindName(Kind k) {
  for (const auto& e : kKinds)
    if (e.kind == k) return e.name;
  return "Other";
}

FormLayout ParseLayout(const std::string& text) {
  FormLayout out;
  ControlLayout* cur = nullptr;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  bool haveForm = false;
  while (std::getline(in, line)) {
    ++lineNo;
    auto w = Words(line, lineNo);
    if (w.empty() || w[0][0] == '#') continue;
    const std::string& key = w[0];
    auto need = [&](size_t n) {
      if (w.size() < n + 1)
        throw LayoutError("layout line " + std::to_string(lineNo) + ": '" + key +
                          "' needs " + std::to_string(n) + " value(s)");
    };
    if (key == "form") {
      need(2);
      if (haveForm) throw LayoutError("layout line " + std::to_string(lineNo) + ": second form");
      haveForm = true;
      out.form.name = w[1];
      out.form.className = w[2];
      out.form.kind = Kind::Form;
      cur = &out.form;
      continue;
    }
    if (key == "control") {
      need(2);
      if (!haveForm) throw LayoutError("layout line " + std::to_string(lineNo) + ": control before form");
      ControlLayout c;
      c.name = w[1];
      c.kind = KindFromName(w[2]);
      c.extra["type"] = w[2];
      out.controls.push_back(std::move(c));
      cur = &out.controls.back();
      continue;
    }
    if (!cur) throw LayoutError("layout line " + std::to_string(lineNo) + ": no form yet");
    if (key == "parent") { need(1); cur->geometry.parent = w[1] == out.form.name ? "" : w[1]; }
    else if (key == "caption") { need(1); cur->text.caption = w[1]; }
    else if (key == "bounds") {
      need(4);
      cur->geometry.bounds = {ToInt(w[1], lineNo), ToInt(w[2], lineNo), ToInt(w[3], lineNo), ToInt(w[4], lineNo)};
    }
    else if (key == "visible") { need(1); cur->behaviour.visible = ToBool(w[1], lineNo); }
    else if (key == "enabled") { need(1); cur->behaviour.enabled = ToBool(w[1], lineNo); cur->behaviour.timerEnabled = cur->behaviour.enabled; }
    else if (key == "topmost") { need(1); cur->look.topmost = ToBool(w[1], lineNo); }
    else if (key == "border") { need(1); cur->look.borderless = w[1] == "none"; }
    else if (key == "color") { need(1); cur->look.color = ToInt(w[1], lineNo); }
    else if (key == "fontcolor") { need(1); cur->look.fontColor = ToInt(w[1], lineNo); }
    else if (key == "font") {
      need(1);
      cur->look.fontName = w[1];
      if (w.size() > 2) cur->look.fontSize = ToInt(w[2], lineNo);
    }
    else if (key == "items") { for (size_t i = 1; i < w.size(); ++i) cur->text.items.push_back(w[i]); }
    else if (key == "checked") { need(1); cur->behaviour.checked = ToBool(w[1], lineNo); }
    else if (key == "interval") { need(1); cur->behaviour.interval = static_cast<unsigned>(ToInt(w[1], lineNo)); }
    else if (key == "hint") { need(1); cur->text.hint = w[1]; }
    else {
      std::string rest;
      for (size_t i = 1; i < w.size(); ++i) rest += (i > 1 ? " " : "") + w[i];
      cur->extra[key] = rest;
    }
  }
  if (!haveForm) throw LayoutError("layout has no form");
  // Parents must be declared before their children.
  std::map<std::string, bool> seen;
  for (const auto& c : out.controls) {
    if (!c.geometry.parent.empty() && !seen.count(c.geometry.parent))
      throw LayoutError("control " + c.name + ": parent " + c.geometry.parent + " not declared before it");
    if (seen.count(c.name)) throw LayoutError("control " + c.name + " declared twice");
    seen[c.name] = true;
  }
  return out;
}

namespace {
struct Store {
  std::map<std::string, FormLayout> byName;
};
const Store& TheStore() {
  static const Store store = [] {
    Store s;
    for (const auto& [name, text] : EmbeddedLayouts()) {
      FormLayout l = ParseLayout(text);
      s.byName[name] = std::move(l);
    }
    return s;
  }();
  return store;
}
}  // namespace

const FormLayout& StoredLayout(const std::string& formName) {
  const auto& s = TheStore();
  auto it = s.byName.find(formName);
  if (it == s.byName.end()) throw LayoutError("no stored layout for form " + formName);
  return it->second;
}

std::vector<std::string> StoredLayoutNames() {
  std::vector<std::string> out;
  for (const auto& [k, v] : TheStore().byName) out.push_back(k);
  return out;
}

}  // namespace sq
