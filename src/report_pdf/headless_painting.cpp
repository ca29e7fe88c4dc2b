#include "report_pdf/headless_painting.h"

#include <QGuiApplication>
#include <cstdio>

namespace report_pdf {

namespace {

// Qt keeps the arguments' address for the application's lifetime.
int g_argc = 3;
char g_name[] = "loadcalc";
char g_platformOption[] = "-platform";
char g_platform[] = "offscreen";
char* g_argv[] = {g_name, g_platformOption, g_platform, nullptr};

// Standard error belongs to the program's own messages: Qt's notes about
// the session it found (no runtime folder, no display) stay out of it;
// its errors still show.
void KeepOnlyQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

HeadlessPainting::HeadlessPainting() {
  if (QCoreApplication::instance()) return;
  m_previousHandler = qInstallMessageHandler(KeepOnlyQtErrors);
  g_argc = 3;
  m_application = std::make_unique<QGuiApplication>(g_argc, g_argv);
}

HeadlessPainting::~HeadlessPainting() {
  if (!m_application) return;
  m_application.reset();
  qInstallMessageHandler(m_previousHandler);
}

}  // namespace report_pdf
