#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPaintEvent>
#include <QRegion>

#include "app/windowharness.h"
#include "kit/pagecanvas.h"

namespace tarvesh::testing {
namespace {

// Collects what the page repaints.
class PaintRecorder : public QObject {
 public:
  QRegion painted;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

void Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

struct RepaintCase {
  const char* name;
  const char* before;  // typed first
  const char* keys;    // the keystrokes whose repaint is measured
  int lineTop;
};

// Each repaint after an ordinary key covers the strip of the line it changed, never the page.
const RepaintCase kCases[] = {
    {"a note at the start of the page", "", "key 53\n", 96},
    {"a note inserted in the middle of a line", "key 49\nkey 50\nkey 51\nkey 37\nkey 37\n",
     "key 53\n", 96},
    {"an erase", "key 49\nkey 50\nkey 51\n", "key 8\n", 96},
    {"a note on the second line", "key 13\n", "key 54\n", 156},
};

TEST(Repaint, AKeystrokeRepaintsOnlyItsLineStrip) {
  for (const RepaintCase& c : kCases) {
    SCOPED_TRACE(c.name);
    WindowHarness window;
    ASSERT_EQ(window.Run(QString::fromLatin1(c.before)), 0);
    Settle();
    PaintRecorder recorder;
    window.Form().Canvas()->installEventFilter(&recorder);
    ASSERT_EQ(window.Run(QString::fromLatin1(c.keys)), 0);
    Settle();
    window.Form().Canvas()->removeEventFilter(&recorder);
    const QRect bounds = recorder.painted.boundingRect();
    ASSERT_FALSE(bounds.isEmpty());
    EXPECT_GE(bounds.top(), c.lineTop - 2) << bounds.top();
    EXPECT_LE(bounds.bottom(), c.lineTop + 40 + 2) << bounds.bottom();
  }
}

}  // namespace
}  // namespace tarvesh::testing
