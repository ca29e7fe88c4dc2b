// Dialog units to pixels with the dialog font's own metrics: the base units
// are the font's average character width (of the 52 Latin letters, rounded
// as the window system rounds it) and its character height; a horizontal
// unit is a quarter of the first, a vertical unit an eighth of the second.
#pragma once

#include <QFont>
#include <QRect>

struct DialogBaseUnits {
  int averageCharWidth = 0;
  int charHeight = 0;
};

DialogBaseUnits BaseUnitsOf(const QFont& font);
// MulDiv: a * b / c rounded to the nearest, halves away from zero.
int MulDiv(int a, int b, int c);
QRect DialogUnitsToPixels(const DialogBaseUnits& units, int x, int y, int cx, int cy);

// The dialog font of a template: face name and size in points, at 96 dots
// per inch, drawn without antialiasing as the bitmap faces are.
QFont DialogFont(const char* faceUtf8, int pointSize);
