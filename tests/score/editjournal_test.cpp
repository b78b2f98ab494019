// Named edits of a document taken back and done again: seeded random mixes of page writes,
// layouts, texts, picks, overlays, page numbers and engine state, against the document as it
// was after each edit.
#include "score/editjournal.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <functional>
#include <random>
#include <vector>

#include "page/guiapplication.h"

namespace tarvesh::testing {
namespace {

using score::EditJournal;
using score::ScoreDocument;
using Kind = ScoreDocument::OverlayKind;

struct Seen {
  QImage page;
  QPointF cursor;
  ScoreDocument::Held held;
  page::EngineState state;
  bool operator==(const Seen&) const = default;
};

Seen See(const ScoreDocument& d) {
  const page::ScorePage& p = d.Page();
  return {p.Image().copy(), QPointF(p.CursorLeft(), p.CursorTop()), d.Take(), d.State()};
}

// One random edit, as a user action would make it.
void RandomEdit(ScoreDocument& d, std::mt19937& random) {
  auto pick = [&random](int n) { return int(random() % unsigned(n)); };
  page::ScorePage& p = d.Page();
  switch (pick(8)) {
    case 0:
      p.FillRect(QRect(pick(p.Width()), pick(p.Height()), 1 + pick(60), 1 + pick(40)),
                 pick(2) ? Qt::black : Qt::white);
      p.SetCursor(float(pick(p.Width())), float(pick(p.Height())));
      break;
    case 1:
      p.MoveStrip(pick(300), pick(300), 1 + pick(400), 1 + pick(40), pick(300), pick(300));
      break;
    case 2:  // a layout that resizes the page and moves the head's places
      d.Set(ScoreDocument::kBarsPerLine, 4 + pick(13));
      d.Set(ScoreDocument::kLineSpacing, 50 + pick(201));
      d.LayOut();
      break;
    case 3:
      d.SetText(ScoreDocument::kCredit, QStringLiteral("记谱 %1").arg(pick(1000)));
      d.SetPick(ScoreDocument::kKeyPick, pick(12));
      break;
    case 4:
      d.AddOverlay(pick(2) ? Kind::kTextLabel : Kind::kSymbolPicture, QPoint(pick(900), pick(1300)),
                   pick(9), QStringLiteral("前奏"));
      break;
    case 5: {
      ScoreDocument::Overlay moved = d.OverlayAt(Kind::kTextLabel, 0);
      moved.at += QPoint(1 + pick(5), 0);
      d.SetOverlay(Kind::kTextLabel, 0, moved);
      break;
    }
    case 6:
      d.SetPageNumber(pick(99));
      d.SetNoteSpacing(pick(5), 0.5f * float(pick(3)));
      break;
    default:
      d.State().BarUnits += 1 + pick(8);
      d.State().InsertMode = pick(2);
      break;
  }
}

class Journal : public ::testing::TestWithParam<unsigned> {
 protected:
  Journal() { page::testing::EnsureGuiApplication(); }
};

TEST_P(Journal, UndoAllRedoAllAndBranchesMatchTheDocumentAsItWas) {
  std::mt19937 random(GetParam());
  ScoreDocument document;
  document.LayOut();
  EditJournal journal(document);
  std::vector<Seen> seen{See(document)};
  for (int i = 0; i < 60; ++i) {
    journal.Begin(QStringLiteral("edit %1").arg(i));
    RandomEdit(document, random);
    journal.End();
    if (journal.UndoName() == QStringLiteral("edit %1").arg(i)) seen.push_back(See(document));
  }
  for (size_t i = seen.size() - 1; i-- > 0;) {
    ASSERT_TRUE(journal.Undo());
    ASSERT_TRUE(See(document) == seen[i]) << "after undoing to " << i;
  }
  EXPECT_FALSE(journal.CanUndo());
  for (size_t i = 1; i < seen.size(); ++i) {
    ASSERT_TRUE(journal.Redo());
    ASSERT_TRUE(See(document) == seen[i]) << "after redoing to " << i;
  }
  EXPECT_FALSE(journal.CanRedo());

  // Back three, a new edit: the three are gone, and undo goes back past the new edit.
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(journal.Undo());
  const Seen branch = See(document);
  journal.Begin(QStringLiteral("new"));
  document.Page().FillRect(QRect(5, 5, 20, 20), Qt::black);
  journal.End();
  EXPECT_FALSE(journal.CanRedo());
  ASSERT_TRUE(journal.Undo());
  EXPECT_TRUE(See(document) == branch);
  ASSERT_TRUE(journal.Undo());
  EXPECT_TRUE(See(document) == seen[seen.size() - 5]);
}

INSTANTIATE_TEST_SUITE_P(Seeded, Journal, ::testing::Values(1u, 7u, 42u, 2026u));

TEST(EditJournal, NestedEditsAreOneStepAndEmptyOnesAreNotKept) {
  page::testing::EnsureGuiApplication();
  ScoreDocument document;
  EditJournal journal(document);
  QSignalSpy changed(&journal, &EditJournal::Changed);
  journal.Begin(QStringLiteral("nothing"));
  journal.End();
  EXPECT_FALSE(journal.CanUndo());
  EXPECT_EQ(changed.count(), 0);

  journal.Begin(QStringLiteral("outer"));
  document.SetText(ScoreDocument::kTitle, QStringLiteral("茉莉花"));
  journal.Begin(QStringLiteral("inner"));
  document.Page().FillRect(QRect(0, 0, 4, 4), Qt::black);
  journal.End();
  EXPECT_FALSE(journal.CanUndo()) << "kept only when the outer edit ends";
  journal.End();
  EXPECT_EQ(journal.UndoName(), QStringLiteral("outer"));
  EXPECT_EQ(changed.count(), 1);

  // Views follow an undo as they follow a user's change.
  QSignalSpy texts(&document, &ScoreDocument::TextChanged);
  ASSERT_TRUE(journal.Undo());
  EXPECT_EQ(document.Text(ScoreDocument::kTitle), ScoreDocument::kHeadTextStarts[0]);
  EXPECT_EQ(texts.count(), 1);
  EXPECT_EQ(document.Page().ReadPixel(0, 0), 0xffffff);
  EXPECT_FALSE(journal.Undo());
  EXPECT_EQ(journal.RedoName(), QStringLiteral("outer"));
}

TEST(EditJournal, DropsTheOldestEditsPastItsBound) {
  page::testing::EnsureGuiApplication();
  ScoreDocument document;
  document.LayOut();
  const size_t page = size_t(document.Page().Width()) * size_t(document.Page().Height()) * 4;
  EditJournal journal(document, 3 * page);
  for (int i = 0; i < 6; ++i) {
    journal.Begin(QStringLiteral("fill %1").arg(i));
    document.Page().FillRect(document.Page().Image().rect(), i % 2 ? Qt::white : Qt::black);
    journal.End();
  }
  EXPECT_LE(journal.Bytes(), 3 * page);
  int undone = 0;
  while (journal.Undo()) ++undone;
  EXPECT_GE(undone, 2);
  EXPECT_LT(undone, 6);
  EXPECT_EQ(journal.RedoName(), QStringLiteral("fill %1").arg(6 - undone));
}

}  // namespace
}  // namespace tarvesh::testing
