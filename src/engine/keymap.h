#pragma once

namespace tarvesh::engine {

// A key's glyph before the staff-key shift: the code (0 when the key stamps nothing) and the
// band its sign is copied in.
struct KeyGlyph {
  int code = 0;
  int band = 0;
};

// The band accidentals are copied in, so that duration lines already under the cursor survive.
inline constexpr int kAccidentalBand = 2;

// Looks a virtual-key code up in the key table. Space, 9 and 0 give their narrow glyphs when
// `halfWidth` is set. Keys outside the table give code 0.
KeyGlyph LookUpKey(int keyCode, bool halfWidth);

}  // namespace tarvesh::engine
