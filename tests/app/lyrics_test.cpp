// Lyrics as a person types them: a tune, then its words through the input method, under the
// right notes on the page as composed for print and export, after edits of the line too.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QJsonArray>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <map>

#include "app/windowharness.h"
#include "kit/pagecanvas.h"
#include "lyrics/lyricslayout.h"
#include "score/scoredocument.h"

namespace tarvesh::testing {
namespace {

constexpr int kCtrl = 2;
const QString kLyricsMode = QStringLiteral("key 76 2\n");

QString Keys(const std::vector<int>& keys) {
  QString script;
  for (int key : keys) script += QStringLiteral("key %1\n").arg(key);
  return script;
}

// One syllable as the dump lists it, with the item it stands under.
struct Sung {
  int line;
  int verse;
  QString text;
  QJsonObject item;
};

class Lyrics : public ::testing::Test {
 protected:
  void Run(const QString& script) {
    QString text = script;
    text.replace("DIR", dir.path());
    ASSERT_EQ(w.Run(text), 0) << w.LastError().toStdString();
  }

  std::vector<Sung> Sungs() {
    const QJsonObject dump = w.Dump();
    const QJsonArray reading = dump["reading"].toArray();
    std::vector<Sung> sung;
    for (const auto& value : dump["lyrics"].toArray()) {
      const QJsonObject s = value.toObject();
      const QJsonArray items = reading[s["line"].toInt()].toObject()["items"].toArray();
      sung.push_back({s["line"].toInt(), s["verse"].toInt(), s["text"].toString(),
                      items[s["note"].toInt()].toObject()});
    }
    return sung;
  }

  // The degrees of the notes that have words, in order.
  std::vector<int> SungDegrees() {
    std::vector<int> degrees;
    for (const Sung& s : Sungs()) {
      EXPECT_EQ(s.item["kind"].toString(), "note") << s.text.toStdString();
      degrees.push_back(s.item["degree"].toInt());
    }
    return degrees;
  }

  int LineTop(int line) { return w.Dump()["reading"].toArray()[line].toObject()["top"].toInt(); }

  // Every syllable's glyphs are black on the page as composed for print, centred under the note
  // the page shows now, in its verse's row.
  void ExpectDrawnUnderTheirNotes() {
    const QImage view = w.Form().PageView();
    const lyrics::LyricsLayout layout(w.Form().Document().Lyrics());
    const QFontMetrics metrics(layout.Font());
    for (const Sung& s : Sungs()) {
      QString shown = s.text;
      if (shown.size() > 1 && shown.endsWith('-')) shown.chop(1);
      const int width = metrics.horizontalAdvance(shown);
      const double centre = s.item["left"].toInt() + s.item["width"].toInt() / 2.0;
      const QPoint at(int(std::floor(centre - width / 2.0 + 0.5)),
                      layout.RowTop(LineTop(s.line), s.verse - 1));
      QImage alone(width, layout.RowHeight(), QImage::Format_RGB32);
      alone.fill(Qt::white);
      QPainter painter(&alone);
      painter.setFont(layout.Font());
      painter.setPen(Qt::black);
      painter.drawText(QPoint(0, metrics.ascent()), shown);
      painter.end();
      int ink = 0;
      for (int y = 0; y < alone.height(); ++y)
        for (int x = 0; x < alone.width(); ++x)
          if (alone.pixel(x, y) == 0xff000000) {
            ++ink;
            ASSERT_EQ(view.pixel(at + QPoint(x, y)), 0xff000000)
                << s.text.toStdString() << " not drawn at " << at.x() << "," << at.y();
          }
      EXPECT_GT(ink, 0) << s.text.toStdString();
    }
  }

  int Messages(const QString& containing) {
    int count = 0;
    for (const auto& event : w.Dump()["events"].toArray())
      if (event.toObject()["message"].toString().contains(containing)) ++count;
    return count;
  }

  QTemporaryDir dir;
  WindowHarness w;
};

struct TuneCase {
  const char* name;
  std::vector<int> keys;
  const char* words;
  std::vector<int> degrees;
};

class Tunes : public Lyrics, public ::testing::WithParamInterface<TuneCase> {};

TEST_P(Tunes, SyllablesGoUnderTheNotesThatStartOne) {
  Run(Keys(GetParam().keys) + kLyricsMode +
      QStringLiteral("text \"%1\"\n").arg(QString::fromUtf8(GetParam().words)));
  EXPECT_EQ(SungDegrees(), GetParam().degrees);
  ExpectDrawnUnderTheirNotes();
}

INSTANTIATE_TEST_SUITE_P(
    Lyrics, Tunes,
    ::testing::Values(TuneCase{"Slur", {49, 76, 50, 51, 76, 52}, "一二三", {1, 2, 4}},
                      TuneCase{"Tie", {76, 53, 53, 76, 54, 55}, "一二三", {5, 6, 7}},
                      TuneCase{"DashesAndRests", {49, 189, 50, 79, 51}, "一二三", {1, 2, 3}},
                      // A dotted quarter, then an eighth (keypad 1) and a quarter again (keypad 0).
                      TuneCase{"DottedNote", {49, 190, 97, 50, 96, 51}, "一二三", {1, 2, 3}},
                      TuneCase{"SpaceSkipsANote", {49, 50, 51, 52}, "一 二", {1, 3}},
                      // Past the last note of a line the words go on under the next line (Up first:
                      // lyrics mode starts on the cursor's line).
                      TuneCase{"OnToTheNextLine", {49, 50, 13, 51, 52, 38}, "一二三", {1, 2, 3}},
                      // Punctuation goes with the syllable before it.
                      TuneCase{"Punctuation", {49, 50, 51}, "一，二。三", {1, 2, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Lyrics, LatinWordsAreSyllablesAndHyphensSplitThem) {
  Run(Keys({49, 50, 51, 52, 53, 54, 55, 49, 50}) + kLyricsMode +
      "text \"Glo-ri-a in ex-cel-\"\ntext \"sis De-o\"\n");
  QStringList texts;
  for (const Sung& s : Sungs()) texts << s.text;
  EXPECT_EQ(texts, QStringList({"Glo-", "ri-", "a", "in", "ex-", "cel-", "sis", "De-", "o"}));
  EXPECT_EQ(SungDegrees(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 1, 2}));
  ExpectDrawnUnderTheirNotes();
}

TEST_F(Lyrics, FourVersesWithTheirNumbers) {
  Run(Keys({49, 50, 51, 52}) + kLyricsMode +
      "text \"1.春眠不觉\"\nkey 40\ntext \"2.夜来风雨\"\nkey 40\ntext \"3.\"\ntext \"花落知多\"\n"
      "key 40\ntext \"4.甲乙丙丁\"\nkey 40\ntext \"戊\"\n");
  const std::vector<Sung> sung = Sungs();
  ASSERT_EQ(sung.size(), 16u) << "a fifth row is no verse";
  for (size_t i = 0; i < sung.size(); ++i) {
    EXPECT_EQ(sung[i].verse, int(i / 4) + 1);
    EXPECT_EQ(sung[i].item["degree"].toInt(), int(i % 4) + 1);
  }
  EXPECT_EQ(sung[8].text, "花");
  const QJsonArray numbers = w.Dump()["verseNumbers"].toArray();
  ASSERT_EQ(numbers.size(), 4);
  for (int v = 0; v < 4; ++v) {
    EXPECT_EQ(numbers[v].toObject()["verse"].toInt(), v + 1);
    EXPECT_EQ(numbers[v].toObject()["text"].toString(), QString::number(v + 1) + ".");
  }
  ExpectDrawnUnderTheirNotes();
  // The number stands left of its row's first syllable.
  const QImage view = w.Form().PageView();
  const lyrics::LyricsLayout layout(w.Form().Document().Lyrics());
  const int firstLeft = sung[0].item["left"].toInt();
  for (int row = 0; row < 4; ++row) {
    bool ink = false;
    for (int y = layout.RowTop(96, row); y < layout.RowTop(96, row + 1); ++y)
      for (int x = 0; x < firstLeft - 4; ++x) ink |= view.pixel(x, y) == 0xff000000;
    EXPECT_TRUE(ink) << "verse number " << row + 1;
  }
}

TEST_F(Lyrics, BackspaceTakesSyllablesBackAndEnterGoesToTheNextLine) {
  Run(Keys({49, 50, 51, 13, 52, 53, 38}) + kLyricsMode +
      "text \"一二\"\nkey 8\ntext \"三\"\nkey 13\ntext \"四\"\nkey 8\nkey 8\ntext \"五六\"\n");
  QStringList texts;
  for (const Sung& s : Sungs()) texts << QStringLiteral("%1%2").arg(s.line).arg(s.text);
  // Backspace on a line with no words left takes the last one of the line above.
  EXPECT_EQ(texts, QStringList({"0一", "0五", "0六"}));
}

TEST_F(Lyrics, APressOnANoteTakesTheNextSyllable) {
  Run(Keys({49, 50, 51, 52}) + kLyricsMode + "text \"一二三四\"\n");
  const QJsonArray items = w.Dump()["reading"].toArray()[0].toObject()["items"].toArray();
  const int second = items[1].toObject()["left"].toInt() + 2;
  Run(QStringLiteral("mousedown Picture1 1 0 %1 110\nmouseup Picture1 1 0 %1 110\n").arg(second) +
      "text \"春风\"\n");
  QStringList texts;
  for (const Sung& s : Sungs()) texts << s.text;
  EXPECT_EQ(texts, QStringList({"一", "春", "风", "四"}));
}

struct EditCase {
  const char* name;
  // Run with the words 一二三 under the notes 1 2 3 and lyrics mode off; SECOND is a point
  // inside the note 2, THIRD inside the note 3, PAST a point past the note 3 and AFTER a point
  // between the notes 2 and 3.
  const char* script;
  std::vector<int> degrees;
};

class Edits : public Lyrics, public ::testing::WithParamInterface<EditCase> {};

TEST_P(Edits, WordsStayUnderTheirNotes) {
  Run(Keys({49, 50, 51}) + kLyricsMode + "text \"一二三\"\n" + kLyricsMode);
  const QJsonArray items = w.Dump()["reading"].toArray()[0].toObject()["items"].toArray();
  const int second = items[1].toObject()["left"].toInt();
  const int third = items[2].toObject()["left"].toInt();
  Run(QString::fromUtf8(GetParam().script)
          .replace("SECOND", QString::number(second + 2))
          .replace("THIRD", QString::number(third + 2))
          .replace("PAST", QString::number(third + 20))
          .replace("AFTER", QString::number(second + 13)));
  EXPECT_EQ(SungDegrees(), GetParam().degrees);
  ExpectDrawnUnderTheirNotes();
}

INSTANTIATE_TEST_SUITE_P(
    Lyrics, Edits,
    ::testing::Values(
        EditCase{"InsertBefore",
                 "mousedown Picture1 1 0 SECOND 110\nmouseup Picture1 1 0 SECOND 110\nkey 53\n",
                 {1, 2, 3}},
        EditCase{"InsertAtTheStart",
                 "mousedown Picture1 1 0 22 110\nmouseup Picture1 1 0 22 110\nkey 49\n",
                 {1, 2, 3}},
        EditCase{"BackspaceOfAnotherNote", "key 54\nkey 8\n", {1, 2, 3}},
        EditCase{"BackspaceOfAWordsNote",
                 "mousedown Picture1 1 0 THIRD 110\nmouseup Picture1 1 0 THIRD 110\nkey 8\n",
                 {1, 3}},
        EditCase{"Justified", "key 52\nkey 13\n", {1, 2, 3}},
        // The notes 1 2 selected (copied) and pasted after the 3: 1 2 3 1 2.
        EditCase{"PasteAfter",
                 "mousedown Picture1 1 0 20 96\nmousemove Picture1 1 0 AFTER 150\n"
                 "mouseup Picture1 1 0 AFTER 150\nmousedown Picture1 1 0 PAST 110\n"
                 "mouseup Picture1 1 0 PAST 110\nclick Command14\n",
                 {1, 2, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RoomCase {
  const char* name;
  std::vector<int> keys;
  const char* words;
  // The line is too narrow for the words: said once, the words as close as they come.
  bool crowded = false;
};

class Room : public Lyrics, public ::testing::WithParamInterface<RoomCase> {
 protected:
  // The line's music as read, places aside.
  static QJsonArray Music(QJsonObject dump) {
    QJsonArray music;
    for (const auto& line : dump["reading"].toArray()) {
      for (const auto& value : line.toObject()["items"].toArray()) {
        QJsonObject item = value.toObject();
        item.remove("left");
        music.append(item);
      }
    }
    return music;
  }

  // Runs of ink in the first duration line's row of the first line: a line cut in two would
  // make one more.
  int LineRuns() {
    const QImage& page = w.Form().Page().Image();
    const int y = 96 + 26;
    int runs = 0;
    for (int x = 1; x < page.width(); ++x)
      runs += page.pixel(x, y) == 0xff000000 && page.pixel(x - 1, y) != 0xff000000;
    return runs;
  }
};

TEST_P(Room, NotesStandApartForTheirWordsAndNothingElseChanges) {
  Run(Keys(GetParam().keys));
  const QJsonObject before = w.Dump();
  const QImage page = w.Form().Page().Image();
  const int runs = LineRuns();
  Run(kLyricsMode + QStringLiteral("text \"%1\"\n").arg(QString::fromUtf8(GetParam().words)) +
      kLyricsMode);
  const QJsonObject after = w.Dump();
  EXPECT_EQ(Music(after), Music(before));
  EXPECT_EQ(LineRuns(), runs) << "duration lines run on through the room";
  ExpectDrawnUnderTheirNotes();
  EXPECT_EQ(Messages(QStringLiteral("歌词太宽")), GetParam().crowded ? 1 : 0);

  // The line ends inside the page.
  const QImage& now = w.Form().Page().Image();
  for (int y = 96; y < 96 + 40; ++y)
    for (int x = now.width() - 17; x < now.width(); ++x) ASSERT_EQ(now.pixel(x, y), 0xffffffff);
  // Above the line there is ink only over a slur, between its first note and its last: no arc
  // is left behind where its notes were.
  std::vector<std::pair<int, int>> arcs;
  for (const auto& value : after["reading"].toArray()[0].toObject()["items"].toArray()) {
    const QJsonObject item = value.toObject();
    if (item["slur"] == "start") arcs.push_back({item["left"].toInt(), 0});
    if (item["slur"] == "end" && !arcs.empty())
      arcs.back().second = item["left"].toInt() + item["width"].toInt() - 1;
  }
  for (int y = 96 - 16; y < 96; ++y) {
    for (int x = 0; x < now.width(); ++x) {
      if (now.pixel(x, y) != 0xff000000) continue;
      ASSERT_TRUE(std::any_of(arcs.begin(), arcs.end(),
                              [x](const auto& arc) { return arc.first <= x && x <= arc.second; }))
          << "ink above the line at " << x << "," << y;
    }
  }

  if (!GetParam().crowded) {
    const lyrics::LyricsLayout layout(w.Form().Document().Lyrics());
    // Each syllable (and a verse number) with the gap it keeps to the next one of its row.
    using Kind = lyrics::LyricsLayout::Kind;
    std::map<std::pair<int, int>, std::pair<QRect, int>> last;
    for (const lyrics::LyricsLayout::Placed& p : layout.Place()) {
      if (p.kind != Kind::kSyllable && p.kind != Kind::kNumber) continue;
      const auto previous = last.find({p.lineTop, p.row});
      if (previous != last.end()) {
        EXPECT_GE(p.box.left() - previous->second.first.right() - 1, previous->second.second)
            << p.text.toStdString();
      }
      last[{p.lineTop, p.row}] = {
          p.box, p.kind == Kind::kNumber ? lyrics::LyricsLayout::kNumberGap : layout.SyllableGap()};
    }
  }

  // Taking the words back takes their room back.
  while (!w.Dump()["lyrics"].toArray().isEmpty()) Run("undo\n");
  EXPECT_EQ(w.Form().Page().Image(), page);
}

INSTANTIATE_TEST_SUITE_P(
    Lyrics, Room,
    ::testing::Values(
        RoomCase{"Quarters", {49, 50, 51, 52, 53, 54, 55, 49}, "一二三四五六七八"},
        // Eighths (keypad 1) joined by their duration line, then a quarter (keypad 0).
        RoomCase{"JoinedEighths", {97, 49, 50, 51, 52, 96, 53}, "一二三四五"},
        RoomCase{"LatinWithHyphens", {49, 50, 51, 52, 53}, "Hal-le-lu-jah now"},
        // The line moves right for its verse number.
        RoomCase{"AVerseNumber", {49, 50, 51}, "12.Glo-ri-a"},
        // The slur's arc is drawn again over its notes' new places.
        RoomCase{"UnderASlur", {49, 76, 50, 51, 76, 52}, "一二三"},
        // A chord symbol (K, a degree, K) after the bar moves with the line, whole.
        RoomCase{"AChordAfterThem", {49, 50, 51, 52, 75, 53, 75}, "一二三四"},
        // A whole line, justified when its last bar ends it: two bars of eighths with words
        // take their room out of the beat gaps of six bars of quarters.
        RoomCase{
            "AJustifiedLine",
            {97, 49, 50, 51, 52, 53, 54, 55, 49, 49, 50, 51, 52, 53, 54, 55, 49, 96, 49, 50, 51,
             52, 53, 54, 55, 49, 49, 50, 51, 52, 53, 54, 55, 49, 49, 50, 51, 52, 53, 54, 55, 49},
            "一二三四五六七八一二三四五六七八"},
        // Eight bars of eighths with a syllable each cannot fit on one line.
        RoomCase{
            "TooManyWords",
            {97, 49, 50, 51, 52, 53, 54, 55, 49, 49, 50, 51, 52, 53, 54, 55, 49, 49, 50, 51, 52, 53,
             54, 55, 49, 49, 50, 51, 52, 53, 54, 55, 49, 49, 50, 51, 52, 53, 54, 55, 49, 49, 50, 51,
             52, 53, 54, 55, 49, 49, 50, 51, 52, 53, 54, 55, 49, 49, 50, 51, 52, 53, 54, 55, 49},
            "一二三四五六七八一二三四五六七八一二三四五六七八一二三四五六七八"
            "一二三四五六七八一二三四五六七八一二三四五六七八一二三四五六七八",
            true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Lyrics, ThePageTellsOnceWhenRowsDoNotFitAndNamesTheSpacing) {
  Run(Keys({49, 50, 13, 51, 52, 38}) + kLyricsMode + "text \"一二\"\ntext \"三\"\n");
  const lyrics::LyricsLayout layout(w.Form().Document().Lyrics());
  const int fits = layout.SpacingFor(1);
  ASSERT_GT(fits, 60);
  EXPECT_EQ(Messages(QStringLiteral("行距设为 %1 ").arg(fits)), 1);
  Run("text \"四\"\nkey 8\ntext \"四\"\n");
  EXPECT_EQ(Messages(QStringLiteral("放不下")), 1) << "said once";
  // A second row needs more: said again, with the spacing for two rows.
  Run("key 40\ntext \"五\"\n");
  EXPECT_EQ(Messages(QStringLiteral("行距设为 %1 ").arg(layout.SpacingFor(2))), 1);

  // At the spacing named the rows fit: nothing said.
  Run(kLyricsMode + "click Command1(6)\n" + QStringLiteral("set HScroll2(2) %1\n").arg(fits) +
      Keys({49, 50, 13, 51, 52, 38}) + kLyricsMode + "text \"一二三四\"\n");
  EXPECT_EQ(Messages(QStringLiteral("放不下")), 2);
  EXPECT_EQ(SungDegrees(), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(Lyrics, SavedOpenedAndComposedLikeThePage) {
  Run(Keys({49, 50, 51, 52}) + kLyricsMode + "text \"1.Glo-ri-a 春\"\n" + kLyricsMode +
      "select Combo8 5\nfile \"DIR/song.bmp\"\nclick Command1(1)\n");
  const QJsonObject before = w.Dump();
  const lyrics::LyricSheet words = w.Form().Document().Lyrics();
  EXPECT_EQ(words.FontPoints(), 18);
  // The words are over the page, never in its bitmap: the picture reads as the tune alone.
  const QImage view = w.Form().PageView();
  const QImage bitmap = w.Form().Page().Image();
  const lyrics::LyricsLayout layout(words);
  bool differs = false;
  for (int y = layout.RowTop(96, 0); y < layout.RowTop(96, 1); ++y)
    for (int x = 0; x < 200; ++x) differs |= view.pixel(x, y) != bitmap.pixel(x, y);
  EXPECT_TRUE(differs);
  for (int y = layout.RowTop(96, 0); y < layout.RowTop(96, 1); ++y)
    for (int x = 0; x < 200; ++x) ASSERT_EQ(bitmap.pixel(x, y), 0xffffffff);

  // 导出PDF prints them as text, as the head of the page.
  Run("file \"DIR/song.pdf\"\nclick Command17\n");
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"), {dir.filePath("song.pdf"), QStringLiteral("-")});
  pdftotext.waitForFinished(60000);
  const QString printed = QString::fromUtf8(pdftotext.readAllStandardOutput());
  for (const char* word : {"1.", "Glo", "ri", "春", "标题"})
    EXPECT_TRUE(printed.contains(QString::fromUtf8(word)))
        << word << " in " << printed.toStdString();

  Run("click Command1(6)\n");
  EXPECT_TRUE(w.Dump()["lyrics"].toArray().isEmpty());
  EXPECT_EQ(w.Form().Document().Lyrics().FontPoints(), 18) << "New keeps the font";
  Run("file \"DIR/song.bmp\"\nclick Command1(0)\n");
  EXPECT_EQ(w.Dump()["lyrics"], before["lyrics"]);
  EXPECT_EQ(w.Dump()["verseNumbers"], before["verseNumbers"]);
  EXPECT_TRUE(w.Form().Document().Lyrics() == words);
  EXPECT_EQ(w.Control("Combo8")["text"].toString(), "18");
}

TEST_F(Lyrics, UndoAndRedoTakeWordsBackAndForth) {
  Run(Keys({49, 50, 51}) + kLyricsMode + "text \"一二\"\ntext \"三\"\n");
  const QJsonArray all = w.Dump()["lyrics"].toArray();
  Run("undo\n");
  EXPECT_EQ(w.Dump()["lyrics"].toArray().size(), 2) << "one commit is one step";
  EXPECT_EQ(w.State()["LyricsNote"].toInt(), 2) << "the next syllable goes where it went";
  Run("undo\n");
  EXPECT_TRUE(w.Dump()["lyrics"].toArray().isEmpty());
  Run("redo\nredo\n");
  EXPECT_EQ(w.Dump()["lyrics"].toArray(), all);
  // A font chosen is taken back too.
  Run("select Combo8 0\nundo\n");
  EXPECT_EQ(w.Form().Document().Lyrics().FontPoints(), lyrics::LyricSheet::kStartPoints);
}

TEST_F(Lyrics, TheModeTakesInputMethodTextAndShowsOnItsButton) {
  Run(Keys({49, 50, 51}));
  auto* canvas = w.Form().Canvas();
  EXPECT_FALSE(canvas->testAttribute(Qt::WA_InputMethodEnabled));
  // Outside lyrics mode a commit enters nothing.
  Run("text \"春\"\n");
  EXPECT_TRUE(w.Dump()["lyrics"].toArray().isEmpty());

  Run("click Command24\n");
  EXPECT_EQ(w.State()["LyricsMode"].toInt(), 1);
  EXPECT_TRUE(w.Form().Controls().Get<QPushButton>("Command24")->isChecked());
  EXPECT_TRUE(canvas->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_TRUE(canvas->inputMethodQuery(Qt::ImEnabled).toBool());
  EXPECT_FALSE(canvas->inputMethodQuery(Qt::ImCursorRectangle).toRect().isEmpty());

  // An input method composes, then commits; keys are no notes meanwhile.
  QInputMethodEvent composing(QStringLiteral("chun"), {});
  QCoreApplication::sendEvent(canvas, &composing);
  EXPECT_EQ(canvas->Composing(), "chun");
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("春风"));
  QCoreApplication::sendEvent(canvas, &commit);
  Run("key 53\nkey 72\n");
  EXPECT_EQ(canvas->Composing(), "");
  EXPECT_EQ(SungDegrees(), (std::vector<int>{1, 2}));
  EXPECT_EQ(w.Dump()["reading"].toArray()[0].toObject()["items"].toArray().size(), 3)
      << "keys typed no notes";

  Run(QStringLiteral("key 76 %1\n").arg(kCtrl));
  EXPECT_EQ(w.State()["LyricsMode"].toInt(), 0);
  EXPECT_FALSE(canvas->testAttribute(Qt::WA_InputMethodEnabled));
  Run("key 53\n");
  EXPECT_GT(w.Dump()["reading"].toArray()[0].toObject()["items"].toArray().size(), 3);
}

}  // namespace
}  // namespace tarvesh::testing
