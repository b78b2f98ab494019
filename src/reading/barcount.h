#pragma once

#include <QLine>
#include <cstdint>
#include <vector>

#include "reading/readline.h"

namespace tarvesh::reading {

// Time is counted in thirty-second notes.
inline constexpr std::int32_t kUnitsPerWhole = 32;

// The time of a note of duration row `row`. Rows run from the quarter (0) to the
// thirty-second (3), so a row's duration is a whole number of thirty-seconds: 8 halved once a
// row.
std::int32_t RowUnits(int row);

// The time of a full bar of `beatsPerBar` beats of 1/`beatUnit`; 0 for a unit of 0 or less.
std::int32_t UnitsPerBar(int beatsPerBar, int beatUnit);

// Notes, rests, syllables and dashes: the items that take time.
bool TakesTime(const ReadItem& item);
// The duration row of an item that takes time: 0 for quarters and dashes to 3 for
// thirty-seconds.
int DurationRow(const ReadItem& item);

// The time of the items after the last bar line among `items`, in thirty-seconds, counted as the
// engine counts what it stamps: a note 2^(3 - row), each dot half of what came before it.
std::int32_t UnitsSinceBarLine(const std::vector<const ReadItem*>& items);

// Where to mark the bars whose time is not `unitsPerBar`: one segment under each line's part of
// such a bar, a bar running from the bar line before it (or the start of the page) to the bar
// line that closes it. The page's first bar may be a pickup, a bar no bar line closes yet is
// still being typed, and a bar with no time (between the two signs of a repeat) is not a bar
// of music: none of them is marked.
std::vector<QLine> UnevenBarMarks(const std::vector<ReadLine>& lines, std::int32_t unitsPerBar);

}  // namespace tarvesh::reading
