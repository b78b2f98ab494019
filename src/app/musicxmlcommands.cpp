#include "app/musicxmlcommands.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <array>
#include <variant>

#include "engine/virtualkey.h"
#include "kit/controlregistry.h"
#include "kit/dialogs.h"
#include "musicxml/documentexport.h"
#include "musicxml/importtyping.h"
#include "musicxml/musicxmlreader.h"
#include "page/enginestate.h"
#include "page/geometry.h"
#include "page/scorepage.h"
#include "score/scoredocument.h"

namespace tarvesh::app {

namespace {
const QString kHint = QStringLiteral("提示");
// The room kept for MusicXML in the command column, under the playback row.
constexpr QRect kExportButton(72, 608, 57, 17);
constexpr QRect kImportButton(72, 632, 57, 17);
}  // namespace

const QString MusicXmlCommands::kFilter = QStringLiteral("MusicXML(*.musicxml)|*.musicxml");
const QString MusicXmlCommands::kImportFilter =
    QStringLiteral("MusicXML(*.musicxml;*.xml;*.mxl)|*.musicxml;*.xml;*.mxl");

MusicXmlCommands::MusicXmlCommands(const Context& context)
    : QObject(context.commandColumn), context_(context) {
  auto button = [this](const QString& name, const QString& text, const QRect& at) {
    auto* b = new QPushButton(text, context_.commandColumn);
    b->setObjectName(name);
    b->setGeometry(at);
    // The caption is wider than the button: a smaller face, narrowed as far as it must be, keeps
    // it whole.
    QFont small = b->font();
    small.setPixelSize(9);
    const QStyle* style = b->style();
    const int room = at.width() - style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b) -
                     2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
    const int wide = QFontMetrics(small).horizontalAdvance(text);
    if (wide > room) small.setStretch(std::max(50, 100 * room / wide));
    b->setFont(small);
    b->setToolTip(text);
    context_.controls.Add(b);
    return b;
  };
  command22_ = button(QStringLiteral("Command22"), QStringLiteral("导出MusicXML"), kExportButton);
  command23_ = button(QStringLiteral("Command23"), QStringLiteral("导入MusicXML"), kImportButton);
  connect(command22_, &QPushButton::clicked, this, [this] {
    Export();
    context_.focusPage();
  });
  connect(command23_, &QPushButton::clicked, this, [this] {
    Import();
    context_.focusPage();
  });
}

void MusicXmlCommands::Import() {
  const auto chosen =
      context_.dialogs.OpenFile(QStringLiteral("导入MusicXML"), kImportFilter, QString());
  if (!chosen) return;
  QString message;
  if (!ImportFile(*chosen, &message)) {
    context_.dialogs.Failure(
        QStringLiteral("无法导入%1：%2").arg(QDir::toNativeSeparators(*chosen), message), kHint);
    return;
  }
  emit Imported();
  context_.dialogs.Message(message.isEmpty() ? QStringLiteral("导入完成")
                                             : QStringLiteral("导入完成\n未导入：") + message,
                           kHint);
}

bool MusicXmlCommands::ImportFile(const QString& path, QString* message) {
  auto read = musicxml::MusicXmlReader::ReadFile(path);
  if (auto* why = std::get_if<QString>(&read)) {
    *message = *why;
    return false;
  }
  musicxml::ImportedScore& score = std::get<musicxml::ImportedScore>(read);
  const musicxml::ImportTyping typing = musicxml::ImportTyping::Of(score);

  using score::ScoreDocument;
  context_.newDocument();
  // An arc marked on the page before and never drawn would start the first arc typed here.
  if (auto* label8 = context_.controls.Get<QWidget>(QStringLiteral("Label8"))) label8->hide();
  // The head is picked as a person picks it, so the engine counts in the file's time.
  const auto& entries = ScoreDocument::kHeadPickEntries;
  const std::array<std::pair<const char*, qsizetype>, 3> picks{
      {{"Combo1(0)",
        entries[ScoreDocument::kNumeratorPick].indexOf(QString::number(typing.numerator))},
       {"Combo1(1)",
        entries[ScoreDocument::kDenominatorPick].indexOf(QString::number(typing.denominator))},
       {"Combo1(2)", entries[ScoreDocument::kKeyPick].indexOf(typing.key)}}};
  for (const auto& [name, index] : picks)
    if (auto* combo = context_.controls.Get<QComboBox>(QLatin1String(name)))
      combo->setCurrentIndex(int(index));
  ScoreDocument& document = context_.document;
  if (!score.title.isEmpty()) document.SetText(ScoreDocument::kTitle, score.title);
  if (!score.composer.isEmpty()) document.SetText(ScoreDocument::kCredit, score.composer);
  if (score.tempo > 0)
    document.SetText(ScoreDocument::kTempo, QStringLiteral("每分钟%1拍").arg(score.tempo));
  // Notes, not chord symbols, and bar lines where the time is full, as the typing expects; the
  // switch is the user's again afterwards.
  if (context_.state.NoteMode == 0) context_.typeKey(engine::vk::Letter('K'));
  const bool autoBarLines = document.IsOn(ScoreDocument::kAutoBarLines);
  document.SetSwitch(ScoreDocument::kAutoBarLines, true);
  const page::ScorePage& page = document.Page();
  for (size_t n = 0; n < typing.noteStarts.size(); ++n) {
    // Below the page's last line nothing can be typed: the notes left are named, not lost.
    if (page.CursorTop() + page::kCellHeight > page.Height()) {
      const QString& first = score.notes[n].measure;
      const QString& last = score.notes.back().measure;
      score.LeaveOut(QStringLiteral("页面写满后的音符"),
                     first == last ? first : first + QStringLiteral("–") + last);
      break;
    }
    const size_t end =
        n + 1 < typing.noteStarts.size() ? typing.noteStarts[n + 1] : typing.keys.size();
    for (size_t k = typing.noteStarts[n]; k < end; ++k) context_.typeKey(typing.keys[k]);
  }
  document.SetSwitch(ScoreDocument::kAutoBarLines, autoBarLines);
  document.SetLyrics(musicxml::ImportTyping::WordsOn(score, context_.reader().Read(page.Image()),
                                                     document.Lyrics()));
  if (!document.Lyrics().IsEmpty()) context_.wordsPlaced();
  *message = score.LeftOutText();
  return true;
}

void MusicXmlCommands::Export() {
  const auto chosen = context_.dialogs.SaveFile(QStringLiteral("导出MusicXML"), kFilter, QString());
  if (!chosen) return;
  const QString path = musicxml::DocumentExport::WithExtension(*chosen);
  if (QFileInfo(path).isFile() &&
      !context_.dialogs.AskYesNo(QStringLiteral("已经存在的文件，是否替换原来的？"), kHint))
    return;
  if (const auto failed =
          musicxml::DocumentExport::Save(context_.document, context_.reader(), path))
    context_.dialogs.Failure(failed->Told(QStringLiteral("无法保存文件")), kHint);
}

}  // namespace tarvesh::app
