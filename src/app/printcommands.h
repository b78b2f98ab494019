#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QPushButton;
class QWidget;

namespace tarvesh::kit {
class ControlRegistry;
class Dialogs;
}  // namespace tarvesh::kit
namespace tarvesh::publish {
class PagePrinter;
}

namespace tarvesh::app {

// "打印" (`Command16`) and "导出PDF" (`Command17`) in the command column: the page as shown, at
// print resolution, on an A4 sheet of the printer the print dialog chose, or on the one A4 page
// of a PDF file.
class PrintCommands : public QObject {
  Q_OBJECT

 public:
  static const QString kPdfFilter;

  struct Context {
    kit::ControlRegistry& controls;
    kit::Dialogs& dialogs;
    QWidget* commandColumn;
    // Adds the page as a person sees it, at print resolution, on a sheet of its own
    // (Form1::AddPrintSheet).
    std::function<bool(publish::PagePrinter&)> addSheet;
    std::function<void()> focusPage;
  };

  explicit PrintCommands(const Context& context);

  QPushButton* PrintButton() const { return command16_; }
  QPushButton* PdfButton() const { return command17_; }

  void Print();
  void ExportPdf();

 private:
  Context context_;
  QPushButton* command16_;
  QPushButton* command17_;
};

}  // namespace tarvesh::app
