#pragma once

#include <QColor>

namespace tarvesh::page {

// The layout values and switches the engine reads at the moment it needs them. The window
// composes this from the controls that hold the values, so the controls stay the one source.
struct LayoutSettings {
  int barWidth = 120;
  int barsPerLine = 8;
  int lineSpacing = 60;
  int chordDistance = 20;
  double beatGap = 0.5;         // the number shown as the beat gap (0, 0.5 or 1 cell)
  bool autoNoteSpacing = true;  // 自动分配音符间距
  bool autoBeatSplit = true;    // 自动分拍
  bool justifyOnEnter = true;   // 换行时两端对齐
  bool autoBarLines = true;     // 自动输入小节线 (off: bar lines only from their keys)
  bool skipBarLines = false;    // 自动跳过小节线 (stored, read by no engine step)
  bool soundEffects = true;     // 使用音效
  bool staffInput = false;      // 从五线谱输入
  int staffKey = 0;             // selected index of the staff key list, 0..6
  QColor chordColour{255, 0, 0};
};

}  // namespace tarvesh::page
