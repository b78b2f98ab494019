#include "page/pagefont.h"

#include <QStringList>

#include "page/rounding.h"

namespace tarvesh::page {

void InstallPageFontSubstitutes() {
  const QStringList song{QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                         QStringLiteral("Noto Serif CJK SC")};
  QFont::insertSubstitutions(kPageFontFamily, song);
  QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
}

QFont PageFont(double pointSize, bool bold) {
  QFont font(kPageFontFamily);
  font.setPixelSize(RoundHalfEven(pointSize * 96.0 / 72.0));
  font.setBold(bold);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

}  // namespace tarvesh::page
