#include "platform/gdi/system_metrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

QSize ScreenSize() {
  if (qGuiApp) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->size();
  }
  return {1024, 768};
}

}  // namespace

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return ScreenSize().width();
    case SM_CYSCREEN: return ScreenSize().height();
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    default: return 0;
  }
}

COLORREF GetSysColor(int index) {
  switch (index) {
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_WINDOWFRAME: return RGB(100, 100, 100);
    case COLOR_WINDOWTEXT: return RGB(0, 0, 0);
    case COLOR_BTNFACE: return RGB(240, 240, 240);
    case COLOR_BTNSHADOW: return RGB(160, 160, 160);
    case COLOR_GRAYTEXT: return RGB(109, 109, 109);
    case COLOR_BTNTEXT: return RGB(0, 0, 0);
    case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
    case COLOR_3DDKSHADOW: return RGB(105, 105, 105);
    case COLOR_3DLIGHT: return RGB(227, 227, 227);
    case COLOR_INFOTEXT: return RGB(0, 0, 0);
    case COLOR_INFOBK: return RGB(255, 255, 225);
    default: return RGB(0, 0, 0);
  }
}
