// Undo and redo through the window as a person uses them: random mixes of edits taken back and
// done again against the window as it was, New and Open as steps, the title and the question
// before unsaved work is lost.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <random>
#include <vector>

#include "app/editseam.h"
#include "app/form1.h"
#include "kit/picturebox.h"
#include "windowharness.h"

namespace tarvesh::testing {
namespace {

// One user action: script steps that make at most one step of the journal.
struct Action {
  const char* name;
  const char* script;
};

const Action kActions[] = {
    {"5", "key 53\n"},
    {"1", "key 49\n"},
    {"7", "key 55\n"},
    {"H", "key 72\n"},
    {"Enter", "key 13\n"},
    {"Backspace", "key 8\n"},
    {"space", "key 32\n"},
    {"dash", "key 189\n"},
    {"dot", "key 190\n"},
    {"Left", "key 37\n"},
    {"Right", "key 39\n"},
    {"Down", "key 40\n"},
    {"Insert", "key 45\n"},
    {"slur mark", "key 76\n"},
    {"click on the page", "mousedown Picture1 1 0 150 160\nmouseup Picture1 1 0 150 160\n"},
    {"select and copy",
     "mousedown Picture1 1 0 23 96\nmousemove Picture1 1 0 89 160\nmouseup Picture1 1 0 89 160\n"},
    {"paste", "click Command14\n"},
    {"clear", "click Command15\n"},
    {"eraser size", "select Combo3 12\n"},
    {"no eraser", "select Combo3 0\n"},
    {"drag on the page",
     "mousedown Picture1 1 0 40 110\nmousemove Picture1 1 0 60 120\nmouseup Picture1 1 0 60 120\n"},
    {"bar width", "set HScroll2(0) 100\n"},
    {"bar width back", "set HScroll2(0) 120\n"},
    {"bars per line", "set HScroll2(1) 6\n"},
    {"line spacing", "set HScroll2(2) 80\n"},
    {"auto beats off", "set Check8 0\n"},
    {"guide lines off", "set Check2 0\n"},
    {"guide lines on", "set Check2 1\n"},
    {"key picker", "mousedown Label2(2) 1 0 5 5\nmouseup Label2(2) 1 0 5 5\n"},
    {"key D", "select Combo1(2) 2\n"},
    {"title", "answer \"春之歌\"\ndblclick Label1\n"},
    {"phrase", "select List1 2\n"},
    {"text panel", "key 68\n"},
    {"add the phrase", "click Command5\n"},
    {"pick the label", "click Label7(0)\n"},
    {"delete", "key 46\n"},
    {"Ctrl+Right", "key 39 2\n"},
    {"staff input", "click Check1\n"},
    {"lyrics mode", "key 76 2\n"},
    {"words", "text \"春Glo-\"\n"},
    {"staff note",
     "mousemove Label10 0 0 100 172\nmousedown Label10 1 0 100 172\n"
     "mouseup Label10 1 0 100 172\n"},
};

// The dump without what follows the journal itself (the undo buttons, the title, the modified
// flag) and the event log.
QJsonObject Seen(WindowHarness& w) {
  QJsonObject dump = w.Dump();
  dump.remove("events");
  QJsonObject controls = dump["controls"].toObject();
  for (const char* derived : {"Command18", "Command19", "Form1"}) controls.remove(derived);
  dump["controls"] = controls;
  QJsonObject state = dump["state"].toObject();
  state.remove("Modified");
  dump["state"] = state;
  return dump;
}

// The window as the dump shows it, the page, and the copy buffer a paste stamps.
struct Moment {
  QJsonObject dump;
  QImage page;
  QImage copied;
  bool operator==(const Moment&) const = default;
};

Moment Now(WindowHarness& w) {
  return {Seen(w), w.Form().Page().Image().copy(),
          w.Form().Controls().Get<kit::PictureBox>("Picture9")->Bitmap().copy()};
}

// The first differing key of two dumps, for a readable failure.
std::string FirstDifference(const QJsonObject& a, const QJsonObject& b, const QString& path = {}) {
  for (auto it = a.begin(); it != a.end(); ++it) {
    const QJsonValue other = b.value(it.key());
    if (it.value() == other) continue;
    if (it.value().isObject() && other.isObject())
      return FirstDifference(it.value().toObject(), other.toObject(), path + "/" + it.key());
    return (path + "/" + it.key()).toStdString();
  }
  for (auto it = b.begin(); it != b.end(); ++it)
    if (!a.contains(it.key())) return (path + "/" + it.key()).toStdString();
  return {};
}

void ExpectSame(const Moment& got, const Moment& want) {
  EXPECT_TRUE(got.page == want.page) << "the page differs";
  EXPECT_TRUE(got.copied == want.copied) << "the copy buffer differs";
  EXPECT_TRUE(got.dump == want.dump)
      << "first difference: " << FirstDifference(got.dump, want.dump);
}

class RandomEdits : public ::testing::TestWithParam<unsigned> {
 protected:
  void Run(WindowHarness& w, const QString& script) {
    ASSERT_EQ(w.Run(script), 0) << w.LastError().toStdString();
  }
  bool CanUndo() { return w.Control("Command18")["enabled"].toBool(); }
  bool CanRedo() { return w.Control("Command19")["enabled"].toBool(); }

  // Runs `count` random actions; keeps those that changed anything, with the window after each.
  void Act(int count) {
    for (int i = 0; i < count; ++i) {
      const Action& action = kActions[random() % std::size(kActions)];
      Run(w, action.script);
      Moment after = Now(w);
      if (after == moments.back()) continue;
      done.push_back(action.script);
      moments.push_back(std::move(after));
    }
  }

  WindowHarness w;
  std::mt19937 random{GetParam()};
  std::vector<QString> done;
  std::vector<Moment> moments{Now(w)};
};

TEST_P(RandomEdits, UndoAllAndRedoAllReturnToEachEnd) {
  Act(30);
  const size_t steps = done.size();
  for (size_t i = steps; i > 0; --i) {
    SCOPED_TRACE(::testing::Message() << "undo back to after action " << i - 1);
    ASSERT_TRUE(CanUndo());
    Run(w, "undo\n");
    ExpectSame(Now(w), moments[i - 1]);
  }
  EXPECT_FALSE(CanUndo());
  for (size_t i = 1; i <= steps; ++i) {
    SCOPED_TRACE(::testing::Message() << "redo of action " << i);
    ASSERT_TRUE(CanRedo());
    Run(w, "redo\n");
    ExpectSame(Now(w), moments[i]);
  }
  EXPECT_FALSE(CanRedo());
}

// Undo some, redo some, go on with new edits: the window is that of a fresh one given only the
// edits that survive.
TEST_P(RandomEdits, AMixMatchesAReplayOfTheSurvivingEdits) {
  for (int round = 0; round < 3; ++round) {
    Act(10);
    const size_t back = random() % (done.size() + 1);
    for (size_t i = 0; i < back; ++i) Run(w, "undo\n");
    const size_t forth = random() % (back + 1);
    for (size_t i = 0; i < forth; ++i) Run(w, "redo\n");
    const size_t kept = done.size() - back + forth;
    done.resize(kept);
    moments.resize(kept + 1);
    ExpectSame(Now(w), moments.back());
  }
  Act(5);
  WindowHarness replay;
  for (const QString& script : done) Run(replay, script);
  ExpectSame(Now(w), Now(replay));
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEdits, ::testing::Values(1u, 2u, 3u, 4u));

class Undo : public ::testing::Test {
 protected:
  void Run(const QString& script) {
    QString text = script;
    text.replace("DIR", dir.path());
    ASSERT_EQ(w.Run(text), 0) << w.LastError().toStdString();
  }
  QString Title() { return w.Control("Form1")["text"].toString(); }
  bool Modified() { return w.State()["Modified"].toBool(); }

  QTemporaryDir dir;
  WindowHarness w;
};

TEST_F(Undo, AHeldArrowNudgingALabelIsOneStep) {
  Run("select List1 0\nkey 68\nclick Command5\nclick Label7(0)\n");
  const Moment before = Now(w);
  Run("keydown 39\nkeydown 39\nkeydown 39\nkeyup 39\n");
  EXPECT_EQ(w.Control("Label7(0)")["left"].toInt(), 38);
  Run("undo\n");
  ExpectSame(Now(w), before);
}

TEST_F(Undo, CtrlShiftZRedoesAndTheButtonsFollowTheJournal) {
  EXPECT_FALSE(w.Control("Command18")["enabled"].toBool());
  EXPECT_EQ(w.Control("Command18")["text"].toString(), "撤销");
  EXPECT_EQ(w.Control("Command19")["text"].toString(), "重做");
  Run("key 53\n");
  const Moment typed = Now(w);
  EXPECT_TRUE(w.Control("Command18")["enabled"].toBool());
  Run("click Command18\n");
  EXPECT_FALSE(w.Control("Command18")["enabled"].toBool());
  EXPECT_TRUE(w.Control("Command19")["enabled"].toBool());
  Run("key 90 3\n");
  ExpectSame(Now(w), typed);
  EXPECT_FALSE(w.Control("Command19")["enabled"].toBool());
}

// New and Open ask nothing; Ctrl+Z right after them brings back the score that was shown,
// unsaved changes and its path included.
TEST_F(Undo, NewAndOpenAreStepsThatBringBackTheScoreBefore) {
  Run("key 53\nfile \"DIR/a.bmp\"\nclick Command1(1)\nkey 54\n");
  const Moment edited = Now(w);
  EXPECT_TRUE(Modified());
  EXPECT_EQ(Title(), "a.bmp - Tarvesh*");
  Run("click Command1(6)\n");
  EXPECT_FALSE(Modified());
  EXPECT_EQ(Title(), "Tarvesh");
  Run("undo\n");
  ExpectSame(Now(w), edited);
  EXPECT_TRUE(Modified());
  EXPECT_EQ(Title(), "a.bmp - Tarvesh*");

  Run("file \"DIR/a.bmp\"\nclick Command1(0)\n");
  EXPECT_FALSE(Modified());
  EXPECT_EQ(Title(), "a.bmp - Tarvesh");
  Run("undo\n");
  ExpectSame(Now(w), edited);
  Run("undo\n");
  EXPECT_FALSE(Modified()) << "back to the score as saved";
  EXPECT_EQ(Title(), "a.bmp - Tarvesh");
}

TEST_F(Undo, SavingIsNoStepAndMarksTheScoreUnmodified) {
  Run("key 53\n");
  EXPECT_EQ(Title(), "未命名 - Tarvesh*");
  Run("file \"DIR/b.bmp\"\nclick Command1(1)\n");
  EXPECT_FALSE(Modified());
  EXPECT_EQ(w.State()["DocumentPath"].toString(), QDir(dir.path()).filePath("b.bmp"));
  Run("undo\n");
  EXPECT_TRUE(Modified());
  EXPECT_EQ(w.State()["DocumentPath"].toString(), QDir(dir.path()).filePath("b.bmp"))
      << "undo takes back the typing, not the save";
  Run("redo\n");
  EXPECT_FALSE(Modified());
}

// A batch export puts the window back itself: it is no change and no step.
TEST_F(Undo, ABatchExportIsNoStep) {
  Run("key 53\nfile \"DIR/c.bmp\"\nclick Command1(1)\n");
  const Moment saved = Now(w);
  Run("file \"DIR/c.bmp\"\nclick Command1(3)\ntick Timer2 8\n");
  EXPECT_FALSE(Modified());
  Run("undo\n");
  EXPECT_EQ(w.Dump()["reading"].toArray().size(), 0) << "the undo took back the typing";
  Run("redo\n");
  EXPECT_EQ(Now(w).page, saved.page);
}

struct QuestionCase {
  const char* name;
  const char* reply;
  bool closes;
  bool saved;
};

// Exit and closing the window ask before unsaved changes are lost: 保存 saves and closes, 不保存
// closes, 取消 changes nothing.
TEST_F(Undo, ExitAndCloseAskAboutUnsavedChanges) {
  const QuestionCase cases[] = {
      {"保存", "reply yes\nfile \"DIR/q.bmp\"\n", true, true},
      {"不保存", "reply no\n", true, false},
      {"取消", "reply cancel\n", false, false},
  };
  for (const bool byClose : {false, true}) {
    for (const QuestionCase& c : cases) {
      SCOPED_TRACE(::testing::Message() << c.name << (byClose ? " on close" : " on exit"));
      QFile::remove(QDir(dir.path()).filePath("q.bmp"));
      WindowHarness fresh;
      QString script = QStringLiteral("key 53\n") + c.reply;
      script.replace("DIR", dir.path());
      ASSERT_EQ(fresh.Run(script), 0);
      bool closed = false;
      if (byClose) {
        QCloseEvent close;
        QCoreApplication::sendEvent(&fresh.Form(), &close);
        closed = close.isAccepted();
      } else {
        ASSERT_EQ(fresh.Run("click Command1(5)\n"), 0) << fresh.LastError().toStdString();
        closed = fresh.Form().ExitRequested();
      }
      EXPECT_EQ(closed, c.closes);
      EXPECT_EQ(QFile::exists(QDir(dir.path()).filePath("q.bmp")), c.saved);
      const QJsonArray events = fresh.Dump()["events"].toArray();
      const QJsonObject asked{{"message", "是否保存对当前乐谱的修改？"},
                              {"title", "提示"},
                              {"buttons", QJsonArray{"保存", "不保存", "取消"}}};
      EXPECT_TRUE(events.contains(asked));
    }
  }
  // Nothing unsaved: nothing asked.
  ASSERT_EQ(w.Run("click Command1(5)\n"), 0) << w.LastError().toStdString();
  EXPECT_TRUE(w.Form().ExitRequested());
}

}  // namespace
}  // namespace tarvesh::testing
