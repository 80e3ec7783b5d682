#include "app/settings_list.h"

#include "app/frame/budget.h"

namespace sq {

const char* const SharedSettings::kFileName = "发行软件.txt";
const char* const SharedSettings::kHelpMarker = "disphelp";
const char* const SharedSettings::kWebMarker = "dispweb";

namespace {
const char* const kDefaults[SharedSettings::kLinesRead] = {
    "软件名称--Sipquill",
    "软件版本--1.0",
    "浏览首页--about:blank",
    "发行日期--2026",
    "发行单位--Sipquill",
    "联系方式--",
    "软件说明--",
    "显示帮助--1",
    "显示浏览--0",
};
}  // namespace

std::string SharedSettings::DefaultLine(int i) {
  if (i >= 0 && i < kLinesRead) return kDefaults[i];
  return "";
}

void SharedSettings::Load(role::Files& p) {
  // Lines are kept as read; a file that could not be read whole (a read
  // error, or past the size limit, where its first complete lines are
  // used) is never written back.
  file_.Read(p, kFileName, budget::kSettingsFileRead);
  lines_ = file_.Lines();
  fromFile_ = file_.exists() && (file_.Count() > 0 || file_.writable());
  showHelp_ = p.fileExists(kHelpMarker);
  showWeb_ = p.fileExists(kWebMarker);
}

bool SharedSettings::Save(role::Files& p) { return file_.Write(p, kFileName, lines_); }

std::string SharedSettings::Line(int i) const {
  if (i >= 0 && i < Count()) return lines_[static_cast<size_t>(i)];
  return DefaultLine(i);
}

std::string SharedSettings::Value(int i) const {
  std::string l = Line(i);
  return l.size() > 10 ? l.substr(10) : std::string();
}

void SharedSettings::SetLine(int i, const std::string& s) {
  if (i < 0) return;
  while (Count() <= i) lines_.push_back(DefaultLine(Count()));
  lines_[static_cast<size_t>(i)] = s;
}

void SharedSettings::SetShowHelp(role::Files& p, bool on) {
  if (on == showHelp_) return;
  showHelp_ = on;
  if (on) p.writeFile(kHelpMarker, ""); else p.deleteFile(kHelpMarker);
}

void SharedSettings::SetShowWeb(role::Files& p, bool on) {
  if (on == showWeb_) return;
  showWeb_ = on;
  if (on) p.writeFile(kWebMarker, ""); else p.deleteFile(kWebMarker);
}

}  // namespace sq
