#include "bar/mousepp.h"

#include "app/formmain.h"
#include "app/localpage.h"
#include "app/frame/screens.h"
#include "bar/tippictures.h"
#include "browser/easyie.h"

namespace sq {

const char* const Tmousepp::kHelpPage = "\\ehelp\\localfilln.htm";

Tmousepp::Tmousepp(App& app) : Form(app, app.bar.mousepp, "mousepp"), mousepp_controls(this) {
  Label2.OnMouseDown = [this](MouseButton b, ShiftState, int, int) { Label2MouseDown(b); };
  Button1.OnClick = [this] { Button1Click(); };
}

void Tmousepp::FormCreate() {
  Park();
  Panel1.SetLeft(0); Panel1.SetTop(0);
  Panel2.SetLeft(0); Panel2.SetTop(0);
  Panel3.SetLeft(0); Panel3.SetTop(0);
  SetWindowPos(ZOrder::TopMost, Left(), Top(), 336, 67);
  Control* rows[3][3] = {{&Image2, &Image3, &Image4}, {&Image5, &Image6, &Image7},
                         {&Image8, &Image9, &Image10}};
  for (int card = 0; card < 3; ++card)
    for (int row = 0; row < 3; ++row) pictures::Show(*rows[card][row], pictures::CardRow(card + 1, row));
  pictures::Show(Image1, pictures::MouseShape());
}

Control& Tmousepp::CardPanel(Card c) {
  switch (c) {
    case Card::Pointer: return Panel1;
    case Card::Paste: return Panel2;
    default: return Panel3;
  }
}

void Tmousepp::ShowCard(Card c) {
  for (Card each : {Card::Pointer, Card::Paste, Card::Selection}) {
    Control& panel = CardPanel(each);
    const int left = each == c ? 0 : screens::kParkLeft;
    if (panel.Left() != left) panel.SetLeft(left);
  }
}

void Tmousepp::ShowAt(Point pointer, std::optional<Card> c) {
  if (c) ShowCard(*c);
  PlaceAtPointer(pointer, -80, -170, 336, 67, ZOrder::TopMost, swp::ShowWindow);
  Show();
}

void Tmousepp::Label2MouseDown(MouseButton b) {
  App& a = app();
  if (b != MouseButton::Left) {
    if (a.shell.FormMain) a.shell.FormMain->Shutdown1Click();
    return;
  }
  if (!a.browser.easyie) return;
  a.browser.easyie->Edit1.SetCaption(LocalPageAddress(platform(), kHelpPage));
  a.browser.easyie->Button1Click();
}

void Tmousepp::Button1Click() {
  const Picture shape = pictures::MouseShape();
  SetWidth(shape.width);
  SetWidth(shape.width / 2);
  SetHeight(shape.height / 2);
  SetHeight(80);
  // The region is in the window's pixels: the picture at its scale.
  const Picture scaled = pictures::Resized(shape, Scale(shape.width), Scale(shape.height));
  platform().setWindowRgnFromPicture(Handle(), scaled.width, scaled.height, scaled.pixels,
                                     pictures::kWhite);
}

}  // namespace sq
