#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarvesh::document {

// Text files beside the program and the texts of the side file are in the GBK code page.
QString DecodeGbk(const QByteArray& bytes);
QByteArray EncodeGbk(const QString& text);

// Splits GBK text into delimited fields: fields end at a comma or a line end, a field enclosed
// in double quotes may hold commas and loses its quotes, blanks before a field are skipped.
QStringList SplitDelimitedFields(const QByteArray& gbkText);
// The fields of a file; an empty or missing file gives none.
QStringList ReadDelimitedFields(const QString& path);

}  // namespace tarvesh::document
