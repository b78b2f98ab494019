#pragma once

#include <QString>

namespace tarvesh::page {

// The number a text starts with: blanks are skipped, then the longest prefix that reads as a
// decimal number (sign, digits, fraction, exponent) is taken; 0 when there is none.
double LeadingNumber(const QString& text);

// LeadingNumber rounded to a whole number, halves to even, and kept within -32768..32767 by
// taking the nearest end.
int LeadingInt16(const QString& text);

// Replaces every occurrence of `find` in `text` by `replacement`, left to right, comparing
// exactly. An empty `find`, or one equal to its replacement, leaves the text unchanged.
void ReplaceAll(QString& text, const QString& find, const QString& replacement);

}  // namespace tarvesh::page
