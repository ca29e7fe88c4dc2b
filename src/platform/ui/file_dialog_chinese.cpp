#include "platform/ui/file_dialog_chinese.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace {

// The columns of QFileSystemModel.
constexpr int kTypeColumn = 2;
constexpr int kDateColumn = 3;

class ChineseFileListModel : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !files || !index.isValid()) return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    if (index.column() == kTypeColumn) return TypeOf(files->fileInfo(source));
    if (index.column() == kDateColumn) return DateOf(files->lastModified(source));
    return QIdentityProxyModel::data(index, role);
  }

 private:
  static QString TypeOf(const QFileInfo& file) {
    if (file.isDir()) return QStringLiteral("文件夹");
    const QString suffix = file.suffix();
    return suffix.isEmpty() ? QStringLiteral("文件") : suffix.toUpper() + QStringLiteral(" 文件");
  }
  static QString DateOf(const QDateTime& time) {
    if (!time.isValid()) return QString();
    return QLocale(QLocale::Chinese, QLocale::China).toString(time, QStringLiteral("yyyy/M/d HH:mm"));
  }
};

}  // namespace

void ShowFileListInChinese(QFileDialog& dialog) { dialog.setProxyModel(new ChineseFileListModel(&dialog)); }
