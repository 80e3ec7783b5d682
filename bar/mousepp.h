// The mouse picture window: a 336 x 67 card of pictures and short labels
// that explains the directions and clicks of the widget under the pointer.
// It holds three cards; one shows at a time, at Left 0, the others are
// parked inside the window at Left -2000.
//
// Other forms touch only its place and cards: ShowAt, ShowCard, Park, Hide
// (the life panel, the command bar, the input core, the browser's timer)
// and, from the life panel, the labels of its cards.
#pragma once

#include <optional>
#include <string>

#include "app/app.h"
#include "app/frame/form.h"
#include "forms/mousepp_controls.h"

namespace sq {

class Tmousepp : public Form, public mousepp_controls {
 public:
  // Panel1: the pointer widget (network and close); Panel2: paste; Panel3:
  // text selection.
  enum class Card { Pointer = 1, Paste = 2, Selection = 3 };

  explicit Tmousepp(App& app);
  void FormCreate() override;

  // Shows one card in the window (Left 0) and parks the other two.
  void ShowCard(Card c);
  // Shows the window, topmost, 80 px left of and 170 px above the pointer
  // (96-DPI units), wholly on the pointer's monitor, with card `c`, or
  // with the card it holds when none is given.
  void ShowAt(Point pointer, std::optional<Card> c = std::nullopt);
  // The gesture label (Label2): the current gesture's text.
  void SetGesture(const std::string& text) { Label2.SetCaption(text); }

  // A press on Label2: the left button opens the local help page in the
  // browser, the right or middle button ends the program.
  void Label2MouseDown(MouseButton b);
  // Shapes the window by Image1's picture: width Image1's, then half of
  // it; height half of Image1's, then 80; every white pixel left out.
  void Button1Click();

  static const char* const kHelpPage;  // "\ehelp\localfilln.htm"

 private:
  Control& CardPanel(Card c);
};

}  // namespace sq
