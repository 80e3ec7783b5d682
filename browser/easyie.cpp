#include "browser/easyie.h"

#include "app/settings_list.h"
#include "input/qirinputor.h"

namespace sq {

Teasyie::Teasyie(App& app) : Form(app, app.easyie, "easyie"), easyie_controls(this), app_(app) {
  Button21.OnClick = [this] { Button21Click(); };
}

void Teasyie::FormCreate() {
  Platform& p = platform();
  SharedSettings& s = app_.settings;
  if (p.fileExists("url.txt")) {
    std::string text;
    if (p.readFile("url.txt", text)) ListBox10.SetText(text);
    else urlsUnreadable_ = true;
  }
  // The start-up options: a line's value "1" or the marker file sets each.
  Edit1.SetCaption(s.Value(2));
  s.SetShowHelp(p, s.Value(7) == "1" || p.fileExists(SharedSettings::kHelpMarker));
  s.SetShowWeb(p, s.Value(8) == "1" || p.fileExists(SharedSettings::kWebMarker));
  if (!p.fileExists(SharedSettings::kWebMarker)) Park();
}

void Teasyie::FormClose() {
  Platform& p = platform();
  SharedSettings& s = app_.settings;
  s.SetLine(8, std::string("显示浏览--") + (s.ShowWeb() ? "1" : "0"));
  s.SetLine(7, std::string("显示帮助--") + (s.ShowHelp() ? "1" : "0"));
  s.Save(p);
  if (app_.qirinputor) app_.qirinputor->Close();
}

void Teasyie::FormDestroy() {
  Platform& p = platform();
  std::string his;
  for (int i = 0; i < ListBox6.Count(); ++i) his += ListBox6.Item(i) + "\r\n";
  p.writeFile("his.txt", his);
  std::string urls;
  for (int i = 0; i < ListBox10.Count(); ++i) urls += ListBox10.Item(i) + "\r\n";
  // Never replace a favourites file whose content was not loaded.
  if (!urlsUnreadable_) p.writeFile("url.txt", urls);
  if (app_.qirinputor) app_.qirinputor->Close();
}

void Teasyie::Button21Click() {}

}  // namespace sq
