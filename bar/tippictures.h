// The pictures of the tip windows: the wheel tip's strip, the mouse picture
// window's card rows and shape, the drag badge's icon and background.
//
// Each picture is drawn here, in code, at the size of the Image control it
// fills (96-DPI units); the backend stretches it over the control. Colours
// are BGR. Pure white (kWhite) is the key colour of the shapes: a window
// shaped by a picture leaves out every white pixel.
#pragma once

#include <vector>

#include "platform/platform.h"

namespace sq {

class Control;

struct Picture {
  int width = 0, height = 0;
  std::vector<int> pixels;  // width * height, row by row from the top
  int at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

namespace pictures {

constexpr int kWhite = 0xFFFFFF;

// The wheel tip's background (Image2, 128 x 29): a pale strip with a small
// mouse and its wheel in the part that shows.
Picture WheelStrip();
// One picture row of a mouse picture card (430 x 23): card 1 to 3, row 0
// (up), 1 (left and right) or 2 (down); the arrows point where the labels
// of that row say.
Picture CardRow(int card, int row);
// The mouse picture window's shape source (Image1, 440 x 79): a rounded
// card on white.
Picture MouseShape();
// The drag badge's icon (Image1 of the title window, 31 x 29): a four-way
// arrow on white.
Picture BadgeIcon();
// The drag badge's background (Image6, 226 x 121).
Picture BadgeBack();

// The four small pictures of the life panel's picture panel (16 x 15 each;
// pointing at one opens the main menu): 0 the mouse (Image1), 1 the
// keyboard (Image5), 2 the browser's globe (Image6), 3 the menu (Image7).
Picture LifeIcon(int which);

// `p` resized to w x h by nearest pixels (for shapes at another DPI).
Picture Resized(const Picture& p, int w, int h);

// Hands the picture to the control's window; false when it could not.
bool Show(Control& image, const Picture& p);

}  // namespace pictures
}  // namespace sq
