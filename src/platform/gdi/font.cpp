#include "platform/gdi/font.h"

#include <QFontMetrics>
#include <cmath>
#include <cstring>

#include "platform/text/encoding.h"

namespace {

constexpr int kDefaultPixelHeight = 12;
constexpr const char* kCjkFamily = "AR PL UMing CN";

QString FaceName(const LOGFONT& logFont) {
  const size_t length = strnlen(logFont.lfFaceName, LF_FACESIZE);
  const CString face(std::string(logFont.lfFaceName, length));
  return QString::fromStdU16String(ToUtf16(face));
}

// The Windows dialog fonts have no namesake here; the installed CJK font
// has their shapes and their bitmap strikes at small sizes.
QString InstalledFamily(const QString& face) {
  static const QStringList windowsFaces = {
      QString(), QStringLiteral("宋体"), QStringLiteral("新宋体"), QStringLiteral("SimSun"),
      QStringLiteral("NSimSun"), QStringLiteral("MS Shell Dlg"), QStringLiteral("MS Shell Dlg 2"),
      QStringLiteral("System"), QStringLiteral("Tahoma")};
  if (windowsFaces.contains(face, Qt::CaseInsensitive)) return QString::fromLatin1(kCjkFamily);
  return face;
}

QFont BaseFont(const LOGFONT& logFont) {
  QFont font(InstalledFamily(FaceName(logFont)));
  font.setFamilies({font.family(), QString::fromLatin1(kCjkFamily)});
  font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setKerning(false);
  const int weight = logFont.lfWeight <= 0 ? FW_NORMAL : std::min<int>(logFont.lfWeight, 1000);
  font.setWeight(QFont::Weight(weight));
  font.setItalic(logFont.lfItalic != 0);
  font.setUnderline(logFont.lfUnderline != 0);
  font.setStrikeOut(logFont.lfStrikeOut != 0);
  return font;
}

// A positive height asks for the whole cell (ascent plus descent).
int PixelSizeForCellHeight(const QFont& base, int cellHeight) {
  QFont probe(base);
  probe.setPixelSize(cellHeight);
  const QFontMetrics metrics(probe);
  const int measured = metrics.ascent() + metrics.descent();
  if (measured <= 0) return cellHeight;
  return std::max(1, static_cast<int>(std::lround(double(cellHeight) * cellHeight / measured)));
}

}  // namespace

LOGFONT DefaultGuiLogFont() {
  LOGFONT logFont;
  logFont.lfHeight = -kDefaultPixelHeight;
  logFont.lfWeight = FW_NORMAL;
  logFont.lfCharSet = GB2312_CHARSET;
  const CString face = FromUtf8("宋体");
  std::strncpy(logFont.lfFaceName, face.GetString(), LF_FACESIZE - 1);
  return logFont;
}

QFont QFontFromLogFont(const LOGFONT& logFont) {
  QFont font = BaseFont(logFont);
  if (logFont.lfHeight < 0) font.setPixelSize(-logFont.lfHeight);
  else if (logFont.lfHeight > 0) font.setPixelSize(PixelSizeForCellHeight(font, logFont.lfHeight));
  else font.setPixelSize(kDefaultPixelHeight);
  return font;
}

HFONT CreateFontIndirect(const LOGFONT* logFont) {
  if (!logFont) return nullptr;
  auto* font = new FontData;
  font->logFont = *logFont;
  return font;
}

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont) {
  return Attach(::CreateFontIndirect(logFont));
}

int CFont::GetLogFont(LOGFONT* logFont) const { return GetObject(sizeof(LOGFONT), logFont); }

CFont* CFont::FromHandle(HFONT handle) {
  return static_cast<CFont*>(CGdiObject::FromHandle(handle));
}
