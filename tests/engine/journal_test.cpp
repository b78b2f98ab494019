// A tune typed through the engine key by key, each key one edit of the page: every edit taken
// back in reverse leaves the blank page, every edit put back leaves the typed page, and the
// operations the page reports, repeated from their named sources on a second page, draw it too.
#include <QHashFunctions>
#include <functional>
#include <vector>

#include "enginefixture.h"

namespace tarvesh::engine::testing {
namespace {

constexpr int kEnter = 13;
constexpr int kBackspace = 8;
constexpr int kDot = 190;
constexpr int kSharp = 77;
constexpr int kDash = 189;
constexpr int kEighth = 97;
constexpr int kSixteenth = 98;
constexpr int kQuarter = 96;

// What the page shows, pixels and cursor, in a few bytes.
size_t Digest(const page::ScorePage& page) {
  const QImage& image = page.Image();
  const float cursor[] = {page.CursorLeft(), page.CursorTop(), float(image.width())};
  size_t seed = qHashBits(cursor, sizeof cursor);
  for (int y = 0; y < image.height(); ++y)
    seed = qHashBits(image.constScanLine(y), size_t(image.width()) * 4, seed);
  return seed;
}

class TypedTune : public EngineTest {
 protected:
  // Presses a key as the key handler does: duration keys choose the row, Enter ends the line.
  void Press(int key) {
    if (key >= kQuarter && key <= kQuarter + 3) {
      state.CurrentDurationRow = key - kQuarter;
    } else if (key == kEnter) {
      engine.EndLine();
    } else {
      const int code = engine.KeyToGlyphCode(key);
      if (code > 0) engine.PlaceGlyph(code, state.CurrentDurationRow);
    }
  }

  // The tune as the user's actions, each one edit: a line filled bar by bar (its automatic line
  // end justifies it), erasing, notes inserted into the middle of the second line, chord symbols
  // over the first, the second finished and justified by Enter, and overwriting on the third
  // and onto the blank fourth.
  std::vector<std::function<void()>> Steps() {
    std::vector<std::function<void()>> steps;
    const auto keys = [&](std::vector<int> codes) {
      for (int key : codes) steps.push_back([this, key] { Press(key); });
    };
    const std::vector<int> bar1{kQuarter, 49, 50, 51, 49};
    const std::vector<int> bar2{kEighth, 51, 52, 53, 51, kQuarter, 53, kDash};
    const std::vector<int> bar3{kQuarter, 53, kDot, kEighth, 54, kQuarter, kSharp, 52, 51};
    const std::vector<int> bar4{kSixteenth, 53, 54, 53, 52, kEighth, 51, 49, kQuarter, 50, kDash};
    for (int repeat = 0; repeat < 2; ++repeat) {
      keys(bar1);
      keys(bar2);
      keys(bar3);
      keys(bar4);
    }
    keys(bar2);
    keys({kBackspace, kBackspace, 55});
    steps.push_back([this] { page.SetCursorLeft(page.CursorLeft() - 3 * page::kWideCell); });
    keys({kSixteenth, 50, 51, kSharp, 52});
    steps.push_back([this] {
      page.SetCursor(page::kLeftMargin + 30 * page::kWideCell, kTop);
      state.NoteMode = 0;
    });
    keys({49, 53});
    steps.push_back([this] { state.KeypadHeld[7] = 1; });
    keys({52});
    steps.push_back([this] {
      state.KeypadHeld[7] = 0;
      state.NoteMode = 1;
      page.SetCursor(page::kLeftMargin + 20 * page::kWideCell, kTop + kLineSpacing);
    });
    keys(bar3);
    keys(bar1);
    keys({kEnter});
    keys(bar1);
    steps.push_back([this] {
      state.InsertMode = 0;
      page.SetCursorLeft(page::kLeftMargin + page::kWideCell);
    });
    keys({kQuarter, 55, 55, kBackspace, kEnter});
    keys(bar2);
    return steps;
  }
};

TEST_F(TypedTune, EditsRevertToTheBlankPageAndReapplyToTheTypedOne) {
  std::vector<std::function<void()>> steps = Steps();
  std::vector<size_t> shown{Digest(page)};
  std::vector<page::PageEdit> edits;
  for (const auto& step : steps) {
    page.BeginEdit();
    step();
    edits.push_back(page.EndEdit());
    shown.push_back(Digest(page));
  }
  ASSERT_GT(BarLines(kTop).size(), 4u) << "the tune was typed";
  ASSERT_GT(BarLines(kTop + kLineSpacing).size(), 1u);

  for (size_t i = edits.size(); i-- > 0;) {
    ASSERT_TRUE(page.Revert(edits[i]));
    ASSERT_EQ(Digest(page), shown[i]) << "after reverting step " << i;
  }
  EXPECT_EQ(page.Image(), page::ScorePage(Width(), page.Height()).Image());
  for (size_t i = 0; i < edits.size(); ++i) {
    ASSERT_TRUE(page.Reapply(edits[i]));
    ASSERT_EQ(Digest(page), shown[i + 1]) << "after reapplying step " << i;
  }
}

// Each operation repeated on a page of its own, its pictures taken by the names the engine gave.
TEST_F(TypedTune, ReportedOperationsRepeatedFromTheirSourcesDrawTheSamePage) {
  page::ScorePage mirror(Width(), page.Height());
  using Kind = page::PageOperation::Kind;
  using Source = page::PictureSource;
  page.onOperation = [&](const page::PageOperation& op) {
    const QImage* picture = op.source == Source::NoteAtlas   ? &Atlas().Picmode
                            : op.source == Source::SignAtlas ? &Atlas().Picmode2
                                                             : op.picture;
    switch (op.kind) {
      case Kind::CopyPicture:
        EXPECT_NE(op.source, Source::Unnamed);
        mirror.CopyCell(*picture, op.sourceRect.x(), op.sourceRect.y(), op.sourceRect.width(),
                        op.sourceRect.height(), op.target.x(), op.target.y());
        break;
      case Kind::MoveRegion:
        mirror.MoveStrip(op.sourceRect.x(), op.sourceRect.y(), op.sourceRect.width(),
                         op.sourceRect.height(), op.target.x(), op.target.y());
        break;
      case Kind::Fill:
        mirror.FillRect(op.target, op.colour);
        break;
      case Kind::Text:
        mirror.SetFont(op.pointSize, op.bold);
        mirror.SetForeColour(op.colour);
        mirror.SetTextPosition(op.position);
        mirror.DrawText(op.text);
        break;
      case Kind::Resize:
        mirror.Resize(op.target.width(), op.target.height());
        break;
      default:
        ADD_FAILURE() << "the engine does not " << int(op.kind);
    }
  };
  for (const auto& step : Steps()) step();
  EXPECT_EQ(mirror.Image(), page.Image());
}

}  // namespace
}  // namespace tarvesh::engine::testing
