#include "platform/ui/progress_window.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include "platform/ui/qt_text.h"
#include "platform/ui/wnd.h"

namespace {
constexpr int kSteps = 1000;
constexpr int kShowAfterMilliseconds = 300;
}  // namespace

CProgressWindow::CProgressWindow(const CString& label, CWnd* parent)
    : m_dialog(std::make_unique<QProgressDialog>(ToQString(label), QString::fromUtf8("取消"), 0, kSteps,
                                                 parent ? parent->GetWidget() : nullptr)) {
  m_dialog->setWindowModality(Qt::ApplicationModal);
  m_dialog->setMinimumDuration(kShowAfterMilliseconds);
  m_dialog->setAutoClose(false);
  m_dialog->setAutoReset(false);
  QObject::connect(m_dialog.get(), &QProgressDialog::canceled, [this] { m_cancelled = true; });
  m_dialog->setValue(0);
}

CProgressWindow::~CProgressWindow() = default;

bool CProgressWindow::Update(double share) {
  const double clamped = share < 0 ? 0 : (share > 1 ? 1 : share);
  m_dialog->setValue(static_cast<int>(clamped * kSteps));
  QCoreApplication::processEvents();
  return !m_cancelled && !m_dialog->wasCanceled();
}
