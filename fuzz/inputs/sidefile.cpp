#include <QByteArray>
#include <cstdlib>

#include "document/datsidefile.h"
#include "fuzzinputs.h"

namespace tarvesh::fuzz {

void SideFileInput(const std::uint8_t* data, std::size_t size) {
  using document::DatSideFile;
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const DatSideFile side = DatSideFile::Decode(bytes);
  for (const auto* records : {&side.textLabels, &side.symbolPictures}) {
    if (*records && (*records)->size() > size_t(DatSideFile::kMaxRecords)) std::abort();
  }
  // Writing what was read over the same bytes changes none of the numbers that were read, nor
  // the extension block's fields and kept records, and the file never shrinks. (Texts of the
  // table may not survive: bytes that are no GBK decode to a replacement character.)
  const QByteArray written = side.EncodeOver(bytes);
  if (written.size() < bytes.size()) std::abort();
  const DatSideFile again = DatSideFile::Decode(written);
  if (again.barWidth != side.barWidth || again.pageNumber != side.pageNumber ||
      again.textLabels != side.textLabels || again.symbolPictures != side.symbolPictures ||
      again.credit != side.credit || again.pageNumberPattern != side.pageNumberPattern ||
      again.keptRecords != side.keptRecords || again.extensionDamaged != side.extensionDamaged)
    std::abort();
}

}  // namespace tarvesh::fuzz
