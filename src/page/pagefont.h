#pragma once

#include <QFont>
#include <QString>

namespace tarvesh::page {

// The page font's name as documents and the window know it.
inline const QString kPageFontFamily = QStringLiteral("宋体");

// Maps the page font's names to an installed Song-style face. Call once before any text is
// measured or drawn.
void InstallPageFontSubstitutes();

// The page font at a size given in points, meant at 96 dots per inch, so drawn text has the same
// pixel size on every platform. Text is drawn without smoothing so every pixel is pure colour.
QFont PageFont(double pointSize, bool bold);

}  // namespace tarvesh::page
