#include "platform/ui/window_dc.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include "platform/ui/window_props.h"
#include "platform/ui/window_widgets.h"

namespace {

QImage GrabScreen(const QRect& globalArea) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return QImage();
  const QRect area = globalArea.isNull() ? screen->geometry() : globalArea;
  QImage pixels = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                       .toImage()
                       .convertToFormat(QImage::Format_RGB32);
  if (pixels.size() != area.size()) {
    // Screens that cannot be read (the offscreen platform) show white.
    pixels = QImage(area.size(), QImage::Format_RGB32);
    pixels.fill(Qt::white);
  }
  return pixels;
}

}  // namespace

CWindowSurfaceDC::~CWindowSurfaceDC() {
  if (m_pOldFont) SelectObject(m_pOldFont);
  DetachTarget();
  m_painter.reset();
}

void CWindowSurfaceDC::Open(CWnd* wnd, const QRect& area, bool clipRing) {
  m_pSurfaceWidget = wnd ? wnd->GetWidget() : nullptr;
  m_area = area;
  if (m_pSurfaceWidget && WidgetInPaint() == m_pSurfaceWidget) {
    m_painter = std::make_unique<QPainter>(m_pSurfaceWidget);
    if (clipRing) {
      const int border = window_props::BorderWidth(m_pSurfaceWidget);
      const QRect whole = m_pSurfaceWidget->rect();
      m_painter->setClipRegion(QRegion(whole).subtracted(whole.adjusted(border, border, -border, -border)));
    } else {
      m_painter->setClipRect(area);
    }
    m_painter->translate(area.topLeft());
    AttachPainter(m_painter.get());
  } else {
    m_scratch = QImage(area.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    m_scratch.fill(Qt::white);
    AttachImage(&m_scratch);
  }
  SelectWindowFont();
}

void CWindowSurfaceDC::OpenScreen() {
  m_scratch = GrabScreen(QRect());
  m_area = QRect(QPoint(0, 0), m_scratch.size());
  AttachImage(&m_scratch);
  SelectWindowFont();
}

void CWindowSurfaceDC::SelectWindowFont() {
  const LOGFONT logFont = DefaultGuiLogFont();
  if (m_font.CreateFontIndirect(&logFont)) m_pOldFont = SelectObject(&m_font);
}

QImage CWindowSurfaceDC::ReadPixels(const QRect& deviceRect) const {
  if (!m_painter) return CDC::ReadPixels(deviceRect);
  // A widget's surface is the screen under it.
  const QPoint origin = m_pSurfaceWidget->mapToGlobal(m_area.topLeft());
  return GrabScreen(deviceRect.translated(origin));
}

QSize CWindowSurfaceDC::SurfaceSize() const { return m_area.size(); }

static QRect ClientArea(CWnd* wnd) {
  QWidget* widget = wnd ? wnd->GetWidget() : nullptr;
  if (!widget) return QRect(0, 0, 1, 1);
  const int border = window_props::BorderWidth(widget);
  return widget->rect().adjusted(border, border, -border, -border);
}

CPaintDC::CPaintDC(CWnd* wnd) {
  Open(wnd, ClientArea(wnd), false);
  m_ps.hdc = this;
  m_ps.fErase = FALSE;
  m_ps.rcPaint = RECT{0, 0, m_area.width(), m_area.height()};
}

CPaintDC::~CPaintDC() = default;

CClientDC::CClientDC(CWnd* wnd) { Open(wnd, ClientArea(wnd), false); }

CWindowDC::CWindowDC(CWnd* wnd) {
  if (!wnd || !wnd->GetWidget()) {
    OpenScreen();
    return;
  }
  const int border = window_props::BorderWidth(wnd->GetWidget());
  Open(wnd, wnd->GetWidget()->rect(), border > 0);
}
