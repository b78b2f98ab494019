#include "lyrics/noteitem.h"

namespace tarvesh::lyrics {

NoteItem NoteItem::Of(const reading::ReadItem& item) {
  NoteItem note;
  note.kind = item.kind;
  note.degree = item.degree;
  note.octave = item.octave;
  note.duration = item.duration;
  note.accidental = item.accidental;
  note.slurStart = item.slurStart;
  note.slurEnd = item.slurEnd;
  note.left = item.box.left();
  note.width = item.box.width();
  return note;
}

std::vector<NoteItem> NoteItems(const reading::ReadLine& line) {
  std::vector<NoteItem> items;
  items.reserve(line.items.size());
  for (const reading::ReadItem& item : line.items) items.push_back(NoteItem::Of(item));
  return items;
}

bool NoteItem::SameMusic(const NoteItem& other) const {
  return kind == other.kind && degree == other.degree && octave == other.octave &&
         duration == other.duration && accidental == other.accidental;
}

}  // namespace tarvesh::lyrics
