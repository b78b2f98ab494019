// The page composed from the document against the window's own drawing of the same state: every
// label and picture over the page rendered in the order it stacks on screen.
#include <gtest/gtest.h>

#include <QPainter>

#include "app/batchexport.h"
#include "app/windowharness.h"
#include "kit/imagecontrol.h"
#include "kit/labelcontrol.h"
#include "kit/pagecanvas.h"

namespace tarvesh::testing {
namespace {

QImage WidgetsOverThePage(app::Form1& form) {
  QImage view = form.Page().Image().copy();
  QPainter painter(&view);
  QWidget* canvas = form.Canvas();
  for (QObject* object : canvas->children()) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || widget->isHidden()) continue;
    const QString name = widget->objectName();
    const bool over = qobject_cast<kit::LabelControl*>(widget) ||
                      qobject_cast<kit::ImageControl*>(widget) || name == "Line1(0)";
    // The cursor and the slur tool's marks are not part of the page.
    const bool tool = name == "Imapnt" || name == "Label8" || name == "Image4";
    if (over && !tool) widget->render(&painter, widget->pos(), QRegion(), QWidget::DrawChildren);
  }
  return view;
}

struct ViewCase {
  const char* name;
  const char* script;
  bool batch = false;
};

void PrintTo(const ViewCase& c, std::ostream* os) {
  *os << c.name;
}

// Head texts changed through their dialogs and pickers, a wider and a narrower page, labels and
// pictures over the title and past the page's edges, each kind of selection, and the batch's
// see-through title.
constexpr const char* kFullHead = R"(key 49
key 50
key 13
answer "小河淌水 & 月亮出来亮汪汪"
dblclick Label1
answer "云南民歌 记谱"
mousedown Label2(5) 1 0 2 2
select Combo1(2) 9
select Combo1(0) 1
answer "12"
click Label16
set HScroll2(1) 12
select List1 3
key 68
click Command5
key 70
select File1 2
click Command8
)";

class ComposedView : public ::testing::TestWithParam<ViewCase> {};

TEST_P(ComposedView, EqualsTheWidgetsOverThePage) {
  WindowHarness window;
  ASSERT_EQ(window.Run(GetParam().script), 0) << window.LastError().toStdString();
  if (GetParam().script == kFullHead) {
    // The head really changed, so the comparison covers it.
    EXPECT_EQ(window.Control("Label2(5)")["text"].toString(), "云南民歌 记谱");
    EXPECT_EQ(window.Control("Label2(2)")["text"].toString(), "A");
    EXPECT_EQ(window.Control("Label16")["text"].toString(), "< 12 >");
  }
  if (GetParam().batch) window.Form().Batch().BeginCapture(QString());
  const QImage composed = window.Form().PageView();
  const QImage drawn = WidgetsOverThePage(window.Form());
  ASSERT_EQ(composed.size(), drawn.size());
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x)
      ASSERT_EQ(composed.pixel(x, y), drawn.pixel(x, y)) << "at " << x << ", " << y;
}

INSTANTIATE_TEST_SUITE_P(
    Window, ComposedView,
    ::testing::Values(
        ViewCase{"fresh_page", ""}, ViewCase{"full_head", kFullHead},
        ViewCase{"narrow_page",
                 "set HScroll2(0) 60\nset HScroll2(1) 4\nanswer \"\"\n"
                 "mousedown Label2(5) 1 0 2 2\n"},
        ViewCase{"label_selected", "select List1 0\nkey 68\nclick Command5\nclick Label7(0)\n"},
        ViewCase{"picture_selected", "key 70\nselect File1 0\nclick Command8\nclick Ima(0)\n"},
        ViewCase{"overlays_over_the_title",
                 "mousedown Picture1 1 0 380 4\n"
                 "mouseup Picture1 1 0 380 4\n"
                 "select List1 1\nkey 68\nclick Command5\n"
                 "key 70\nselect File1 1\nclick Command8\n"},
        ViewCase{"batch", kFullHead, true}),
    [](const ::testing::TestParamInfo<ViewCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvesh::testing
