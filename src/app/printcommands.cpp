#include "app/printcommands.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>

#include "kit/controlregistry.h"
#include "kit/dialogs.h"
#include "publish/pageprinter.h"

namespace tarvesh::app {

namespace {
const QString kHint = QStringLiteral("提示");
// The free row of the command column, under "批量导出图片"; the two buttons end where the
// column's full-width buttons end.
constexpr int kRowTop = 168;
constexpr int kButtonWidth = 57;
constexpr int kButtonHeight = 17;
constexpr int kPrintLeft = 8;
constexpr int kPdfLeft = 72;

QString WithPdfExtension(const QString& path) {
  return QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0
             ? path
             : path + QStringLiteral(".pdf");
}
}  // namespace

const QString PrintCommands::kPdfFilter = QStringLiteral("PDF(*.pdf)|*.pdf");

PrintCommands::PrintCommands(const Context& context)
    : QObject(context.commandColumn), context_(context) {
  auto button = [this](const QString& name, const QString& text, int left) {
    auto* b = new QPushButton(text, context_.commandColumn);
    b->setObjectName(name);
    b->setGeometry(left, kRowTop, kButtonWidth, kButtonHeight);
    context_.controls.Add(b);
    return b;
  };
  command16_ = button(QStringLiteral("Command16"), QStringLiteral("打印"), kPrintLeft);
  command17_ = button(QStringLiteral("Command17"), QStringLiteral("导出PDF"), kPdfLeft);
  connect(command16_, &QPushButton::clicked, this, [this] {
    Print();
    context_.focusPage();
  });
  connect(command17_, &QPushButton::clicked, this, [this] {
    ExportPdf();
    context_.focusPage();
  });
}

void PrintCommands::Print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  const double margin = publish::PagePrinter::kMarginMm;
  printer.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
  if (!context_.dialogs.PrintSetup(printer)) return;
  publish::PagePrinter sheets(printer);
  if (!context_.addSheet(sheets) || !sheets.Finish())
    context_.dialogs.Failure(QStringLiteral("无法打印"), kHint);
}

void PrintCommands::ExportPdf() {
  const auto chosen = context_.dialogs.SaveFile(QStringLiteral("导出PDF"), kPdfFilter, QString());
  if (!chosen) return;
  const QString path = WithPdfExtension(*chosen);
  if (QFileInfo(path).isFile() &&
      !context_.dialogs.AskYesNo(QStringLiteral("已经存在的文件，是否替换原来的？"), kHint))
    return;
  publish::PagePrinter sheets(path);
  if (context_.addSheet(sheets) && sheets.Finish()) return;
  const QString what = QStringLiteral("无法保存文件");
  const std::optional<document::FileError> error = sheets.WriteError();
  context_.dialogs.Failure(
      error ? error->Told(what) : what + QStringLiteral("：") + QDir::toNativeSeparators(path),
      kHint);
}

}  // namespace tarvesh::app
