#pragma once

#include <random>
#include <string>
#include <vector>

#include "engine/enginefixture.h"
#include "reading/pagereader.h"
#include "reading/readitem.h"

namespace tarvesh::reading::testing {

// One line per item in the reader's terms, without its box: "note 5 +1 /8 #", "bar final", ...
std::string Describe(const ReadItem& item);
std::vector<std::string> Describe(const std::vector<ReadLine>& lines);

// A page typed through the glyph engine, with a record of what the keys put on it: the oracle a
// reading of the page is held against.
class TypedPage : public engine::testing::EngineTest {
 protected:
  // Types a seeded random score: notes of every octave and duration with dots and accidentals,
  // rests, syllables, dashes, typed bar signs, parentheses of both widths, blanks, insert and
  // overwrite, and Enter after a bar line.
  void TypeRandomScore(unsigned seed, int steps);
  void Key(int keyCode, int row = 0);
  void Note(int code, int row);
  // What the typing put on the page, in order, across lines.
  const std::vector<std::string>& Typed() const { return typed_; }
  std::vector<ReadLine> ReadPage() const { return reader.Read(page.Image()); }

  PageReader reader{engine::testing::TestAtlas()};

 private:
  // Adds the items a key stamped: its own, and the bar line the engine put after a full bar.
  void Record(const std::string& item, int dingsBefore);

  std::vector<std::string> typed_;
  // An accidental goes with the note typed after it.
  std::string pendingAccidental_;
};

}  // namespace tarvesh::reading::testing
