#include "musicxml/ziplibrary.h"

#include <QLibrary>

namespace tarvesh::musicxml {

namespace {

struct Loaded {
  ZipLibrary functions;
  QString error;
};

Loaded Load(QLibrary* library) {
  Loaded loaded;
  ZipLibrary& f = loaded.functions;
  const auto resolve = [&](auto& function, const char* symbol) {
    function =
        reinterpret_cast<std::remove_reference_t<decltype(function)>>(library->resolve(symbol));
    return function != nullptr;
  };
  const bool whole = library->load() && resolve(f.open, "zip_open") &&
                     resolve(f.discard, "zip_discard") && resolve(f.statInit, "zip_stat_init") &&
                     resolve(f.stat, "zip_stat") && resolve(f.fopen, "zip_fopen") &&
                     resolve(f.fread, "zip_fread") && resolve(f.fclose, "zip_fclose") &&
                     resolve(f.entries, "zip_get_num_entries") && resolve(f.name, "zip_get_name");
  if (!whole) {
    loaded.error = QStringLiteral("无法载入解压程序库 %1（%2），安装不完整。")
                       .arg(QStringLiteral(TARVESH_LIBZIP_SONAME), library->errorString());
    loaded.functions = ZipLibrary();
  }
  return loaded;
}

}  // namespace

const ZipLibrary* ZipLibrary::Get(QString* error) {
  // Kept loaded for the rest of the run: destroying a QLibrary does not unload it.
  static QLibrary library(QStringLiteral("zip"), TARVESH_LIBZIP_SOVERSION);
  static const Loaded loaded = Load(&library);
  if (!loaded.error.isEmpty()) {
    if (error) *error = loaded.error;
    return nullptr;
  }
  return &loaded.functions;
}

}  // namespace tarvesh::musicxml
