#pragma once

#include <QImage>
#include <QSize>

namespace tarvesh::page {

// A picture handed to a page a row at a time, so it can be written straight into the page's
// pixels and only as far as each row's ink reaches.
class PictureRows {
 public:
  virtual ~PictureRows() = default;
  virtual QSize Size() const = 0;
  // Where the ink of row y ends: every pixel of the row from there on is white.
  virtual int InkEnd(int y) const = 0;
  // Writes the first `count` pixels of row y to `to` as Format_RGB32.
  virtual void Read(int y, int count, quint32* to) const = 0;
};

// The rows of a picture in memory.
class ImageRows : public PictureRows {
 public:
  explicit ImageRows(const QImage& image);

  QSize Size() const override { return rgb_.size(); }
  int InkEnd(int y) const override;
  void Read(int y, int count, quint32* to) const override;
  const QImage& Image() const { return rgb_; }

 private:
  const quint32* Row(int y) const {
    return reinterpret_cast<const quint32*>(rgb_.constScanLine(y));
  }

  QImage rgb_;
};

}  // namespace tarvesh::page
