#include "playback/scorehead.h"

#include <QRegularExpression>
#include <array>
#include <utility>

#include "score/scoredocument.h"

namespace tarvesh::playback {

namespace {

constexpr int kModeratePace = 90;
constexpr int kFewestBeats = 20;
constexpr int kMostBeats = 300;

// Tempo words with the figure they usually mean. Longer words first, so "小快板" is not read
// as "快板" and "稍慢" wins over "慢".
const std::array<std::pair<const char16_t*, int>, 23> kTempoWords{{
    {u"小行板", 80}, {u"小快板", 108}, {u"自由地", 66},  {u"稍自由", 72},  {u"深情地", 66},
    {u"抒情地", 72}, {u"优美地", 76},  {u"欢快地", 126}, {u"活泼地", 132}, {u"坚定有力", 100},
    {u"慢板", 60},   {u"广板", 50},    {u"柔板", 66},    {u"行板", 76},    {u"中板", 90},
    {u"快板", 120},  {u"急板", 168},   {u"稍慢", 80},    {u"稍快", 104},   {u"中速", 90},
    {u"慢速", 66},   {u"快速", 126},   {u"热情地", 116},
}};

}  // namespace

double ScoreHead::QuartersPerMinute(const QString& tempo, int beatUnit) {
  static const QRegularExpression number(QStringLiteral("(\\d+)"));
  if (const auto match = number.match(tempo); match.hasMatch()) {
    const int beats = match.captured(1).toInt();
    if (beats >= kFewestBeats && beats <= kMostBeats) return beats * 4.0 / beatUnit;
  }
  int at = -1;
  int figure = kModeratePace;
  // The word that comes first in the label sets the pace ("中速,稍慢" is moderate).
  for (const auto& [word, beats] : kTempoWords) {
    const int found = tempo.indexOf(QString::fromUtf16(word));
    if (found >= 0 && (at < 0 || found < at)) {
      at = found;
      figure = beats;
    }
  }
  return figure;
}

ScoreHead ScoreHead::FromTexts(const QString& key, const QString& numerator,
                               const QString& denominator, const QString& tempo) {
  // The twelve keys of the key list, from C, with their signatures on the circle of fifths.
  static const std::array<std::pair<QString, int>, 12> kKeys{{{"C", 0},
                                                              {"bD", -5},
                                                              {"D", 2},
                                                              {"bE", -3},
                                                              {"E", 4},
                                                              {"F", -1},
                                                              {"bG", -6},
                                                              {"G", 1},
                                                              {"bA", -4},
                                                              {"A", 3},
                                                              {"bB", -2},
                                                              {"B", 5}}};
  ScoreHead head;
  const QString trimmed = key.trimmed();
  for (size_t i = 0; i < kKeys.size(); ++i) {
    if (kKeys[i].first.compare(trimmed, Qt::CaseInsensitive) == 0) {
      head.tonic = 60 + static_cast<int>(i);
      head.fifths = kKeys[i].second;
    }
  }
  bool ok = false;
  const int beats = numerator.trimmed().toInt(&ok);
  if (ok && beats > 0 && beats <= 32) head.beatsPerBar = beats;
  const int unit = denominator.trimmed().toInt(&ok);
  if (ok && (unit == 2 || unit == 4 || unit == 8 || unit == 16)) head.beatUnit = unit;
  head.quartersPerMinute = QuartersPerMinute(tempo, head.beatUnit);
  return head;
}

ScoreHead ScoreHead::Of(const score::ScoreDocument& document) {
  using score::ScoreDocument;
  return FromTexts(document.Text(ScoreDocument::kKey), document.Text(ScoreDocument::kNumerator),
                   document.Text(ScoreDocument::kDenominator),
                   document.Text(ScoreDocument::kTempo));
}

}  // namespace tarvesh::playback
