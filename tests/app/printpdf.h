#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

namespace tarvesh::testing {

// The pages of a PDF file as this program writes them: each page's media box and the one image
// drawn on it, decoded from its stream. Reads only what the tests look at; anything else in the
// file is ignored.
class PrintPdf {
 public:
  struct Page {
    QString mediaBox;  // "0 0 595 842"
    QString filter;    // the image's filter, e.g. "FlateDecode"
    QImage image;      // null when the page has no image this reader can decode
  };

  explicit PrintPdf(const QString& path);

  bool Valid() const { return valid_; }
  const std::vector<Page>& Pages() const { return pages_; }
  // A page object count as a reader would make it: every "/Type /Page" object.
  int PageObjects() const { return pageObjects_; }

 private:
  // The text of object `number` between "obj" and "endobj", its stream cut off.
  QByteArray Object(int number) const;
  QByteArray Stream(int number) const;
  QImage Image(int number, QString* filter) const;

  QByteArray bytes_;
  bool valid_ = false;
  int pageObjects_ = 0;
  std::vector<Page> pages_;
};

}  // namespace tarvesh::testing
