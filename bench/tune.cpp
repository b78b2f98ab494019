#include "tune.h"

#include <array>

namespace tarvesh::bench {

namespace {

// Virtual-key codes of the note and sign keys the tune uses.
enum Key {
  kBackspace = 8,
  kOne = 49,
  kTwo = 50,
  kThree = 51,
  kFour = 52,
  kFive = 53,
  kSix = 54,
  kSeven = 55,
  kHighOne = 56,
  kRest = 79,      // O
  kLowFive = 84,   // T
  kLowSix = 89,    // Y
  kLowSeven = 85,  // U
  kSharp = 77,     // M
  kHighTwo = 113,  // F2
  kDash = 189,     // minus
  kDot = 190,      // full stop
  kRepeatStart = 219,
  kRepeatEnd = 221,
  kFinalBar = 220,
};

// One bar each, four beats, starting with its duration key.
const std::array<std::vector<int>, 8> kBars{{
    {kQuarterKey, kOne, kTwo, kThree, kOne},
    {kEighthKey, kThree, kFour, kFive, kThree, kQuarterKey, kFive, kDash},
    {kQuarterKey, kFive, kDot, kEighthKey, kSix, kQuarterKey, kFive, kFour},
    {kSixteenthKey, kFive, kSix, kFive, kFour, kEighthKey, kThree, kOne, kQuarterKey, kTwo, kDash},
    {kEighthKey, kLowFive, kLowSix, kLowSeven, kOne, kQuarterKey, kTwo, kRest},
    {kQuarterKey, kHighOne, kEighthKey, kHighTwo, kHighOne, kQuarterKey, kSeven, kDash},
    {kQuarterKey, kFive, kSharp, kFour, kEighthKey, kThree, kTwo, kQuarterKey, kOne},
    {kQuarterKey, kOne, kDash, kDash, kDash},
}};

// The order of the bars in each eight-bar phrase; phrase p uses row p % 4.
constexpr std::array<std::array<int, 8>, 4> kPhrases{{
    {0, 1, 2, 7, 3, 4, 6, 7},
    {1, 2, 5, 6, 0, 3, 4, 7},
    {5, 1, 5, 2, 3, 6, 0, 7},
    {4, 3, 1, 6, 2, 5, 1, 7},
}};

}  // namespace

std::vector<int> SixtyFourBarTune() {
  std::vector<int> keys;
  for (int phrase = 0; phrase < 8; ++phrase) {
    // Each half of the tune is repeated: it opens with a repeat start, and its last automatic
    // bar line is erased and replaced by a repeat end (a final bar line at the very end).
    if (phrase % 4 == 0) keys.push_back(kRepeatStart);
    for (int bar : kPhrases[phrase % 4])
      keys.insert(keys.end(), kBars[bar].begin(), kBars[bar].end());
    if (phrase % 4 == 3) {
      keys.push_back(kBackspace);
      keys.push_back(phrase == 7 ? kFinalBar : kRepeatEnd);
    }
  }
  return keys;
}

QString TuneScript(const QString& bitmapPath) {
  QString script;
  for (int key : SixtyFourBarTune()) script += QStringLiteral("key %1\n").arg(key);
  QString quoted = bitmapPath;
  quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
  script += QStringLiteral("save-bitmap \"%1\"\n").arg(quoted);
  return script;
}

}  // namespace tarvesh::bench
