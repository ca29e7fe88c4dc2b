// A white image with a DC drawing on it, for pixel checks.
#pragma once

#include <QGuiApplication>
#include <QImage>

#include "platform/gdi/gdi_api.h"

inline void EnsureGuiApplication() {
  static int argc = 1;
  static char name[] = "gdi_tests";
  static char* argv[] = {name, nullptr};
  if (!qGuiApp) new QGuiApplication(argc, argv);
}

struct Canvas {
  explicit Canvas(int width = 32, int height = 32, COLORREF background = RGB(255, 255, 255))
      : image(width, height, QImage::Format_RGB32) {
    EnsureGuiApplication();
    image.fill(QColor(GetRValue(background), GetGValue(background), GetBValue(background)));
    dc.AttachImage(&image);
  }
  ~Canvas() { dc.DetachTarget(); }
  COLORREF At(int x, int y) const {
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
  }
  // Number of pixels of the colour in row y (or column x).
  int CountInRow(int y, COLORREF colour) const {
    int n = 0;
    for (int x = 0; x < image.width(); ++x) n += At(x, y) == colour;
    return n;
  }
  int CountInColumn(int x, COLORREF colour) const {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) n += At(x, y) == colour;
    return n;
  }
  QImage image;
  CDC dc;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
