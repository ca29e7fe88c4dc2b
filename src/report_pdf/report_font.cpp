#include "report_pdf/report_font.h"

#include <QStringList>

namespace report_pdf {

namespace {

qreal PointSize(FontRole role) {
  switch (role) {
    case FontRole::Title: return 18;
    case FontRole::Heading: return 12;
    case FontRole::Body: return 10;
    case FontRole::Table: return 8.5;
    case FontRole::Small: return 8;
  }
  return 10;
}

}  // namespace

QFont ReportFont(FontRole role) {
  QFont font;
  font.setFamilies({"AR PL UMing CN", "AR PL UMing TW", "Noto Serif CJK SC", "Noto Sans CJK SC",
                    "WenQuanYi Zen Hei"});
  font.setPointSizeF(PointSize(role));
  // Metrics at the device's full resolution, so measured lines are the
  // drawn lines.
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

}  // namespace report_pdf
