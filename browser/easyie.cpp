#include "browser/easyie.h"

#include "app/budget.h"
#include "app/screens.h"
#include "app/settings_list.h"
#include "browser/lifeform.h"
#include "input/qirinputor.h"

namespace sq {

Teasyie::Teasyie(App& app) : Form(app, app.easyie, "easyie"), easyie_controls(this), app_(app) {
  Button1.OnClick = [this] { Button1Click(); };
  Button10.OnClick = [this] { Button10Click(); };
  Edit6.OnClick = [this] { Button10Click(); };
  Button21.OnClick = [this] { Button21Click(); };
}

std::string Teasyie::HelpAddress() {
  return "file://" + platform().currentDirectory() + "\\ehelp\\easyhelp.htm";
}

void Teasyie::FormCreate() {
  Platform& p = platform();
  SharedSettings& s = app_.settings;
  // The full-screen layout is made for the main monitor, in 96-DPI units.
  const Monitor main = screens::Main(screens::Query(p));
  const int dpi = screens::ClampDpi(main.dpi);
  const int sw = screens::Unscale(main.rect.width, dpi);
  const int sh = screens::Unscale(main.rect.height, dpi);
  const int lifeHeight = app_.lifeform ? app_.lifeform->Height() : 0;

  // Lay out for the real screen: indicator, input-method marker along the
  // right edge, the menu panel at its creation size, the page control
  // below the top banner.
  wheelmess.SetLeft(sw - 120);
  wheelmess.SetTop(0);
  Panel25.SetLeft(sw - 10);
  Panel25.SetHeight(sh - 10);
  Panel3.SetWidth(249);
  Panel3.SetHeight(289);
  PageControl1.SetTop(kBannerHeight);
  PageControl1.SetHeight(sh - 2 * kBannerHeight);

  Panel3.BringToFront();
  // Favourites past the size limit are listed as far as their first lines
  // go and the file is not written back; the lines keep their bytes.
  urls_.Read(p, kUrlFile, budget::kFavouritesFileRead);
  if (urls_.Count() > 0) {
    ListBox10.Clear();
    for (const auto& l : urls_.Lines()) ListBox10.Add(l);
  }
  urlsShown_.clear();
  for (int i = 0; i < ListBox10.Count(); ++i) urlsShown_.push_back(ListBox10.Item(i));

  // The start-up options: a line's value "1" or the marker file sets each.
  Edit1.SetCaption(s.Value(2));
  s.SetShowHelp(p, s.Value(7) == "1" || p.fileExists(SharedSettings::kHelpMarker));
  s.SetShowWeb(p, s.Value(8) == "1" || p.fileExists(SharedSettings::kWebMarker));

  PageControl1.SetLeft(0);
  PageControl1.SetWidth(sw);
  Place({main.rect.left, main.rect.top + screens::Scale(30, dpi), main.rect.width,
         screens::Scale(sh - lifeHeight, dpi)},
        dpi, ZOrder::Keep);

  Panel12.SetLeft(0);
  Panel12.SetTop(0);
  CppWebBrowser1.SetHeight(0);
  CppWebBrowser2.SetHeight(0);
  CppWebBrowser6.SetHeight(0);
  CppWebBrowser2.SetBounds(0, 0, sw, sh);
  Panel3.Hide();

  if (!p.fileExists(SharedSettings::kWebMarker)) Park();
  Panel3.SetLeft(-2000);

  if (p.fileExists(SharedSettings::kHelpMarker)) Button10Click();

  wheelmess.SetBounds(sw - 100, 0, 104, 18);
  PageControl1.BringToFront();
  wheelmess.BringToFront();
  Panel3.BringToFront();
  Panel3.SetLeft(sw / 2 - Panel3.Width() / 2);
  Panel3.SetTop(sh / 2 - Panel3.Height() / 2);
  PageControl1.SetTop(0);
  PageControl1.SetHeight(sh);
  p.setCursorPos({main.rect.left + main.rect.width / 2, main.rect.top + main.rect.height / 2});
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
  p.writeFile(kHistoryFile, his);
  // Never replace a favourites file whose content was not loaded whole; a
  // favourite the list still shows as it was read keeps its bytes.
  std::vector<std::string> urls;
  for (int i = 0; i < ListBox10.Count(); ++i) urls.push_back(ListBox10.Item(i));
  urls_.Write(p, kUrlFile, urls, urlsShown_);
  if (app_.qirinputor) app_.qirinputor->Close();
}

void Teasyie::Button1Click() {
  PageControl1.Show();
  if (CppWebBrowser2.Left() >= 0) CppWebBrowser2.SetLeft(-2000);
  ListBox10.Hide();
  if (Edit1.Caption().empty()) return;
  Panel3.Hide();
  // Opening the text as a new tab of the page ring belongs to the ring.
}

void Teasyie::Button10Click() {
  if (showHelpAtStart()) Edit1.SetCaption(HelpAddress());
}

void Teasyie::Button21Click() {
  Panel3.Hide();
  Edit1.SetCaption(HelpAddress());
  Button1Click();
  Panel3.BringToFront();
}

}  // namespace sq
