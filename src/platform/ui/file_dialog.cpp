#include "platform/ui/file_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

#include "platform/ui/dialog_owner.h"
#include "platform/ui/file_dialog_chinese.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/wnd.h"

namespace {

FileDialogHandler& Handler() {
  static FileDialogHandler handler;
  return handler;
}

// "Workbooks (*.xls)|*.xls|All|*||" → "Workbooks (*.xls);;All (*)": a
// description that already ends in its patterns is not given them twice; a
// lone "*.xls" is both description and pattern.
QString QtFilter(const CString& filter) {
  const QStringList parts = ToQString(filter).split('|', Qt::SkipEmptyParts);
  QStringList filters;
  for (int i = 0; i < parts.size(); i += 2) {
    const QString pattern = QString(i + 1 < parts.size() ? parts[i + 1] : parts[i]).replace(';', ' ');
    QString description = parts[i].trimmed();
    if (description.endsWith(')') && description.contains('('))
      description = description.left(description.lastIndexOf('(')).trimmed();
    filters << (description.isEmpty() || description == pattern ? pattern
                                                                : QStringLiteral("%1 (%2)").arg(description, pattern));
  }
  return filters.join(QStringLiteral(";;"));
}

}  // namespace

void SetFileDialogHandler(FileDialogHandler handler) { Handler() = std::move(handler); }

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defaultExt, LPCTSTR fileName, DWORD flags,
                         LPCTSTR filter, CWnd* parent)
    : m_bOpenFileDialog(openFileDialog),
      m_strDefExt(defaultExt),
      m_strFileName(fileName),
      m_strFilter(filter),
      m_dwFlags(flags),
      m_pParent(parent) {}

int CFileDialog::DoModal() {
  QString chosen;
  if (Handler()) {
    chosen = ToQString(Handler()(*this));
  } else {
    QFileDialog dialog(OwnerOrActiveWindow(m_pParent));
    KeepAboveOwner(&dialog);
    dialog.setAcceptMode(m_bOpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(m_bOpenFileDialog ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    ShowFileListInChinese(dialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(m_dwFlags & OFN_OVERWRITEPROMPT));
    if (!m_strFilter.IsEmpty()) dialog.setNameFilter(QtFilter(m_strFilter));
    if (!m_strDefExt.IsEmpty()) dialog.setDefaultSuffix(ToQString(m_strDefExt));
    if (!m_strFileName.IsEmpty()) dialog.selectFile(ToQString(m_strFileName));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      chosen = dialog.selectedFiles().first();
  }
  if (chosen.isEmpty()) return static_cast<int>(IDCANCEL);
  if (!m_strDefExt.IsEmpty() && QFileInfo(chosen).suffix().isEmpty())
    chosen += '.' + ToQString(m_strDefExt);
  m_strPath = FromQString(QFileInfo(chosen).absoluteFilePath());
  return static_cast<int>(IDOK);
}

CString CFileDialog::GetFileName() const {
  return FromQString(QFileInfo(ToQString(m_strPath)).fileName());
}
