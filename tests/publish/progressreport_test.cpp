#include "publish/progressreport.h"

#include <gtest/gtest.h>

namespace tarvesh::publish {
namespace {

struct ReportCase {
  const char* what;
  bool terminal;
  // What three scores, the second failing, leave on the stream.
  QString told;
};

const QString kClear = QStringLiteral("\r\x1b[K");

const ReportCase kCases[] = {
    {"a line per score off a terminal", false,
     QStringLiteral("[1/3] a.bmp -> a\n[2/3] b.bmp: cannot be read\n[3/3] c.bmp -> c\n")},
    // The failure stays above the bar; the bar is gone before the closing lines.
    {"one bar redrawn on a terminal", true,
     kClear + QStringLiteral("[######..............] 1/3 a.bmp") + kClear +
         QStringLiteral("[2/3] b.bmp: cannot be read\n") + kClear +
         QStringLiteral("[#############.......] 2/3 b.bmp") + kClear +
         QStringLiteral("[####################] 3/3 c.bmp") + kClear},
};

class Report : public ::testing::TestWithParam<ReportCase> {};

TEST_P(Report, TellsEveryScore) {
  QString text;
  QTextStream out(&text);
  ProgressReport report(out, 3, GetParam().terminal);
  report.Done(1, "a.bmp", "[1/3] a.bmp -> a", false);
  report.Done(2, "b.bmp", "[2/3] b.bmp: cannot be read", true);
  report.Done(3, "c.bmp", "[3/3] c.bmp -> c", false);
  report.End();
  EXPECT_EQ(text, GetParam().told);
}

INSTANTIATE_TEST_SUITE_P(Outputs, Report, ::testing::ValuesIn(kCases));

// A name that would wrap the bar onto a second row leaves the carriage return stranded there.
TEST(ProgressReportOnATerminal, CutsALongNameToOneRow) {
  QString text;
  QTextStream out(&text);
  ProgressReport report(out, 1, true);
  report.Done(1, QString(100, u'长'), QString(), false);
  out.flush();
  EXPECT_EQ(text.count(u'长'), ProgressReport::kNameWidth - 1);
  EXPECT_TRUE(text.endsWith(QChar(u'…')));
}

}  // namespace
}  // namespace tarvesh::publish
