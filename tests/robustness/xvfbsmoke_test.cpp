#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace tarvesh::robustness {
namespace {

// Starts the program in a real X server, types two bars with real key presses, and takes a
// screenshot of the screen before and after.
const char kSession[] = R"(
set -eu
"$TARVESH" --screen 1024x768 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=$(xdotool search --sync --onlyvisible --name '^Tarvesh$' | head -n 1)
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
sleep 1
import -window root "$OUT/before.png"
xdotool type --delay 60 '12311231'
sleep 1
import -window root "$OUT/after.png"
)";

int DarkPixels(const QImage& image) {
  int dark = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 96) ++dark;
  return dark;
}

int WhitePixels(const QImage& image) {
  int white = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == QColor(Qt::white).rgb()) ++white;
  return white;
}

TEST(RealWindow, TypedBarShowsOnThePage) {
  for (const char* tool : {"xvfb-run", "xdotool", "import"}) {
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
      GTEST_SKIP() << tool << " is not installed: the real-window smoke test needs xvfb, "
                   << "xdotool and imagemagick (tools/setup.sh installs them)";
  }
  QTemporaryDir out;
  QProcess session;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  env.insert(QStringLiteral("TARVESH"), QStringLiteral(TARVESH_EXECUTABLE));
  env.insert(QStringLiteral("OUT"), out.path());
  session.setProcessEnvironment(env);
  session.start(QStringLiteral("xvfb-run"),
                {"-a", "-s", "-screen 0 1280x1024x24", "bash", "-c", kSession});
  ASSERT_TRUE(session.waitForFinished(120000));
  ASSERT_EQ(session.exitCode(), 0) << session.readAllStandardError().toStdString();

  const QImage before(out.filePath(QStringLiteral("before.png")));
  const QImage after(out.filePath(QStringLiteral("after.png")));
  ASSERT_FALSE(before.isNull());
  ASSERT_FALSE(after.isNull());
  // The page fills most of the window: a large white area on the screen.
  EXPECT_GT(WhitePixels(before), before.width() * before.height() / 4);
  // Eight notes and two bar lines put ink on it, far more than the blinking cursor holds.
  EXPECT_GT(DarkPixels(after) - DarkPixels(before), 200);
}

}  // namespace
}  // namespace tarvesh::robustness
