// The page seen through the window: zoom, scrolling, the cursor kept in view, and a window of
// any size.
#include <gtest/gtest.h>

#include <QSet>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <cmath>

#include "app/editseam.h"
#include "app/qttranslations.h"
#include "app/windowharness.h"
#include "app/zoombox.h"
#include "kit/cursorview.h"
#include "kit/pagecanvas.h"
#include "kit/pageviewport.h"
#include "kit/scrollcolumn.h"

namespace tarvesh::testing {
namespace {

void Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

struct ClickCase {
  int zoom;
  QPoint scroll;  // the view's scroll bars
  QPoint at;      // in the viewport
  QPoint page;    // the page pixel drawn there
};

// The page pixel whose square, as drawn, holds the middle of the viewport pixel clicked.
const ClickCase kClicks[] = {
    {100, {0, 0}, {10, 80}, {10, 80}},
    {100, {30, 50}, {10, 20}, {40, 70}},
    {100, {0, 0}, {0, 1}, {0, 1}},
    // Each viewport pixel covers two page pixels; its middle lies on their border.
    {50, {0, 0}, {10, 20}, {20, 40}},
    {50, {0, 0}, {0, 1}, {0, 2}},
    // Three viewport pixels for two page pixels: 0 and 1 show page pixel 0, 2 shows pixel 1.
    {150, {0, 0}, {1, 1}, {0, 0}},
    {150, {0, 0}, {2, 2}, {1, 1}},
    {150, {0, 0}, {10, 80}, {6, 53}},
    {150, {301, 450}, {10, 20}, {207, 313}},
    {400, {0, 0}, {3, 4}, {0, 1}},
    {400, {0, 0}, {10, 20}, {2, 5}},
    {400, {100, 1000}, {10, 20}, {27, 255}},
    {400, {3, 0}, {0, 1}, {0, 0}},
    {400, {3, 0}, {1, 1}, {1, 0}},
};

// A click through the view reaches the page as the pixel drawn under the pointer, at every
// zoom and scroll position, and what the view draws there is that pixel.
TEST(View, ClicksMapToThePagePixelShown) {
  WindowHarness window;
  // Something to see: notes and a bar line, with no guide lines or blinking cursor over them.
  ASSERT_EQ(window.Run("set Check2 0\nkey 49\nkey 50\nkey 53\nkey 51\nkey 190\nkey 13\n"), 0);
  app::Form1& form = window.Form();
  kit::PageViewport* view = form.View();
  std::vector<QPointF> downs;
  QObject::connect(form.Canvas()->Mouse(), &kit::MouseEvents::MouseDown,
                   [&](int, int, double x, double y) {
                     downs.push_back({x, y});
                   });
  for (const ClickCase& c : kClicks) {
    SCOPED_TRACE(::testing::Message() << c.zoom << "% scrolled " << c.scroll.x() << ","
                                      << c.scroll.y() << " at " << c.at.x() << "," << c.at.y());
    ASSERT_EQ(window.Run(QStringLiteral("zoom %1\n").arg(c.zoom)), 0);
    view->horizontalScrollBar()->setValue(c.scroll.x());
    view->verticalScrollBar()->setValue(c.scroll.y());
    ASSERT_EQ(view->horizontalScrollBar()->value(), c.scroll.x());
    ASSERT_EQ(view->verticalScrollBar()->value(), c.scroll.y());
    EXPECT_EQ(view->PageAt(c.at), c.page);
    downs.clear();
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, c.at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, c.at);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0], QPointF(c.page));
  }

  // What is drawn is the page: at 100 % pixel for pixel; zoomed in, drawn from the print page,
  // so at 400 % it is the print page itself, and in between every page pixel away from an edge
  // of ink keeps its colour. The orange marks under an uneven bar are the screen's own.
  const QRgb mark = qRgb(255, 128, 0);
  for (int zoom : {100, 150, 200, 400}) {
    SCOPED_TRACE(zoom);
    ASSERT_EQ(window.Run(QStringLiteral("zoom %1\nkey 36 2\n").arg(zoom)), 0);
    form.Cursor().StopBlink();
    Settle();
    view->horizontalScrollBar()->setValue(0);
    view->verticalScrollBar()->setValue(90 * zoom / 100);
    const QImage shown = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& page = form.Page().Image();
    const QRect seen(0, 0, 60 * zoom / 100, 50 * zoom / 100);
    const QPoint corner = view->PageAt(seen.topLeft());
    const QImage sharp = form.PrintRegion(QRect(corner, QSize(60, 50)));
    auto inside = [&](QPoint p) {
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (page.pixel(p + QPoint(dx, dy)) != page.pixel(p)) return false;
      return true;
    };
    int differing = 0;
    for (int y = seen.top(); y <= seen.bottom(); ++y)
      for (int x = 20 * zoom / 100; x <= seen.right(); ++x) {
        const QRgb drawn = shown.pixel(x, y);
        const QPoint at = view->PageAt({x, y});
        if (drawn == mark) continue;
        if (zoom == 100   ? drawn != page.pixel(at)
            : zoom == 400 ? drawn != sharp.pixel(QPoint(x, y) - seen.topLeft())
                          : inside(at) && drawn != page.pixel(at))
          ++differing;
      }
    EXPECT_EQ(differing, 0);
  }
  // The print page follows the page's pixels as they change.
  const QImage before = form.PrintRegion(form.Page().Image().rect());
  ASSERT_EQ(window.Run("key 55\n"), 0);
  const QImage after = form.PrintRegion(form.Page().Image().rect());
  EXPECT_NE(after, before);
  ASSERT_EQ(window.Run("undo\n"), 0);
  EXPECT_EQ(form.PrintRegion(form.Page().Image().rect()), before);
}

// The scroll bars end at the page's end at every zoom, and VScroll1 stands where they stand.
TEST(View, ScrollBarsEndAtThePageEnd) {
  WindowHarness window;
  kit::PageViewport* view = window.Form().View();
  for (int zoom : {50, 100, 150, 400}) {
    SCOPED_TRACE(zoom);
    ASSERT_EQ(window.Run(QStringLiteral("zoom %1\nset VScroll1 18\n").arg(zoom)), 0);
    const int pageHeight = int(std::ceil(1397 * zoom / 100.0));
    const int pageWidth = int(std::ceil(988 * zoom / 100.0));
    QScrollBar* v = view->verticalScrollBar();
    QScrollBar* h = view->horizontalScrollBar();
    EXPECT_EQ(v->maximum(), std::max(pageHeight - view->viewport()->height(), 0));
    EXPECT_EQ(h->maximum(), std::max(pageWidth - view->viewport()->width(), 0));
    EXPECT_EQ(v->value(), v->maximum());
    // VScroll1 keeps its range; from the view's middle it shows the middle.
    v->setValue(v->maximum() / 2);
    const int vscroll1 = window.Control("VScroll1")["value"].toInt();
    EXPECT_EQ(window.Control("VScroll1")["max"].toInt(), 18);
    if (v->maximum() > 0) {
      EXPECT_EQ(vscroll1, 9);
    }
    ASSERT_EQ(window.Run("set VScroll1 0\n"), 0);
    EXPECT_EQ(v->value(), 0);
  }
}

// Looking at the page is no edit: zoom and scrolling write nothing, make no undo step and leave
// the score unmodified, and the page written is the same at every zoom.
TEST(View, ZoomAndScrollingChangeNothingWritten) {
  const QString typing = "key 49\nkey 50\nkey 13\nkey 51\n";
  WindowHarness plain;
  ASSERT_EQ(plain.Run(typing + typing), 0);

  WindowHarness zoomed;
  ASSERT_EQ(zoomed.Run("zoom 400\n" + typing + "zoom 75\n" + typing), 0);
  EXPECT_EQ(zoomed.Form().Page().Image(), plain.Form().Page().Image());
  EXPECT_EQ(zoomed.Form().PageView(), plain.Form().PageView());
  QJsonObject a = plain.Dump(), b = zoomed.Dump();
  EXPECT_EQ(b["state"].toObject()["Zoom"].toInt(), 75);
  EXPECT_EQ(b["controls"].toObject()["Combo6"].toObject()["text"].toString(), "75%");
  for (QJsonObject* dump : {&a, &b}) {
    QJsonObject state = (*dump)["state"].toObject();
    state.remove("Zoom");
    (*dump)["state"] = state;
    QJsonObject controls = (*dump)["controls"].toObject();
    controls.remove("Combo6");
    controls.remove("VScroll1");
    (*dump)["controls"] = controls;
  }
  EXPECT_EQ(a, b);

  WindowHarness fresh;
  kit::PageViewport* view = fresh.Form().View();
  ASSERT_EQ(fresh.Run("zoom 200\nset VScroll1 7\n"), 0);
  QWheelEvent wheel(QPointF(50, 50), view->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                    QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(view->viewport(), &wheel);
  fresh.Form().Seam().Settle();
  EXPECT_FALSE(fresh.Form().Seam().Journal().CanUndo());
  EXPECT_FALSE(fresh.State()["Modified"].toBool());
  // Undo after a zoom takes back the typing before it.
  ASSERT_EQ(fresh.Run("key 53\nzoom 100\nundo\n"), 0);
  EXPECT_EQ(fresh.Dump()["cursor"].toObject()["left"].toDouble(), 20);
  EXPECT_EQ(fresh.State()["Zoom"].toInt(), 100);
}

struct ZoomKeyCase {
  const char* keys;
  int zoom;
};

// Ctrl+= and Ctrl++ (the keypad's too) step up, Ctrl+- steps down, Ctrl+0 is 100 %; the steps
// stop at 50 and 400.
const ZoomKeyCase kZoomKeys[] = {
    {"key 187 2\n", 125},
    {"key 187 3\n", 125},
    {"key 107 2\n", 125},
    {"key 189 2\n", 75},
    {"key 109 2\n", 75},
    {"key 187 2\nkey 187 2\nkey 48 2\n", 100},
    {"zoom 130\nkey 187 2\n", 150},
    {"zoom 130\nkey 189 2\n", 125},
    {"key 189 2\nkey 189 2\nkey 189 2\n", 50},
    {"zoom 300\nkey 187 2\nkey 187 2\n", 400},
};

TEST(View, ZoomKeys) {
  for (const ZoomKeyCase& c : kZoomKeys) {
    SCOPED_TRACE(c.keys);
    WindowHarness window;
    ASSERT_EQ(window.Run(c.keys), 0);
    EXPECT_EQ(window.State()["Zoom"].toInt(), c.zoom);
    // The keys typed nothing.
    EXPECT_EQ(window.Dump()["cursor"].toObject()["left"].toDouble(), 20);
  }
}

// Ctrl+wheel zooms around the pointer: the page pixel under it stays under it.
TEST(View, CtrlWheelZoomsAroundThePointer) {
  WindowHarness window;
  kit::PageViewport* view = window.Form().View();
  const QPoint at(300, 200);
  for (int delta : {120, 120, 240, -120, -360, -120}) {
    SCOPED_TRACE(delta);
    const QPoint before = view->PageAt(at);
    const int zoom = view->Zoom();
    QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view->viewport(), &wheel);
    EXPECT_NE(view->Zoom(), zoom);
    const QPoint after = view->PageAt(at);
    // Unless the page's edge holds the view, within the pixel the rounding allows.
    if (view->horizontalScrollBar()->value() > 0) {
      EXPECT_LE(std::abs(after.x() - before.x()), 1);
    }
    if (view->verticalScrollBar()->value() > 0) {
      EXPECT_LE(std::abs(after.y() - before.y()), 1);
    }
  }
  // Shift+wheel goes sideways.
  ASSERT_EQ(window.Run("zoom 200\n"), 0);
  view->horizontalScrollBar()->setValue(0);
  view->verticalScrollBar()->setValue(0);
  QWheelEvent sideways(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                       Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(view->viewport(), &sideways);
  EXPECT_GT(view->horizontalScrollBar()->value(), 0);
  EXPECT_EQ(view->verticalScrollBar()->value(), 0);
}

// The cursor's box with a line spacing of room, as the viewport shows it.
QRect ShownWithRoom(app::Form1& form, int room) {
  const double z = form.View()->Zoom() / 100.0;
  const QRect box = form.Cursor().Box().adjusted(-room, -room, room, room);
  return QRect(QPoint(int(std::floor(box.left() * z)), int(std::floor(box.top() * z))),
               QPoint(int(std::ceil((box.right() + 1) * z)) - 1,
                      int(std::ceil((box.bottom() + 1) * z)) - 1))
      .translated(-form.View()->horizontalScrollBar()->value(),
                  -form.View()->verticalScrollBar()->value());
}

// Typing down a long page in a small window, the view follows the cursor, scrolling no more
// than it must; erasing back up, it follows it back.
TEST(View, FollowsTheCursorDownThePageAndBack) {
  for (int zoom : {100, 200}) {
    SCOPED_TRACE(zoom);
    WindowHarness window(QSize(800, 600));
    app::Form1& form = window.Form();
    kit::PageViewport* view = form.View();
    ASSERT_EQ(window.Run(QStringLiteral("zoom %1\n").arg(zoom)), 0);
    QScrollBar* v = view->verticalScrollBar();
    view->horizontalScrollBar()->setValue(0);
    v->setValue(0);
    const int room = 60;
    const QRect viewport = view->viewport()->rect();
    for (int line = 0; line < 20; ++line) {
      const int before = v->value();
      ASSERT_EQ(window.Run("key 53\nkey 54\nkey 13\n"), 0);
      const QRect shown = ShownWithRoom(form, room);
      SCOPED_TRACE(::testing::Message() << "line " << line << " cursor " << form.Cursor().Box().y()
                                        << " scroll " << v->value() << " of " << v->maximum());
      EXPECT_TRUE(viewport.contains(ShownWithRoom(form, 0)));
      // In view with its room, unless the page ends first; a scroll went just far enough.
      if (v->value() < v->maximum()) {
        EXPECT_GE(shown.top(), 0);
        EXPECT_LE(shown.bottom(), viewport.bottom());
        if (v->value() != before) {
          EXPECT_EQ(shown.bottom(), viewport.bottom());
        }
      }
    }
    EXPECT_GT(v->value(), 0);
    for (int i = 0; i < 60; ++i) {
      const int before = v->value();
      ASSERT_EQ(window.Run("key 8\n"), 0);
      SCOPED_TRACE(::testing::Message() << "erase " << i << " cursor " << form.Cursor().Box().y());
      EXPECT_TRUE(viewport.contains(ShownWithRoom(form, 0)));
      const QRect shown = ShownWithRoom(form, room);
      if (v->value() != before) {
        EXPECT_EQ(shown.top(), 0);
      }
    }
    // Back on the first line the view shows it with a line of room above.
    EXPECT_EQ(form.Cursor().Box().topLeft(), QPoint(20, 96));
    EXPECT_EQ(v->value(), (96 - room) * zoom / 100);
    // Undo puts the erased notes back and shows where the cursor went.
    ASSERT_EQ(window.Run("undo\n"), 0);
    EXPECT_NE(form.Cursor().Box().topLeft(), QPoint(20, 96));
    EXPECT_TRUE(viewport.contains(ShownWithRoom(form, 0)));
  }
}

// Whatever its size, the window keeps every control within reach: the column scrolls when it is
// taller than the window, the panels stay inside it, and the page's scroll bars reach its ends.
// Resizing moves no control's box and is no edit.
TEST(View, EveryControlStaysWithinReachAtAnySize) {
  for (const QSize size : {QSize(800, 600), QSize(1920, 1080), QSize(1024, 768)}) {
    SCOPED_TRACE(::testing::Message() << size.width() << "x" << size.height());
    WindowHarness window;
    app::Form1& form = window.Form();
    const QJsonObject before = window.Dump()["controls"].toObject();
    form.resize(size);
    Settle();
    form.Seam().Settle();
    ASSERT_EQ(form.size(), size);
    EXPECT_FALSE(form.Seam().Journal().CanUndo());
    EXPECT_FALSE(window.State()["Modified"].toBool());
    const QJsonObject after = window.Dump()["controls"].toObject();
    for (const QString& name : before.keys()) {
      if (name == "Form1") continue;
      SCOPED_TRACE(name.toStdString());
      for (const char* field : {"left", "top", "width", "height", "visible"})
        EXPECT_EQ(after[name].toObject()[field], before[name].toObject()[field]) << field;
    }

    // Every panel of the window open: options, staff input, the new title.
    ASSERT_EQ(window.Run("click Command1(7)\nset Check1 1\nkey 80\n"), 0);
    Settle();
    const QRect inside = form.rect();
    kit::ScrollColumn* column = form.Column();
    QScrollBar* bar = column->Bar();
    int checked = 0;
    for (QObject* control : form.Controls().All()) {
      auto* widget = qobject_cast<QWidget*>(control);
      if (!widget || widget == &form || !widget->isVisible()) continue;
      // A frame is reached through the controls it holds.
      if (qobject_cast<QGroupBox*>(widget)) continue;
      // What lies on the page is reached by scrolling the page.
      if (widget == form.Canvas() || form.Canvas()->isAncestorOf(widget)) continue;
      const QRect box = widget->rect().translated(widget->mapTo(&form, QPoint(0, 0)));
      // Parked work controls lie far outside on purpose.
      if (std::abs(box.top()) >= 2000 || std::abs(box.left()) >= 2000) continue;
      SCOPED_TRACE(widget->objectName().toStdString());
      ++checked;
      if (column->isAncestorOf(widget)) {
        // The column scrolled just far enough to show it.
        const int top = box.top() + bar->value();
        const int bottom = box.bottom() + bar->value();
        const int needed = std::clamp(bottom - inside.bottom(), 0, bar->maximum());
        EXPECT_GE(top - needed, 0);
        EXPECT_LE(bottom - needed, inside.bottom());
        EXPECT_LE(box.right(), inside.right());
      } else {
        EXPECT_TRUE(inside.contains(box));
      }
    }
    EXPECT_GT(checked, 40);
    EXPECT_EQ(bar->isVisible(), size.height() < 757);
    kit::PageViewport* view = form.View();
    EXPECT_EQ(view->geometry(), QRect(176, 0, size.width() - 176, size.height()));
    EXPECT_EQ(view->verticalScrollBar()->maximum(), std::max(1397 - view->viewport()->height(), 0));
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), std::max(988 - view->viewport()->width(), 0));
  }
}

// Qt's own buttons and file dialog speak the window's Chinese.
TEST(View, QtDialogsAreInChinese) {
  ASSERT_FALSE(app::InstallQtTranslations().isEmpty());
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("确定"));
  EXPECT_TRUE(QCoreApplication::translate("QFileDialog", "File &name:").contains("文件名"));
}

}  // namespace
}  // namespace tarvesh::testing

namespace tarvesh::testing {
namespace {

struct ThroughViewCase {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  int keyCode;
  int shift;
};

// Keys typed while the page has the focus go through the view to the page unchanged: Enter and
// Tab too, which a view or a window could take for itself.
const ThroughViewCase kThroughView[] = {
    {Qt::Key_1, Qt::NoModifier, '1', 0},       {Qt::Key_Return, Qt::NoModifier, 13, 0},
    {Qt::Key_Tab, Qt::NoModifier, 9, 0},       {Qt::Key_Equal, Qt::ControlModifier, 187, 2},
    {Qt::Key_PageDown, Qt::NoModifier, 34, 0}, {Qt::Key_Down, Qt::NoModifier, 40, 0},
    {Qt::Key_Escape, Qt::NoModifier, 27, 0},   {Qt::Key_Space, Qt::NoModifier, 32, 0},
};

TEST(View, KeysReachThePageThroughTheView) {
  WindowHarness window;
  app::Form1& form = window.Form();
  form.activateWindow();
  form.FocusPage();
  Settle();
  std::vector<std::pair<int, int>> downs;
  QObject::connect(form.Canvas(), &kit::PageCanvas::KeyDown, [&](int keyCode, int shift) {
    downs.push_back({keyCode, shift});
  });
  for (const ThroughViewCase& c : kThroughView) {
    SCOPED_TRACE(c.keyCode);
    ASSERT_TRUE(form.Canvas()->hasFocus());
    downs.clear();
    QWidget* target = QApplication::focusWidget();
    ASSERT_TRUE(target);
    QTest::keyClick(target, c.key, c.modifiers);
    ASSERT_FALSE(downs.empty());
    EXPECT_EQ(downs.back(), std::make_pair(c.keyCode, c.shift));
  }

  // As a keyboard of X sends them: with a scan code, and the key's symbol as its native key
  // (Backspace's and a's symbols once read as virtual keys 65288 and keypad 1).
  struct NativeKey {
    Qt::Key key;
    quint32 scanCode;
    quint32 symbol;
    const char* text;
    int keyCode;
  };
  for (const NativeKey& k : {NativeKey{Qt::Key_Backspace, 22, 0xff08, "\b", 8},
                             NativeKey{Qt::Key_Return, 36, 0xff0d, "\r", 13},
                             NativeKey{Qt::Key_A, 38, 0x61, "a", 'A'}}) {
    SCOPED_TRACE(k.keyCode);
    downs.clear();
    QKeyEvent press(QEvent::KeyPress, k.key, Qt::NoModifier, k.scanCode, k.symbol, 0,
                    QString::fromLatin1(k.text));
    QCoreApplication::sendEvent(QApplication::focusWidget(), &press);
    QKeyEvent release(QEvent::KeyRelease, k.key, Qt::NoModifier, k.scanCode, k.symbol, 0,
                      QString::fromLatin1(k.text));
    QCoreApplication::sendEvent(QApplication::focusWidget(), &release);
    ASSERT_FALSE(downs.empty());
    EXPECT_EQ(downs.back(), std::make_pair(k.keyCode, 0));
  }
}

}  // namespace
}  // namespace tarvesh::testing
