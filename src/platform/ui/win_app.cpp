#include "platform/ui/win_app.h"

#include <unistd.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QPalette>
#include <QTranslator>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/gdi/icon.h"
#include "platform/text/encoding.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/resources.h"

namespace {

CWinApp* g_app = nullptr;

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// Qt's own dialogs and buttons (the file dialog's "Save As", "Cancel") speak
// the interface's language. Without Qt's translation files they stay English.
void LoadQtChineseTranslation(QTranslator& translator) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (translator.load(QStringLiteral("qtbase_zh_CN"), folder) || translator.load(QStringLiteral("qt_zh_CN"), folder))
    QCoreApplication::installTranslator(&translator);
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

// The application object is made before main, so its constructor does
// nothing that can fail: the name is taken when the program runs.
CWinApp::CWinApp() {
  m_pszAppName = m_strAppName.GetString();
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

CString AfxGetAppName() {
  return g_app && !g_app->m_strAppName.IsEmpty() ? g_app->m_strAppName : ExecutableBaseName();
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run(int argc, char** argv) {
  const std::string conversionProblem = TextConversionProblem();
  if (!conversionProblem.empty()) {
    std::fprintf(stderr, "%s: %s\n", argc > 0 ? argv[0] : "loadcalc", conversionProblem.c_str());
    return kExitNoTextConversion;
  }
  m_strAppName = ExecutableBaseName();
  m_pszAppName = m_strAppName.GetString();

  // The Qt application ends here, before main returns: Qt's own globals are
  // gone by the time the exit handlers run, and its windows must go first.
  int qtArgc = argc;
  std::unique_ptr<QApplication> application;
  if (!qApp) application = std::make_unique<QApplication>(qtArgc, argv);
  QTranslator qtTranslation;
  LoadQtChineseTranslation(qtTranslation);
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
