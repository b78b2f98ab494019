#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvesh::fuzz {

// One input of each reader the program meets from outside: each must come back, whatever the
// bytes, without a crash, a hang or a sanitizer report. The fuzzers call them with generated
// inputs; the regression tests replay the corpora and every input that once failed.

// A script file for `tarvesh --script`.
void ScriptReaderInput(const std::uint8_t* data, std::size_t size);
// A GBK text file beside the program, split into delimited fields.
void DelimitedFieldsInput(const std::uint8_t* data, std::size_t size);
// A page picture being opened: decoded and made the page's image.
void PagePictureInput(const std::uint8_t* data, std::size_t size);
// A side file being read and applied.
void SideFileInput(const std::uint8_t* data, std::size_t size);

}  // namespace tarvesh::fuzz
