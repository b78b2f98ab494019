#include "reading/pagereader.h"

#include <algorithm>
#include <bit>
#include <map>

#include "page/geometry.h"
#include "page/slurarc.h"
#include "reading/inkcomponents.h"
#include "reading/inkmap.h"

namespace tarvesh::reading {

namespace {

using page::kCellHeight;

// Arcs of slurs lie above the glyphs: in rows up to 2 of a line (dots above start at row 3).
constexpr int kArcBottom = 2;
// Arc ink broken by the stretch is still one arc across gaps up to this wide.
constexpr int kArcGap = 3;
// An arc ends over the middle of its notes; this much either way still counts.
constexpr int kArcReach = 3;
// An arc piece that starts at the left margin goes on from the line above; one that reaches
// this close to the page's right edge goes on to the line below.
constexpr int kArcContinuesInset = page::kWrapInset + 1;
// A piece of ink this small says nothing about its line.
constexpr int kSmallestTellingPiece = 8;

// One bit per page pixel: ink that something read accounts for.
class Explained {
 public:
  Explained(int width, int height)
      : width_(width), height_(height), words_((width + 63) / 64), bits_(size_t(words_) * height) {}

  bool Test(int x, int y) const { return bits_[size_t(y) * words_ + x / 64] >> (x % 64) & 1; }
  void Set(int x, int y) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    bits_[size_t(y) * words_ + x / 64] |= std::uint64_t{1} << (x % 64);
  }
  // Sets the pixels of column x whose bit r is set in `mask`, bit r standing for row originY + r.
  void SetColumn(int x, ColumnMask mask, int originY) {
    while (mask) {
      const int r = std::countr_zero(mask);
      Set(x, originY + r);
      mask &= mask - 1;
    }
  }

 private:
  int width_, height_, words_;
  std::vector<std::uint64_t> bits_;
};

// One mask per page column of the kWindowRows rows from `firstRow`, from runs ordered by row.
std::vector<ColumnMask> ColumnsOf(const std::vector<InkRun>& runs,
                                  const std::vector<int>& rowStarts, int width, int firstRow) {
  std::vector<ColumnMask> columns(size_t(width), 0);
  const int rows = int(rowStarts.size()) - 1;
  for (int r = 0; r < kWindowRows; ++r) {
    const int y = firstRow + r;
    if (y < 0 || y >= rows) continue;
    const ColumnMask bit = ColumnMask{1} << r;
    for (int i = rowStarts[y]; i < rowStarts[y + 1]; ++i)
      for (int x = runs[i].x0; x < runs[i].x1; ++x) columns[x] |= bit;
  }
  return columns;
}

bool Contains(const std::vector<ColumnMask>& columns, int x, const std::vector<ColumnMask>& ink) {
  for (size_t i = 0; i < ink.size(); ++i)
    if ((columns[x + i] & ink[i]) != ink[i]) return false;
  return true;
}

// Lines lie evenly spaced. A line whose pieces all touch one another (no piece with a shape of
// its own) is found on the grid of the lines found, where ink lies in the rows of glyph bodies.
void AddLinesOfTheGrid(const InkMap& ink, std::vector<int>& tops) {
  int spacing = 0;
  for (size_t i = 1; i < tops.size(); ++i) {
    const int gap = tops[i] - tops[i - 1];
    if (spacing == 0 || gap < spacing) spacing = gap;
  }
  if (spacing < kCellHeight) return;
  const auto bodyInk = [&](int top) {
    return ink.BlackRowStart(top + kBodyTop) < ink.BlackRowStart(top + kBodyBottom + 1);
  };
  std::vector<int> found;
  for (int top = tops.front() % spacing; top < ink.Height(); top += spacing) {
    const bool known = std::any_of(tops.begin(), tops.end(),
                                   [&](int t) { return std::abs(t - top) < kCellHeight; });
    if (!known && bodyInk(top)) found.push_back(top);
  }
  tops.insert(tops.end(), found.begin(), found.end());
  std::sort(tops.begin(), tops.end());
}

// Tops of the lines: every piece of ink shaped exactly like a piece of a glyph votes for the top
// its glyph would have; the best voted tops at least a cell apart win.
std::vector<int> FindLineTops(const InkMap& ink, const std::vector<InkComponent>& pieces,
                              const GlyphTemplates& templates) {
  std::map<int, int> votes;
  for (const InkComponent& piece : pieces) {
    const QRect box = piece.box;
    if (box.width() > page::kWideCell || box.height() > kCellHeight ||
        piece.pixels < kSmallestTellingPiece)
      continue;
    std::vector<ColumnMask> shape(box.width(), 0);
    for (int r : piece.runs) {
      const InkRun& run = ink.BlackRuns()[r];
      for (int x = run.x0; x < run.x1; ++x)
        shape[x - box.left()] |= ColumnMask{1} << (run.y - box.top());
    }
    if (const std::vector<int>* rows = templates.PieceRows(shape))
      for (int row : *rows) ++votes[box.top() - row];
  }
  std::vector<std::pair<int, int>> ranked;
  for (const auto& [top, count] : votes) ranked.push_back({-count, top});
  std::sort(ranked.begin(), ranked.end());
  std::vector<int> tops;
  for (const auto& [count, top] : ranked) {
    const bool apart = std::all_of(tops.begin(), tops.end(),
                                   [&](int t) { return std::abs(t - top) >= kCellHeight; });
    if (apart) tops.push_back(top);
  }
  std::sort(tops.begin(), tops.end());
  AddLinesOfTheGrid(ink, tops);
  return tops;
}

bool SpansArcs(const ReadItem& item) {
  return item.kind == ItemKind::kNote || item.kind == ItemKind::kRest ||
         item.kind == ItemKind::kPercussion || item.kind == ItemKind::kDash;
}

bool ByLeft(const ReadItem& a, const ReadItem& b) {
  return a.box.left() < b.box.left();
}

// Reads one line: its glyphs, the arcs over them and the chord symbols under them, marking the
// ink each accounts for.
class LineReading {
 public:
  LineReading(const InkMap& ink, const GlyphTemplates& templates, const ChordReader& chords,
              const QImage& slurArc, Explained& explained, int top, PageMake* make)
      : ink_(ink),
        templates_(templates),
        chords_(chords),
        slurArc_(slurArc),
        explained_(explained),
        top_(top),
        windowTop_(top - kRowsAbove),
        columns_(ColumnsOf(ink.BlackRuns(), ink.BlackRowStarts(), ink.Width(), windowTop_)),
        make_(make) {}

  std::vector<ReadItem> Read() {
    ReadGlyphs();
    ExplainDurationLines();
    FoldAccidentals();
    ReadArcs();
    ReadChords();
    std::stable_sort(items_.begin(), items_.end(), ByLeft);
    return std::move(items_);
  }

 private:
  struct Candidate {
    const GlyphTemplate* glyph;
    int x;
  };

  void ReadGlyphs() {
    const int width = ink_.Width();
    std::vector<Candidate> candidates;
    for (const GlyphTemplate& glyph : templates_.All()) {
      const int a = glyph.anchorColumn;
      const ColumnMask anchor = glyph.ink[a];
      const ColumnMask white = glyph.mustBeWhite[a];
      for (int x = 0; x + glyph.Width() <= width; ++x) {
        const ColumnMask c = columns_[x + a];
        if ((c & anchor) != anchor || (c & white) != 0) continue;
        if (Fits(glyph, x)) candidates.push_back({&glyph, x});
      }
    }
    // A glyph with more ink first, so no smaller glyph inside its strokes is read; between equal
    // ink the form the keys stamp.
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
      if (a.glyph->inkCount != b.glyph->inkCount) return a.glyph->inkCount > b.glyph->inkCount;
      if (a.glyph->preference != b.glyph->preference)
        return a.glyph->preference < b.glyph->preference;
      return a.x < b.x;
    });
    std::vector<ColumnMask> taken(columns_.size(), 0);
    for (const Candidate& c : candidates) {
      const GlyphTemplate& glyph = *c.glyph;
      bool free = true;
      for (int i = 0; i < glyph.Width() && free; ++i) free = (taken[c.x + i] & glyph.ink[i]) == 0;
      if (!free) continue;
      for (int i = 0; i < glyph.Width(); ++i) taken[c.x + i] |= glyph.ink[i];
      items_.push_back(ItemOf(glyph, c.x));
    }
  }

  bool Fits(const GlyphTemplate& glyph, int x) const {
    for (int i = 0; i < glyph.Width(); ++i) {
      const ColumnMask c = columns_[x + i];
      if ((c & glyph.ink[i]) != glyph.ink[i] || (c & glyph.mustBeWhite[i]) != 0) return false;
    }
    return true;
  }

  ReadItem ItemOf(const GlyphTemplate& glyph, int x) {
    ReadItem item;
    item.kind = glyph.kind;
    item.box = QRect(x, top_, glyph.Width(), kCellHeight);
    item.degree = glyph.degree;
    item.bar = glyph.bar;
    item.accidental = glyph.accidental;
    item.text = glyph.text;
    const std::vector<ColumnMask>* ink = &glyph.ink;
    const AtlasCell* single = nullptr;
    for (const GlyphVariant& variant : glyph.variants) {
      if (!Contains(columns_, x, variant.ink)) continue;
      item.octave = variant.octave;
      item.duration = variant.duration;
      ink = &variant.ink;
      single = &variant.cell;
      break;
    }
    if (make_) {
      const auto stamp = [&](const AtlasCell& cell) {
        make_->stamps.push_back({cell.atlas, cell.rect, QPoint(x + cell.dx, top_)});
      };
      if (single) {
        stamp(*single);
      } else {
        for (const AtlasCell& cell : glyph.cells) stamp(cell);
      }
    }
    for (int i = 0; i < glyph.Width(); ++i) explained_.SetColumn(x + i, (*ink)[i], windowTop_);
    return item;
  }

  // A run on a duration line's row that touches a line read with a glyph is that glyph's: its
  // lines carried on through spacing, dots and accidentals.
  void ExplainDurationLines() {
    const auto& runs = ink_.BlackRuns();
    for (int line = 0; line < page::kDurationLines; ++line) {
      const int y = top_ + page::kDurationLineRow + line * page::kDurationLineStep;
      if (y < 0 || y >= ink_.Height()) continue;
      for (int i = ink_.BlackRowStart(y); i < ink_.BlackRowStart(y + 1); ++i) {
        bool touches = false;
        for (int x = runs[i].x0; x < runs[i].x1 && !touches; ++x) touches = explained_.Test(x, y);
        if (!touches) continue;
        for (int x = runs[i].x0; x < runs[i].x1; ++x) explained_.Set(x, y);
        if (make_) make_->lines.push_back(QRect(runs[i].x0, y, runs[i].x1 - runs[i].x0, 1));
      }
    }
  }

  // An accidental belongs to the note after it; with none, it stays as unknown ink.
  void FoldAccidentals() {
    std::stable_sort(items_.begin(), items_.end(), ByLeft);
    std::vector<ReadItem> folded;
    for (size_t i = 0; i < items_.size(); ++i) {
      ReadItem& item = items_[i];
      const bool isAccidental =
          item.accidental != Accidental::kNone && item.kind == ItemKind::kUnknown;
      if (isAccidental && i + 1 < items_.size() && items_[i + 1].kind == ItemKind::kNote &&
          items_[i + 1].accidental == Accidental::kNone) {
        items_[i + 1].accidental = item.accidental;
        items_[i + 1].accidentalBox = item.box;
        continue;
      }
      folded.push_back(item);
    }
    items_ = std::move(folded);
  }

  void ReadArcs() {
    // Columns with arc ink: black above the glyph rows and not another line's.
    const int width = ink_.Width();
    ColumnMask arcRows = 0;
    for (int row = -kRowsAbove; row <= kArcBottom; ++row) arcRows |= RowBit(row);
    std::vector<ColumnMask> arc(size_t(width), 0);
    for (int x = 0; x < width; ++x) {
      ColumnMask m = columns_[x] & arcRows;
      while (m) {
        const int r = std::countr_zero(m);
        m &= m - 1;
        const int y = windowTop_ + r;
        if (!explained_.Test(x, y)) arc[x] |= ColumnMask{1} << r;
      }
    }
    int x = 0;
    while (x < width) {
      if (!arc[x]) {
        ++x;
        continue;
      }
      const int first = x;
      int last = x;
      while (x < width && x <= last + kArcGap + 1) {
        if (arc[x]) last = x;
        ++x;
      }
      ClaimArc(arc, first, last);
    }
  }

  void ClaimArc(const std::vector<ColumnMask>& arc, int first, int last) {
    std::vector<ReadItem*> spanned;
    for (ReadItem& item : items_) {
      const int middle = item.box.center().x() + 1;
      if (SpansArcs(item) && middle >= first - kArcReach && middle <= last + 1 + kArcReach)
        spanned.push_back(&item);
    }
    // An arc over nothing read is left as unknown ink.
    if (spanned.empty()) return;
    const bool fromAbove = first <= page::kLeftMargin;
    const bool goesOn = last >= ink_.Width() - kArcContinuesInset;
    if (!fromAbove) spanned.front()->slurStart = true;
    if (!goesOn) spanned.back()->slurEnd = true;
    for (int x = first; x <= last; ++x) explained_.SetColumn(x, arc[x], windowTop_);
    if (make_) TellArc(arc, first, last, fromAbove, goesOn);
  }

  // Tells the make the arc over first..last as a slur stretches it: the whole picture, the left
  // half going on to the next line or the right half come from the line above, its rectangle
  // following from its columns and the line. Only an arc the picture draws exactly is told.
  void TellArc(const std::vector<ColumnMask>& arc, int first, int last, bool fromAbove,
               bool goesOn) {
    if (fromAbove && goesOn) return;
    using Part = page::SlurArc::Part;
    const int left = fromAbove ? page::kLeftMargin : first;
    const Part part = fromAbove ? Part::kRightHalf : goesOn ? Part::kLeftHalf : Part::kWhole;
    const page::SlurArc placed = page::SlurArc::Over(part, left, last + 1 - left, top_);
    if (DrawsExactly(placed, arc, first, last)) make_->arcs.push_back(placed);
  }

  // Whether the arc picture stretched as `placed` inks exactly the arc ink over first..last:
  // every pixel it draws is black and every pixel of the arc is one it draws. An arc drawn some
  // other way, two arcs run together or an arc partly drawn over fail, and stay ink to enlarge.
  bool DrawsExactly(const page::SlurArc& placed, const std::vector<ColumnMask>& arc, int first,
                    int last) const {
    const QRect box = placed.target;
    if (slurArc_.isNull() || box.top() < windowTop_ || box.left() < 0 ||
        box.right() >= ink_.Width())
      return false;
    const QImage drawn = placed.Stretched(slurArc_, 1);
    std::vector<ColumnMask> drawnColumns(size_t(box.width()), 0);
    for (int y = 0; y < drawn.height(); ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
      for (int x = 0; x < drawn.width(); ++x)
        if ((row[x] & 0x00ffffffu) != 0x00ffffffu)
          drawnColumns[size_t(x)] |= ColumnMask{1} << (box.top() + y - windowTop_);
    }
    for (int i = 0; i < box.width(); ++i)
      if ((drawnColumns[size_t(i)] & ~columns_[box.left() + i]) != 0) return false;
    for (int x = first; x <= last; ++x) {
      const ColumnMask drawnHere =
          box.left() <= x && x <= box.right() ? drawnColumns[x - box.left()] : 0;
      if ((arc[x] & ~drawnHere) != 0) return false;
    }
    return true;
  }

  void ReadChords() {
    const int bandTop = top_ + ChordReader::kBandTop;
    const auto band = ColumnsOf(ink_.InkRuns(), ink_.InkRowStarts(), ink_.Width(), bandTop);
    for (ChordReader::Chord& chord : chords_.Read(band, top_)) {
      for (size_t i = 0; i < chord.footprint.size(); ++i)
        explained_.SetColumn(chord.left + int(i), chord.footprint[i], bandTop);
      if (make_) make_->texts.insert(make_->texts.end(), chord.texts.begin(), chord.texts.end());
      items_.push_back(std::move(chord.item));
    }
  }

  const InkMap& ink_;
  const GlyphTemplates& templates_;
  const ChordReader& chords_;
  const QImage& slurArc_;
  Explained& explained_;
  const int top_;
  const int windowTop_;
  const std::vector<ColumnMask> columns_;
  PageMake* const make_;
  std::vector<ReadItem> items_;
};

// Adds the pixels of `piece` that nothing read explains, as one region of unknown ink, to the
// line it lies nearest.
void AddUnknownInk(const InkComponent& piece, const InkMap& ink, const Explained& explained,
                   std::vector<ReadLine>& lines) {
  QRect unknown;
  for (int r : piece.runs) {
    const InkRun& run = ink.InkRuns()[r];
    for (int x = run.x0; x < run.x1; ++x)
      if (!explained.Test(x, run.y)) unknown = unknown.united(QRect(x, run.y, 1, 1));
  }
  if (unknown.isNull()) return;
  if (lines.empty()) lines.push_back({unknown.top(), {}});
  const auto distance = [&](const ReadLine& line) {
    return std::abs(unknown.center().y() - (line.top + kCellHeight / 2));
  };
  ReadLine* nearest = &lines.front();
  for (ReadLine& line : lines)
    if (distance(line) < distance(*nearest)) nearest = &line;
  ReadItem item;
  item.box = unknown;
  const auto at = std::upper_bound(nearest->items.begin(), nearest->items.end(), item, ByLeft);
  nearest->items.insert(at, item);
}

}  // namespace

PageReader::PageReader(const page::GlyphAtlas& atlas)
    : templates_(atlas), slurArc_(atlas.SlurArc.convertToFormat(QImage::Format_RGB32)) {}

std::vector<ReadLine> PageReader::Read(const QImage& page) const {
  const InkMap ink(page);
  const auto blackPieces = FindComponents(ink.BlackRuns(), ink.BlackRowStarts());
  return ReadLines(ink, FindLineTops(ink, blackPieces, templates_));
}

ReadLine PageReader::ReadLineAt(const QImage& page, int top) const {
  const InkMap ink(page, top - kRowsAbove, top + ChordReader::kBandTop + kWindowRows);
  std::vector<ReadLine> lines = ReadLines(ink, {top});
  return lines.empty() ? ReadLine{top, {}} : lines.front();
}

PageMake PageReader::MakeLineAt(const QImage& page, int top) const {
  const InkMap ink(page, top - kRowsAbove, top + ChordReader::kBandTop + kWindowRows);
  PageMake make;
  ReadLines(ink, {top}, &make);
  return make;
}

std::optional<int> PageReader::ItemLeftAt(const QImage& page, int x, int top) const {
  for (const ReadItem& item : ReadLineAt(page, top).items) {
    if (item.kind == ItemKind::kChord || item.kind == ItemKind::kUnknown) continue;
    if (item.box.left() < x && x <= item.box.right()) return item.box.left();
    const QRect& sign = item.accidentalBox;
    if (!sign.isNull() && sign.left() < x && x <= sign.right()) return sign.left();
  }
  return std::nullopt;
}

PageMake PageReader::Make(const QImage& page) const {
  const InkMap ink(page);
  const auto blackPieces = FindComponents(ink.BlackRuns(), ink.BlackRowStarts());
  PageMake make;
  ReadLines(ink, FindLineTops(ink, blackPieces, templates_), &make);
  return make;
}

std::vector<ReadLine> PageReader::ReadLines(const InkMap& ink, const std::vector<int>& tops,
                                            PageMake* make) const {
  std::vector<ReadLine> lines;
  for (int top : tops) lines.push_back({top, {}});
  Explained explained(ink.Width(), ink.Height());
  for (ReadLine& line : lines)
    line.items = LineReading(ink, templates_, chords_, slurArc_, explained, line.top, make).Read();

  // Whatever ink is left goes, piece by piece, to the line it lies nearest.
  const auto& runs = ink.InkRuns();
  const bool allExplained = std::all_of(runs.begin(), runs.end(), [&](const InkRun& run) {
    for (int x = run.x0; x < run.x1; ++x)
      if (!explained.Test(x, run.y)) return false;
    return true;
  });
  if (!allExplained) {
    for (const InkComponent& piece : FindComponents(runs, ink.InkRowStarts()))
      AddUnknownInk(piece, ink, explained, lines);
  }
  std::erase_if(lines, [](const ReadLine& line) { return line.items.empty(); });
  return lines;
}

}  // namespace tarvesh::reading
