#pragma once

#include <vector>

#include "reading/readline.h"

namespace tarvesh::lyrics {

// An item of a line as the lyrics keep it: what it is, so a syllable can follow its note through
// an edit of the line, and where it stands, so the syllable is drawn under it.
struct NoteItem {
  reading::ItemKind kind = reading::ItemKind::kUnknown;
  int degree = 0;
  int octave = 0;
  int duration = 0;
  reading::Accidental accidental = reading::Accidental::kNone;
  bool slurStart = false;
  bool slurEnd = false;
  int left = 0;
  int width = 0;

  static NoteItem Of(const reading::ReadItem& item);
  // The same music: kind, pitch and duration alike; place and arcs aside.
  bool SameMusic(const NoteItem& other) const;
  // The middle of the item's box, where a syllable under it is centred.
  double Centre() const { return left + width / 2.0; }
  bool operator==(const NoteItem&) const = default;
};

// Every item of a line as the lyrics keep it.
std::vector<NoteItem> NoteItems(const reading::ReadLine& line);

}  // namespace tarvesh::lyrics
