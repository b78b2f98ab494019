#include "readingfixture.h"

#include <algorithm>

#include "engine/virtualkey.h"

namespace tarvesh::reading::testing {

namespace {

using engine::kDashCode;
using engine::kRestCode;
namespace vk = engine::vk;

const char* const kSyllables[] = {"冬", "X", "仓", "次", "板"};
constexpr int kFirstSyllableCode = 36;

std::string AccidentalText(Accidental accidental) {
  switch (accidental) {
    case Accidental::kSharp:
      return " #";
    case Accidental::kFlat:
      return " b";
    case Accidental::kNatural:
      return " n";
    case Accidental::kNone:
      break;
  }
  return "";
}

std::string BarText(BarKind bar) {
  switch (bar) {
    case BarKind::kSingle:
      return "single";
    case BarKind::kDouble:
      return "double";
    case BarKind::kFinal:
      return "final";
    case BarKind::kRepeatStart:
      return "repeat-start";
    case BarKind::kRepeatEnd:
      return "repeat-end";
    case BarKind::kNone:
      break;
  }
  return "?";
}

std::string Duration(int duration) {
  return " /" + std::to_string(duration);
}

// What a key of the sign atlas puts on the page in Describe's terms; "" for blanks.
std::string SignText(int code) {
  switch (code) {
    case 101:
      return "bar single";
    case 102:
      return "bar repeat-start";
    case 103:
      return "bar repeat-end";
    case 104:
      return "bar final";
    case 105:
      return "bar double";
    case 113:
      return "paren ( wide";
    case 114:
      return "paren ) wide";
    case 209:
      return "paren ( narrow";
    case 210:
      return "paren ) narrow";
    case 115:
      return "dot";
    default:
      return "";
  }
}

}  // namespace

std::string Describe(const ReadItem& item) {
  switch (item.kind) {
    case ItemKind::kNote:
      return "note " + std::to_string(item.degree) + " " + std::to_string(item.octave) +
             Duration(item.duration) + AccidentalText(item.accidental);
    case ItemKind::kRest:
      return "rest" + Duration(item.duration);
    case ItemKind::kPercussion:
      return std::string("perc ") + kSyllables[item.degree] + Duration(item.duration);
    case ItemKind::kDash:
      return "dash";
    case ItemKind::kDot:
      return "dot";
    case ItemKind::kBar:
      return "bar " + BarText(item.bar);
    case ItemKind::kParen:
      return "paren " + item.text.toStdString() +
             (item.box.width() == page::kWideCell ? " wide" : " narrow");
    case ItemKind::kChord:
      return "chord " + item.text.toStdString();
    case ItemKind::kUnknown:
      break;
  }
  return "unknown" + AccidentalText(item.accidental);
}

std::vector<std::string> Describe(const std::vector<ReadLine>& lines) {
  std::vector<std::string> all;
  for (const ReadLine& line : lines)
    for (const ReadItem& item : line.items) all.push_back(Describe(item));
  return all;
}

void TypedPage::TypeRandomScore(unsigned seed, int steps) {
  std::mt19937 rng(seed);
  const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const int accidentals[] = {vk::Letter('N'), vk::Letter('M'), vk::kComma};
  const int bars[] = {vk::Letter('H'), vk::kBracketLeft, vk::kBracketRight, vk::kBackslash,
                      vk::kQuote};
  for (int i = 0; i < steps; ++i) {
    state.InsertMode = pick(4) == 0 ? 0 : 1;
    const int what = pick(20);
    if (what < 10) {
      const int row = pick(4);
      // An accidental only where its note follows on the same line.
      if (pick(4) == 0 && page.CursorLeft() < Width() - 80) Key(accidentals[pick(3)]);
      Note(pick(35), row);
      const int dots = pick(3);
      for (int d = 0; d < dots && state.LastDurationRow < 3; ++d) Key(vk::kPeriod);
    } else if (what == 10) {
      Note(kRestCode, pick(4));
    } else if (what == 11) {
      Note(kFirstSyllableCode + pick(5), pick(4));
    } else if (what == 12) {
      Note(kDashCode, 0);
    } else if (what == 13) {
      Key(bars[pick(5)]);
    } else if (what == 14 || what == 15) {
      state.HalfWidthMode = pick(2);
      Key(what == 14 ? vk::Digit(9) : vk::Digit(0));
      state.HalfWidthMode = 0;
    } else if (what == 16) {
      state.HalfWidthMode = pick(2);
      Key(vk::kSpace);
      state.HalfWidthMode = 0;
    } else if (what == 17 && !typed_.empty() && typed_.back().item.starts_with("bar")) {
      // Lines end at a bar line: the justification never pushes notes off the page.
      engine.EndLine();
    } else if (what == 18 || what == 19) {
      Backspace();
    }
  }
}

void TypedPage::Key(int keyCode, int row) {
  const int dings = int(host.sounds.count(QStringLiteral("ding.wav")));
  const int code = engine.KeyToGlyphCode(keyCode);
  Place(code, row);
  if (code >= 201 && code <= 203) {
    typed_.push_back({code == 201 ? "acc n" : (code == 202 ? "acc #" : "acc b")});
    return;
  }
  Record(SignText(code), dings);
}

void TypedPage::Note(int code, int row) {
  const int dings = int(host.sounds.count(QStringLiteral("ding.wav")));
  state.GlyphBand = 0;
  Place(code, row);
  std::string item;
  if (code == kDashCode) {
    item = "dash";
  } else if (code == kRestCode) {
    item = "rest" + Duration(4 << row);
  } else if (code >= kFirstSyllableCode) {
    item = std::string("perc ") + kSyllables[code - kFirstSyllableCode] + Duration(4 << row);
  } else {
    item = "note " + std::to_string(code % 7 + 1) + " " + std::to_string(code / 7 - 2) +
           Duration(4 << row);
  }
  Record(item, dings);
}

void TypedPage::Backspace() {
  // At a line start Backspace blanks a cell of the line above: not an item's erase.
  const ReadLine line = reader.ReadLineAt(page.Image(), int(page.CursorTop()));
  const bool itemBefore = std::any_of(line.items.begin(), line.items.end(), [&](const auto& item) {
    return item.box.left() < page.CursorLeft();
  });
  if (!itemBefore || typed_.empty()) return;
  // Right after the bar line a note put in by itself, the two go together; after anything
  // typed since, the bar line goes alone.
  const bool justAfterBarLine = engine.NoteEndBeforeAutoBarLine().has_value();
  Place(engine::kEraseCode);
  if (typed_.back().barLineAfter && !justAfterBarLine) {
    typed_.back().barLineAfter = false;
  } else {
    typed_.pop_back();
  }
}

std::vector<std::string> TypedPage::Typed() const {
  std::vector<std::string> items;
  for (size_t i = 0; i < typed_.size(); ++i) {
    const std::string& item = typed_[i].item;
    if (item.starts_with("acc ")) {
      const bool noteNext = i + 1 < typed_.size() && typed_[i + 1].item.starts_with("note ");
      if (!noteNext) items.push_back("unknown " + item.substr(4));
    } else if (item.starts_with("note ") && i > 0 && typed_[i - 1].item.starts_with("acc ")) {
      items.push_back(item + " " + typed_[i - 1].item.substr(4));
    } else {
      items.push_back(item);
    }
    if (typed_[i].barLineAfter) items.push_back("bar single");
  }
  return items;
}

void TypedPage::Record(const std::string& item, int dingsBefore) {
  if (item.empty()) return;
  // A bar line the engine put in by itself after a full bar rings as a typed one does.
  const int dings = int(host.sounds.count(QStringLiteral("ding.wav")));
  typed_.push_back({item, dings > dingsBefore && item != "bar single"});
}

}  // namespace tarvesh::reading::testing
