#include "lyrics/syllablestarts.h"

#include <QChar>

namespace tarvesh::lyrics {

std::vector<int> SyllableStarts(const std::vector<NoteItem>& items) {
  std::vector<int> starts;
  bool underArc = false;
  for (size_t i = 0; i < items.size(); ++i) {
    const NoteItem& item = items[i];
    // A note under an arc that began earlier is sung on the syllable before it; its end closes
    // the arc, and a new arc may begin on the same note.
    const bool carried = underArc;
    if (underArc && item.slurEnd) underArc = false;
    if (item.slurStart && !item.slurEnd) underArc = true;
    if (item.slurStart && item.slurEnd && carried) underArc = true;
    if (!carried && item.kind == reading::ItemKind::kNote) starts.push_back(int(i));
  }
  return starts;
}

bool IsOwnSyllable(char32_t c) {
  switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
    case QChar::Script_Bopomofo:
      return true;
    default:
      return false;
  }
}

}  // namespace tarvesh::lyrics
