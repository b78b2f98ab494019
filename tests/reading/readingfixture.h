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
  // overwrite, Backspace, and Enter after a bar line.
  void TypeRandomScore(unsigned seed, int steps);
  void Key(int keyCode, int row = 0);
  void Note(int code, int row);
  // Backspace, recorded as taking back the last key's items.
  void Backspace();
  // What the typing put on the page, in order, across lines: an accidental with the note after
  // it, an accidental alone as unknown ink.
  std::vector<std::string> Typed() const;
  std::vector<ReadLine> ReadPage() const { return reader.Read(page.Image()); }

  PageReader reader{engine::testing::TestAtlas()};

 private:
  // What one key stamped: its item, and the bar line the engine put after a full bar.
  struct Stamp {
    std::string item;
    bool barLineAfter = false;
  };

  void Record(const std::string& item, int dingsBefore);

  std::vector<Stamp> typed_;
};

}  // namespace tarvesh::reading::testing
