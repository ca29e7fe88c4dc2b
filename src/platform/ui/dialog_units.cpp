#include "platform/ui/dialog_units.h"

#include <QFontMetrics>
#include <QStringList>
#include <cstdlib>

namespace {

// "宋体" is not a face this system has: name the installed Song/Ming faces
// that draw it. fontconfig picks among them, in this order.
void InstallSongSubstitutes() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  const QStringList songFaces{"SimSun", "NSimSun", "AR PL UMing CN", "AR PL UMing TW",
                              "Noto Serif CJK SC", "Noto Sans CJK SC", "WenQuanYi Zen Hei"};
  QFont::insertSubstitutions(QString::fromUtf8("宋体"), songFaces);
  QFont::insertSubstitutions(QStringLiteral("SimSun"), songFaces.mid(1));
}

}  // namespace

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long product = static_cast<long long>(a) * b;
  const long long half = std::llabs(static_cast<long long>(c)) / 2;
  const long long rounded = (product >= 0) == (c > 0) ? (std::llabs(product) + half) / std::llabs(c)
                                                      : -((std::llabs(product) + half) / std::llabs(c));
  return static_cast<int>(rounded);
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return DialogBaseUnits{(letters / 26 + 1) / 2, metrics.height()};
}

QRect DialogUnitsToPixels(const DialogBaseUnits& units, int x, int y, int cx, int cy) {
  return QRect(MulDiv(x, units.averageCharWidth, 4), MulDiv(y, units.charHeight, 8),
               MulDiv(cx, units.averageCharWidth, 4), MulDiv(cy, units.charHeight, 8));
}

QFont DialogFont(const char* faceUtf8, int pointSize) {
  InstallSongSubstitutes();
  QFont font(QString::fromUtf8(faceUtf8));
  font.setPixelSize(MulDiv(pointSize, 96, 72));
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}
