#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

#include "lyrics/lyricsheet.h"

namespace tarvesh::lyrics {

// The words of a score as the side file's extension block stores them
// (docs/sidefile-extension.md): the font, then every line with its items and rows.
QByteArray EncodeLyrics(const LyricSheet& sheet);
// Nothing for bytes that no writer of this format made: a later format, a count or index beyond
// what follows, text that is no UTF-8, bytes left over.
std::optional<LyricSheet> DecodeLyrics(QByteArrayView bytes);

}  // namespace tarvesh::lyrics
