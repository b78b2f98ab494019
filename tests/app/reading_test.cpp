// The dump's reading: the page read back as music, item by item, as a script sees it.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

#include "app/windowharness.h"
#include "kit/pagecanvas.h"

namespace tarvesh::testing {
namespace {

QString Keys(std::initializer_list<int> keys) {
  QString script;
  for (int key : keys) script += QStringLiteral("key %1\n").arg(key);
  return script;
}

std::string Json(const QJsonArray& array) {
  return QJsonDocument(array).toJson(QJsonDocument::Compact).toStdString();
}

struct ReadingCase {
  const char* name;
  QString script;
  // The first line's items as the dump gives them.
  QJsonArray items;
};

class DumpReading : public ::testing::TestWithParam<ReadingCase> {
 protected:
  WindowHarness w;
};

TEST_P(DumpReading, GivesTheItemsTyped) {
  ASSERT_EQ(w.Run(GetParam().script), 0) << w.LastError().toStdString();
  const QJsonArray lines = w.Dump()["reading"].toArray();
  ASSERT_FALSE(lines.isEmpty());
  const QJsonObject first = lines[0].toObject();
  EXPECT_EQ(first["top"].toInt(), 96);
  EXPECT_EQ(Json(first["items"].toArray()), Json(GetParam().items));
}

QJsonObject Note(int left, int degree, int octave, int duration, const char* accidental = "") {
  return {{"kind", "note"},          {"left", left},     {"width", 12},
          {"degree", degree},        {"octave", octave}, {"duration", duration},
          {"accidental", accidental}};
}

QJsonObject With(QJsonObject item, const char* key, const QJsonValue& value) {
  item[key] = value;
  return item;
}

INSTANTIATE_TEST_SUITE_P(
    Reading, DumpReading,
    ::testing::Values(
        ReadingCase{
            "NotesOctavesAndASharp",
            Keys({49, 81, 113, 77, 51}),
            {Note(20, 1, 0, 4), Note(38, 1, -1, 4), Note(56, 2, 1, 4), Note(80, 3, 0, 4, "#"),
             QJsonObject{{"kind", "bar"}, {"left", 92}, {"width", 12}, {"bar", "single"}}}},
        // The fourth quarter fills the bar: the bar line goes in by itself.
        ReadingCase{"RestSyllableDashAndTheBarLine",
                    Keys({79, 90, 189, 50}),
                    {QJsonObject{{"kind", "rest"}, {"left", 20}, {"width", 12}, {"duration", 4}},
                     QJsonObject{{"kind", "percussion"},
                                 {"left", 38},
                                 {"width", 12},
                                 {"degree", "冬"},
                                 {"duration", 4}},
                     QJsonObject{{"kind", "dash"}, {"left", 56}, {"width", 12}}, Note(74, 2, 0, 4),
                     QJsonObject{{"kind", "bar"}, {"left", 86}, {"width", 12}, {"bar", "single"}}}},
        ReadingCase{"EighthsDottedAndParentheses",
                    "key 97\n" + Keys({57, 53, 190, 54, 48}),
                    {QJsonObject{{"kind", "paren"}, {"left", 20}, {"width", 12}, {"text", "("}},
                     Note(32, 5, 0, 8), QJsonObject{{"kind", "dot"}, {"left", 44}, {"width", 12}},
                     Note(62, 6, 0, 8),
                     QJsonObject{{"kind", "paren"}, {"left", 74}, {"width", 12}, {"text", ")"}}}},
        // Backspace takes whole notes: no sliver of the 2 is left.
        ReadingCase{"BackspaceTwiceAfterThreeNotes", Keys({49, 50, 51, 8, 8}), {Note(20, 1, 0, 4)}},
        // A press inside the 2 puts the cursor at its left edge; in overwrite mode the 5 takes
        // its place whole.
        ReadingCase{"ClickInsideANoteAndOverwrite",
                    Keys({49, 50, 51}) +
                        "mousedown Picture1 1 0 52 110\nmouseup Picture1 1 0 52 110\n" +
                        Keys({45, 53}),
                    {Note(20, 1, 0, 4), Note(38, 5, 0, 4), Note(56, 3, 0, 4)}},
        ReadingCase{"ASlurOverThreeNotes",
                    Keys({76, 49, 50, 51, 76}),
                    {With(Note(20, 1, 0, 4), "slur", "start"), Note(38, 2, 0, 4),
                     With(Note(56, 3, 0, 4), "slur", "end")}}),
    [](const auto& info) { return std::string(info.param.name); });

// A bar whose beats do not add up is underlined on screen, and only there.
TEST(UnevenBar, IsMarkedOnScreenNeverOnThePage) {
  WindowHarness w;
  const int markRow = 96 + 41;
  ASSERT_EQ(w.Run(Keys({49, 49, 49, 49, 50, 50, 72})), 0) << w.LastError().toStdString();
  const auto orange = [&](const QImage& image) {
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, markRow) == qRgb(255, 128, 0)) return true;
    return false;
  };
  EXPECT_TRUE(orange(w.Form().Canvas()->grab().toImage()));
  EXPECT_FALSE(orange(w.Form().PageView()));
  EXPECT_FALSE(orange(w.Form().Page().Image()));
  // Typed full, the bar is no longer marked.
  ASSERT_EQ(w.Run(Keys({8, 50, 50, 72})), 0) << w.LastError().toStdString();
  EXPECT_FALSE(orange(w.Form().Canvas()->grab().toImage()));
}

}  // namespace
}  // namespace tarvesh::testing
