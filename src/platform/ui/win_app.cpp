#include "platform/ui/win_app.h"

#include <unistd.h>

#include <QApplication>
#include <QPalette>
#include <memory>
#include <string>

#include "platform/gdi/icon.h"
#include "platform/text/encoding.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/resources.h"

namespace {

CWinApp* g_app = nullptr;

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

std::unique_ptr<QApplication>& OwnQApplication() {
  static std::unique_ptr<QApplication> application;
  return application;
}

}  // namespace

CString ExecutableBaseName() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return CString();
  std::string name(path, static_cast<size_t>(length));
  name = name.substr(name.find_last_of('/') + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return FromUtf8(name);
}

CWinApp::CWinApp() : m_strAppName(ExecutableBaseName()) {
  m_pszAppName = m_strAppName.GetString();
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

CString AfxGetAppName() { return g_app ? g_app->m_strAppName : ExecutableBaseName(); }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run(int argc, char** argv) {
  if (!qApp) {
    static int storedArgc = argc;
    OwnQApplication() = std::make_unique<QApplication>(storedArgc, argv);
  }
  QApplication::setFont(DialogFont("宋体", 9));
  InitInstance();
  return 0;
}

void CWinApp::SetDialogBkColor(COLORREF background, COLORREF text) {
  QPalette palette = QApplication::palette();
  palette.setColor(QPalette::Window, ToQColor(background));
  palette.setColor(QPalette::WindowText, ToQColor(text));
  QApplication::setPalette(palette);
}

HICON CWinApp::LoadIcon(UINT id) const { return LoadIcon(id, 32); }

HICON CWinApp::LoadIcon(UINT id, int size) const {
  const QImage image = LoadIconResourceImage(id, size);
  return image.isNull() ? nullptr : CreateIconFromImage(image);
}

void CWinApp::BeginWaitCursor() {
  if (qApp) QApplication::setOverrideCursor(Qt::WaitCursor);
  ++m_nWaitCursorCount;
}

void CWinApp::EndWaitCursor() {
  if (m_nWaitCursorCount == 0) return;
  --m_nWaitCursorCount;
  if (qApp) QApplication::restoreOverrideCursor();
}

CWaitCursor::CWaitCursor() {
  if (qApp) QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor() {
  if (qApp) QApplication::restoreOverrideCursor();
}
