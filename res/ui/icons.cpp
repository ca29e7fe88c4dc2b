// The icons by resource number.
#include <QImage>

#include "platform/ui/resources.h"
#include "res/ui/icons_xpm.h"
#include "res/ui/resource.h"

QImage LoadIconResourceImage(UINT id, int size) {
  QImage image;
  if (id == IDR_MAINFRAME) image = QImage(size <= 16 ? kBoardIcon16 : kBoardIcon32);
  else if (id == IDI_TIP) image = QImage(kSheetIcon32);
  if (image.isNull()) return image;
  image = image.convertToFormat(QImage::Format_ARGB32);
  if (size > 0 && image.width() != size) image = image.scaled(size, size);
  return image;
}
