#include <gtest/gtest.h>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPluginLoader>
#include <QTemporaryDir>

#include "app/windowharness.h"
#include "sound/audiomodule.h"
#include "sound/audiooutputs.h"

namespace tarvesh::testing {
namespace {

struct ControlCase {
  const char* name;
  const char* text;  // nullptr: not checked
  int value;         // -1: not checked
  int left, top;
};

// The command column as a person sees it right after start-up.
const ControlCase kStartControls[] = {
    {"Command2", "全字符", -1, 8, 16},
    {"Command4", "插入", -1, 80, 16},
    {"Command1(6)", "新建", -1, 8, 48},
    {"Command1(0)", "打开", -1, 8, 72},
    {"Command1(1)", "保存", -1, 8, 96},
    {"Command1(2)", "别存为", -1, 8, 120},
    {"Command1(3)", "批量导出图片", -1, 8, 144},
    {"Command1(7)", "选项", -1, 8, 192},
    {"Command1(5)", "退出", -1, 8, 216},
    {"Label4(0)", "小节宽度 120", -1, 8, 240},
    {"HScroll2(0)", nullptr, 120, 8, 256},
    {"Label4(1)", "每行小节数 8", -1, 8, 280},
    {"HScroll2(1)", nullptr, 8, 8, 296},
    {"Label4(2)", "行距：60", -1, 8, 320},
    {"HScroll2(2)", nullptr, 60, 8, 336},
    {"Label4(3)", "和弦距离 20", -1, 8, 520},
    {"HScroll2(3)", nullptr, 20, 8, 536},
    {"Label5", "和弦颜色", -1, 24, 370},
    {"Check2", "显示辅助线", 1, 8, 384},
    {"Check1", "从五线谱输入", 0, 8, 400},
    {"Label3", "高音谱号", -1, 8, 440},
    {"Check9", "使用音效", 1, 8, 456},
    {"Command10", "音符", -1, 8, 488},
    {"Label15", "当前节奏型", -1, 8, 584},
    {"Label2(7)", "4", -1, 44, 608},
    {"Label2(6)", "4", -1, 44, 624},
    {"Command14", "粘贴", -1, 16, 664},
    {"Command15", "清除", -1, 80, 664},
    {"Option1(0)", nullptr, 1, 16, 8},
    {"Option1(3)", nullptr, 0, 112, 8},
    {"Check5(0)", nullptr, 1, 16, 40},
    {"Check5(1)", nullptr, 1, 48, 40},
    {"Check5(2)", nullptr, 0, 80, 40},
    {"VScroll1", nullptr, 0, 160, 0},
    {"Combo6", "100%", -1, 72, 362},
    {"Label1", "标题", -1, 0, 8},
    {"Label2(2)", "C", -1, 32, 48},
    {"Label2(0)", "4", -1, 52, 40},
    {"Label2(1)", "4", -1, 52, 56},
    {"Label2(4)", "每分钟72拍", -1, 96, 48},
    {"Label6s(4)", "0.5", -1, -1, -1},
    {"Label18", "< p >", -1, -1, -1},
    {"Label12", "无", -1, 272, 8},
};

class StartUp : public ::testing::Test {
 protected:
  WindowHarness window;
};

TEST_F(StartUp, CommandColumnShowsItsStartValues) {
  const QJsonObject controls = window.Dump()["controls"].toObject();
  for (const ControlCase& c : kStartControls) {
    SCOPED_TRACE(c.name);
    const QJsonObject control = controls[c.name].toObject();
    ASSERT_FALSE(control.isEmpty());
    if (c.text) {
      EXPECT_EQ(control["text"].toString(), QString::fromUtf8(c.text));
    }
    if (c.value >= 0) {
      EXPECT_EQ(control["value"].toInt(), c.value);
    }
    if (c.left >= 0) {
      EXPECT_EQ(control["left"].toInt(), c.left);
    }
    if (c.top >= 0) {
      EXPECT_EQ(control["top"].toInt(), c.top);
    }
  }
}

TEST_F(StartUp, PageCursorAndLayout) {
  const QJsonObject dump = window.Dump();
  const QJsonObject page = dump["page"].toObject();
  EXPECT_EQ(page["width"].toInt(), 988);
  EXPECT_EQ(page["height"].toInt(), 1397);
  EXPECT_EQ(page["left"].toInt(), 176);
  EXPECT_EQ(page["top"].toInt(), 0);
  const QJsonObject cursor = dump["cursor"].toObject();
  EXPECT_EQ(cursor["left"].toDouble(), 20);
  EXPECT_EQ(cursor["top"].toDouble(), 96);
  EXPECT_EQ(cursor["picture"].toString(), "built-in");

  const QJsonObject controls = dump["controls"].toObject();
  int shown = 0;
  for (int i = 0; i < 889; ++i) {
    const QJsonObject line = controls[QStringLiteral("Line2(%1)").arg(i)].toObject();
    if (!line["visible"].toBool()) continue;
    ++shown;
    EXPECT_EQ((line["x1"].toInt() - 14) % 120, 0);
    EXPECT_EQ(line["y2"].toInt() - line["y1"].toInt(), 32);
  }
  EXPECT_EQ(shown, 264);
  EXPECT_EQ(controls["Line3"].toObject()["x1"].toInt(), 974);
  EXPECT_EQ(controls["Picture3"].toObject()["top"].toInt(), 491);
  EXPECT_FALSE(controls["Picture3"].toObject()["visible"].toBool());
  EXPECT_EQ(controls["Label1"].toObject()["width"].toInt(), 988);
  const QJsonObject credit = controls["Label2(5)"].toObject();
  EXPECT_EQ(credit["left"].toInt() + credit["width"].toInt(), 988 - 32);
  const QJsonObject number = controls["Label16"].toObject();
  EXPECT_EQ(number["top"].toInt(), 1397 - 45);
  // The number behind the label agrees with it: a page once started as number 0 under "< 1 >".
  EXPECT_EQ(number["text"].toString(), "< 1 >");
  EXPECT_EQ(window.State()["PageNumber"].toInt(), 1);

  const QJsonObject timer1 = controls["Timer1"].toObject();
  EXPECT_EQ(timer1["interval"].toInt(), 350);
  EXPECT_TRUE(timer1["running"].toBool());
  EXPECT_FALSE(controls["Timer2"].toObject()["running"].toBool());
}

TEST_F(StartUp, ListsAndPickers) {
  const QJsonObject controls = window.Dump()["controls"].toObject();
  const QJsonArray tools = controls["Combo3"].toObject()["items"].toArray();
  ASSERT_EQ(tools.size(), 51);
  EXPECT_EQ(tools[0].toString(), "不清除");
  EXPECT_EQ(tools[50].toString(), "清除50X50");
  EXPECT_EQ(controls["Combo3"].toObject()["index"].toInt(), 0);
  for (const char* picker : {"Combo1(0)", "Combo1(1)", "Combo1(2)", "Combo1(3)", "Combo1(6)",
                             "Combo1(7)", "Combo1(12)", "Combo1(13)", "HScroll1", "List2"}) {
    SCOPED_TRACE(picker);
    EXPECT_EQ(controls[picker].toObject()["top"].toInt(), -5000);
  }
  EXPECT_EQ(controls["Combo1(0)"].toObject()["index"].toInt(), 2);
  EXPECT_EQ(controls["Combo1(2)"].toObject()["text"].toString(), "C");
  EXPECT_EQ(controls["Combo2"].toObject()["text"].toString(), "C or #C");
  EXPECT_GT(controls["List2"].toObject()["items"].toArray().size(), 0);
  EXPECT_GT(controls["List1"].toObject()["items"].toArray().size(), 0);
  EXPECT_GT(controls["File1"].toObject()["items"].toArray().size(), 0);

  const QJsonObject state = window.State();
  EXPECT_EQ(state["BeatsPerBar"].toInt(), 4);
  EXPECT_EQ(state["BeatUnit"].toInt(), 4);
  EXPECT_EQ(state["PrevDurationRow"].toInt(), 5);
  EXPECT_EQ(state["SelectedOverlay"].toInt(), -1);
  EXPECT_EQ(state["Zoom"].toInt(), 100);
}

// Data files that are missing leave their lists empty; start-up still completes.
TEST(StartUpData, MissingTextFilesAndSymbolFolderLeaveListsEmpty) {
  QTemporaryDir data;
  ASSERT_TRUE(QDir(data.path()).mkdir("s"));
  for (const char* atlas : {"picmode.bmp", "picmode2.bmp", "s/arc.bmp"})
    ASSERT_TRUE(QFile::copy(QStringLiteral(TARVESH_DATA_DIR "/") + atlas, data.filePath(atlas)));
  QFile empty(data.filePath("speed.txt"));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.close();
  WindowHarness window(QSize(1024, 768), data.path());
  const QJsonObject controls = window.Dump()["controls"].toObject();
  EXPECT_EQ(controls["List2"].toObject()["items"].toArray().size(), 0);
  EXPECT_EQ(controls["Combo4"].toObject()["items"].toArray().size(), 0);
  EXPECT_EQ(controls["List1"].toObject()["items"].toArray().size(), 0);
  EXPECT_EQ(controls["File1"].toObject()["items"].toArray().size(), 0);
  EXPECT_EQ(window.Dump()["page"].toObject()["width"].toInt(), 988);
}

// The sound outputs come from the module beside the program, which Qt takes as the program's
// plugin; a file that cannot be played is passed over.
TEST(SoundModule, LoadsFromBesideTheProgram) {
  QPluginLoader loader(sound::AudioModule::Places(QStringLiteral(TARVESH_DATA_DIR)).first());
  auto* outputs = qobject_cast<sound::AudioOutputs*>(loader.instance());
  ASSERT_NE(outputs, nullptr) << loader.errorString().toStdString();
  outputs->PlayEffect(QStringLiteral(TARVESH_DATA_DIR "/sound/no-such-sound.wav"));
  EXPECT_TRUE(loader.unload());
}

struct ScriptFailureCase {
  const char* script;
  int line;
  const char* says;
};

// A step that cannot run stops the script with its line, and the steps after it do not run.
const ScriptFailureCase kFailures[] = {
    {"key 53\nfrobnicate 1\n", 2, "unknown step"},
    {"# comment\n\nclick NoSuchControl\n", 3, "unknown control"},
    {"key five\n", 1, "bad number"},
    {"mousedown Picture1 1 0 ten 5\n", 1, "bad number"},
    {"click Label16\n", 1, "no queued answer"},
    {"save-bitmap /nonexistent-folder/x.bmp\n", 1, "cannot write"},
    {"answer \"unterminated\n", 1, "unterminated"},
    {"zoom 401\n", 1, "zoom takes a percentage from 50 to 400"},
    {"key 53\nzoom 49\n", 2, "zoom takes a percentage"},
    {"zoom big\n", 1, "bad number"},
};

TEST(ScriptInterface, FailingStepsReportFileAndLine) {
  for (const ScriptFailureCase& c : kFailures) {
    SCOPED_TRACE(c.script);
    const ProcessResult result = RunTarvesh({}, QString::fromUtf8(c.script));
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.errors.contains(QStringLiteral("steps.tvs:%1: ").arg(c.line)))
        << result.errors.toStdString();
    EXPECT_TRUE(result.errors.contains(QString::fromUtf8(c.says))) << result.errors.toStdString();
  }
}

TEST(ScriptInterface, CommandLine) {
  EXPECT_EQ(RunTarvesh({"--frobnicate"}).status, 2);
  EXPECT_EQ(RunTarvesh({"--screen", "wide"}, "").status, 2);
  EXPECT_EQ(RunTarvesh({"--version"}).status, 0);
  EXPECT_EQ(RunTarvesh({"--screen", "1024x768"}, "key 53\n").status, 0);
  // A broken installation says which file is missing.
  QTemporaryDir empty;
  const ProcessResult broken = RunTarvesh({"--data-dir", empty.path()}, "");
  EXPECT_NE(broken.status, 0);
  EXPECT_TRUE(broken.errors.contains("picmode.bmp"));
}

// `tarvesh FILE.bmp`, as a file manager starts it: the score is open as Open leaves it.
TEST(ScriptInterface, AScoreOnTheCommandLineOpensAtStart) {
  QTemporaryDir dir;
  const QString score = dir.filePath("tune.bmp");
  ASSERT_EQ(
      RunTarvesh({}, QStringLiteral("key 53\nfile \"%1\"\nclick Command1(2)\n").arg(score)).status,
      0);
  const QString dump = dir.filePath("state.json");
  ASSERT_EQ(RunTarvesh({score}, QStringLiteral("dump \"%1\"\n").arg(dump)).status, 0);
  QFile file(dump);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QJsonObject state = QJsonDocument::fromJson(file.readAll()).object()["state"].toObject();
  EXPECT_EQ(state["DocumentPath"].toString(), score);
  EXPECT_EQ(state["Modified"].toBool(true), false);

  // A score that cannot be opened is told; a script then counts it as a failed step.
  const ProcessResult missing = RunTarvesh({dir.filePath("gone.bmp")}, "");
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.errors.contains("gone.bmp")) << missing.errors.toStdString();

  EXPECT_EQ(RunTarvesh({score, score}, "").status, 2);
  EXPECT_EQ(RunTarvesh({"--export", dir.path(), score}).status, 2);
}

}  // namespace
}  // namespace tarvesh::testing
