#include "bar/tippictures.h"

#include <algorithm>
#include <cstdlib>

#include "app/frame/form.h"

namespace sq::pictures {
namespace {

int Bgr(int r, int g, int b) { return (b << 16) | (g << 8) | r; }
int Mix(int a, int b, int num, int den) {
  auto ch = [&](int shift) {
    const int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    return (x + (y - x) * num / den) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

class Canvas {
 public:
  Canvas(int w, int h, int fill) { p_.width = w; p_.height = h; p_.pixels.assign(static_cast<std::size_t>(w) * h, fill); }
  void Set(int x, int y, int c) {
    if (x >= 0 && y >= 0 && x < p_.width && y < p_.height) p_.pixels[static_cast<std::size_t>(y) * p_.width + x] = c;
  }
  // Top to bottom from `top` colour to `bottom` colour.
  void Gradient(int top, int bottom) {
    for (int y = 0; y < p_.height; ++y)
      for (int x = 0; x < p_.width; ++x) Set(x, y, Mix(top, bottom, y, std::max(1, p_.height - 1)));
  }
  void Frame(int l, int t, int w, int h, int c) {
    for (int x = l; x < l + w; ++x) { Set(x, t, c); Set(x, t + h - 1, c); }
    for (int y = t; y < t + h; ++y) { Set(l, y, c); Set(l + w - 1, y, c); }
  }
  void Fill(int l, int t, int w, int h, int c) {
    for (int y = t; y < t + h; ++y)
      for (int x = l; x < l + w; ++x) Set(x, y, c);
  }
  // Outside the rounded rectangle becomes `outside`.
  void RoundCorners(int radius, int outside) {
    const int w = p_.width, h = p_.height;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int cx = x < radius ? radius : (x >= w - radius ? w - 1 - radius : x);
        const int cy = y < radius ? radius : (y >= h - radius ? h - 1 - radius : y);
        const int dx = x - cx, dy = y - cy;
        if (dx * dx + dy * dy > radius * radius) Set(x, y, outside);
      }
  }
  // A filled arrow head of size s pointing in (dx, dy) (one of the four
  // directions) with its tip at (x, y), and a shaft of length `shaft`.
  void Arrow(int x, int y, int dx, int dy, int s, int shaft, int c) {
    for (int i = 0; i < s; ++i)          // head: rows widening away from the tip
      for (int j = -i; j <= i; ++j) Set(x - dx * i + dy * j, y - dy * i + dx * j, c);
    for (int i = s; i < s + shaft; ++i)  // shaft: 3 pixels wide
      for (int j = -1; j <= 1; ++j) Set(x - dx * i + dy * j, y - dy * i + dx * j, c);
  }
  Picture Take() { return std::move(p_); }

 private:
  Picture p_;
};

// Card colours: pointer widget blue, paste green, selection orange.
int CardInk(int card) {
  switch (card) {
    case 1: return Bgr(0x1E, 0x5A, 0xC8);
    case 2: return Bgr(0x1E, 0x8C, 0x3C);
    default: return Bgr(0xD2, 0x6E, 0x14);
  }
}

}  // namespace

Picture WheelStrip() {
  Canvas c(128, 29, 0);
  c.Gradient(Bgr(0xFF, 0xFB, 0xE6), Bgr(0xF2, 0xE2, 0xA8));
  // The part that shows starts 7 px in and 4 px down.
  c.Frame(7, 4, 104, 18, Bgr(0xC8, 0xA0, 0x3C));
  // A mouse: rounded body, a wheel in its top half.
  const int ink = Bgr(0x50, 0x50, 0x50);
  c.Fill(12, 7, 9, 12, Bgr(0xFF, 0xFF, 0xF8));
  c.Frame(12, 7, 9, 12, ink);
  c.Set(12, 7, Bgr(0xF6, 0xEE, 0xC8)); c.Set(20, 7, Bgr(0xF6, 0xEE, 0xC8));
  for (int x = 13; x < 20; ++x) c.Set(x, 12, ink);
  c.Fill(16, 8, 1, 4, Bgr(0xE0, 0x20, 0x20));
  return c.Take();
}

Picture CardRow(int card, int row) {
  card = std::clamp(card, 1, 3);
  row = std::clamp(row, 0, 2);
  const int ink = CardInk(card);
  Canvas c(430, 23, 0);
  c.Gradient(Mix(ink, kWhite, 14, 16), Mix(ink, kWhite, 11, 16));
  // The control sits 100 px left of the card: the card's middle is x 268.
  const int mid = 100 + 336 / 2;
  if (row == 0) c.Arrow(mid, 2, 0, -1, 6, 8, ink);
  if (row == 1) {
    c.Arrow(mid - 40, 11, -1, 0, 6, 14, ink);
    c.Arrow(mid + 40, 11, 1, 0, 6, 14, ink);
    c.Fill(mid - 3, 8, 7, 7, ink);  // the pointer's place
  }
  if (row == 2) c.Arrow(mid, 20, 0, 1, 6, 8, ink);
  c.Frame(100, 0, 336, 23, Mix(ink, kWhite, 6, 16));
  return c.Take();
}

Picture MouseShape() {
  Canvas c(440, 79, 0);
  c.Gradient(Bgr(0xF4, 0xF8, 0xFF), Bgr(0xD8, 0xE4, 0xF8));
  c.Frame(0, 0, 440, 79, Bgr(0x64, 0x82, 0xB4));
  c.RoundCorners(12, kWhite);
  return c.Take();
}

Picture BadgeIcon() {
  Canvas c(31, 29, kWhite);
  const int ink = Bgr(0x14, 0x50, 0xB4);
  // A four-way arrow around a round grip.
  c.Arrow(15, 1, 0, -1, 5, 4, ink);
  c.Arrow(15, 27, 0, 1, 5, 4, ink);
  c.Arrow(2, 14, -1, 0, 5, 4, ink);
  c.Arrow(28, 14, 1, 0, 5, 4, ink);
  for (int y = 10; y <= 18; ++y)
    for (int x = 11; x <= 19; ++x) {
      const int dx = x - 15, dy = y - 14;
      if (dx * dx + dy * dy <= 16) c.Set(x, y, dx * dx + dy * dy <= 4 ? Bgr(0xF0, 0xC8, 0x28) : ink);
    }
  return c.Take();
}

Picture BadgeBack() {
  Canvas c(226, 121, 0);
  c.Gradient(Bgr(0xFF, 0xFF, 0xF0), Bgr(0xFF, 0xE8, 0x9C));
  c.Frame(2, 0, 102, 27, Bgr(0xC8, 0x96, 0x28));
  return c.Take();
}

Picture LifeIcon(int which) {
  which = std::clamp(which, 0, 3);
  Canvas c(16, 15, 0);
  c.Gradient(Bgr(0xF4, 0xF7, 0xFB), Bgr(0xDC, 0xE6, 0xF2));
  const int ink = Bgr(0x1E, 0x5A, 0xA0), pale = Bgr(0xFF, 0xFF, 0xFF);
  switch (which) {
    case 0:  // a mouse with its wheel
      c.Fill(4, 1, 8, 13, pale);
      c.Frame(4, 1, 8, 13, ink);
      for (int x = 5; x < 11; ++x) c.Set(x, 6, ink);
      c.Fill(7, 2, 2, 3, Bgr(0xE0, 0x20, 0x20));
      break;
    case 1:  // a keyboard: keys in two rows and a space bar
      c.Fill(1, 3, 14, 9, pale);
      c.Frame(1, 3, 14, 9, ink);
      for (int x = 3; x < 13; x += 2) {
        c.Set(x, 5, ink);
        c.Set(x, 7, ink);
      }
      c.Fill(5, 9, 6, 1, ink);
      break;
    case 2:  // a globe: a circle with its equator and meridian
      for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x) {
          const int dx = 2 * x - 15, dy = 2 * y - 14, d = dx * dx + dy * dy;
          if (d <= 13 * 13) c.Set(x, y, Bgr(0xBE, 0xDC, 0xF5));
          if (d <= 13 * 13 && d >= 11 * 11) c.Set(x, y, ink);
        }
      for (int x = 2; x < 14; ++x) c.Set(x, 7, ink);
      for (int y = 1; y < 14; ++y) c.Set(7, y, ink);
      break;
    default:  // the menu: three lines beside three dots
      for (int row = 0; row < 3; ++row) {
        const int y = 3 + 4 * row;
        c.Fill(2, y, 2, 2, ink);
        c.Fill(6, y, 8, 2, ink);
      }
      break;
  }
  return c.Take();
}

Picture Resized(const Picture& p, int w, int h) {
  Picture out;
  if (w <= 0 || h <= 0 || p.width <= 0 || p.height <= 0) return out;
  out.width = w;
  out.height = h;
  out.pixels.resize(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      out.pixels[static_cast<std::size_t>(y) * w + x] =
          p.at(static_cast<int>(static_cast<long long>(x) * p.width / w),
               static_cast<int>(static_cast<long long>(y) * p.height / h));
  return out;
}

bool Show(Control& image, const Picture& p) {
  Form* f = image.owner();
  if (!f || !image.Handle()) return false;
  return f->platform().setPicture(image.Handle(), p.width, p.height, p.pixels);
}

}  // namespace sq::pictures
