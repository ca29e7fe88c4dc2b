#include "platform/ui/progress_window.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include "platform/ui/qt_text.h"
#include "platform/ui/wnd.h"

namespace {
constexpr int kSteps = 1000;
}  // namespace

CProgressWindow::CProgressWindow(const CString& label, CWnd* parent, std::chrono::milliseconds showAfter)
    : m_dialog(std::make_unique<QProgressDialog>(ToQString(label), QString::fromUtf8("取消"), 0, kSteps,
                                                 parent ? parent->GetWidget() : nullptr)),
      m_showAt(std::chrono::steady_clock::now() + showAfter) {
  m_dialog->setWindowModality(Qt::ApplicationModal);
  m_dialog->setAutoClose(false);
  m_dialog->setAutoReset(false);
  m_dialog->setMinimumDuration(0);
  QObject::connect(m_dialog.get(), &QProgressDialog::canceled, [this] { m_cancelled = true; });
  QObject::connect(m_dialog.get(), &QDialog::rejected, [this] { m_cancelled = true; });  // Escape
}

CProgressWindow::~CProgressWindow() = default;

bool CProgressWindow::Update(double share) {
  if (m_cancelled) return false;
  if (std::chrono::steady_clock::now() < m_showAt) return true;
  const double clamped = share < 0 ? 0 : (share > 1 ? 1 : share);
  if (!m_dialog->isVisible()) m_dialog->show();
  m_dialog->setValue(static_cast<int>(clamped * kSteps));
  QCoreApplication::processEvents();
  return !m_cancelled;
}
