#pragma once

#include <QString>
#include <vector>

namespace tarvesh::bench {

// Keypad keys that choose the duration row, as a user presses them before a run of notes.
inline constexpr int kQuarterKey = 96;
inline constexpr int kEighthKey = 97;
inline constexpr int kSixteenthKey = 98;

// A realistic 64-bar tune in 4/4 as the virtual-key codes a user presses for it, in order:
// quarters, beamed eighths and sixteenths, augmentation dots, dashes, rests, accidentals, notes
// with octave dots above and below, and repeat signs. Bar lines and line ends are left to the
// automatic bar lines, so every bar adds up to four beats.
std::vector<int> SixtyFourBarTune();

// The same keys as script steps for `tarvesh --script`, followed by saving the page bitmap at
// `bitmapPath`.
QString TuneScript(const QString& bitmapPath);

}  // namespace tarvesh::bench
