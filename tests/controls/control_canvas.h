// A widget application for the controls' tests and an image with a DC that
// the controls draw into.
#pragma once

#include <QApplication>
#include <QImage>

#include "platform/gdi/gdi_api.h"

inline void EnsureApplication() {
  static int argc = 1;
  static char name[] = "controls_tests";
  static char* argv[] = {name, nullptr};
  if (!qApp) new QApplication(argc, argv);
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

struct ControlCanvas {
  ControlCanvas(int width, int height, COLORREF background = RGB(200, 100, 50))
      : image(width, height, QImage::Format_RGB32) {
    EnsureApplication();
    image.fill(QColor(GetRValue(background), GetGValue(background), GetBValue(background)));
    dc.AttachImage(&image);
  }
  ~ControlCanvas() { dc.DetachTarget(); }
  COLORREF At(int x, int y) const {
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
  }
  int Count(COLORREF colour, int left, int top, int right, int bottom) const {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) n += At(x, y) == colour;
    return n;
  }
  QImage image;
  CDC dc;
};
