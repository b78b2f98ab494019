#include <QByteArray>
#include <cstdlib>

#include "document/textfields.h"
#include "fuzzinputs.h"

namespace tarvesh::fuzz {

void DelimitedFieldsInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const QStringList fields = document::SplitDelimitedFields(bytes);
  // No field holds a line end: fields never run across lines.
  for (const QString& field : fields) {
    if (field.contains(u'\n') && !bytes.contains('"')) std::abort();
  }
  // Whatever decodes encodes again.
  (void)document::EncodeGbk(document::DecodeGbk(bytes));
}

}  // namespace tarvesh::fuzz
