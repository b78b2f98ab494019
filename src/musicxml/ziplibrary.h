#pragma once

#include <zip.h>

#include <QString>

namespace tarvesh::musicxml {

// The functions of libzip that reading a compressed MusicXML file needs, loaded the first time
// one is read: linked to the program, libzip and the cryptography library it brings cost every
// start of the window a few milliseconds for a file kind most people never open.
struct ZipLibrary {
  decltype(&::zip_open) open = nullptr;
  decltype(&::zip_discard) discard = nullptr;
  decltype(&::zip_stat_init) statInit = nullptr;
  decltype(&::zip_stat) stat = nullptr;
  decltype(&::zip_fopen) fopen = nullptr;
  decltype(&::zip_fread) fread = nullptr;
  decltype(&::zip_fclose) fclose = nullptr;
  decltype(&::zip_get_num_entries) entries = nullptr;
  decltype(&::zip_get_name) name = nullptr;

  // The library, loaded once for the whole run; nothing when it cannot be, with `error` saying
  // why in the user's words.
  static const ZipLibrary* Get(QString* error);
};

}  // namespace tarvesh::musicxml
