#include "browser/lifeform.h"

#include "browser/easyie.h"

#include "app/formmain.h"
#include "app/localpage.h"
#include "input/words.h"
#include "app/screens.h"

namespace sq {

Tlifeform::Tlifeform(App& app) : Form(app, app.lifeform, "lifeform"), lifeform_controls(this) {
  Button1.OnClick = [this] { Button1Click(); };
  Button3.OnClick = [this] { Button3Click(); };
}

void Tlifeform::FormCreate() {
  Platform& p = platform();
  Panel20.SetLeft(900);
  Panel20.SetTop(0);
  links_ = LifeLinkEvents(app(), *this);
  browser_ = p.createBrowser(CppWebBrowser1.Handle(), links_.get());
  // At creation the page is only opened; nothing is loading yet to stop.
  if (browser_) OpenLocalPage(p, *browser_, "\\helptitle.htm");
  SetHeight(32);
  // At the bottom left of the main monitor.
  const Monitor main = screens::Main(screens::Query(p));
  const int d = screens::ClampDpi(main.dpi);
  Place({main.rect.left, main.rect.bottom() - screens::Scale(30, d), screens::Scale(32, d),
         screens::Scale(32, d)},
        d, ZOrder::TopMost, swp::ShowWindow);
  Show();
  Button1Click();
}

std::string Tlifeform::HelpTitleAddress() {
  // The whole address is passed, however deep the current directory.
  return LocalPageAddress(platform(), "\\helptitle.htm");
}

void Tlifeform::ShowHelpTitle() {
  if (!browser_) return;
  browser_->stop();
  OpenLocalPage(platform(), *browser_, "\\helptitle.htm");
}

void Tlifeform::Button1Click() {
  Platform& p = platform();
  if (!registered_) registered_ = p.appBarNew(Handle());
  // Across the top of the main monitor, as high as the panel is.
  const Rect m = screens::Main(screens::Query(p)).rect;
  p.appBarSetPos(Handle(), kEdgeTop, {m.left, m.top, m.width, ScreenRect().height});
}

void Tlifeform::Button3Click() {
  platform().appBarRemove(Handle());
  registered_ = false;
  TFormMain* main = app().FormMain;
  if (main && main->Panel1.Caption() == words::mainform::Closing) main->Close();
}

void Tlifeform::FormDestroy() {
  platform().appBarRemove(Handle());
  registered_ = false;
}

}  // namespace sq
