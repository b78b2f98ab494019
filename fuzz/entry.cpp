// libFuzzer's entry for one reader; the build names the reader in TARVESH_FUZZ_INPUT.
#include "inputs/fuzzinputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tarvesh::fuzz::TARVESH_FUZZ_INPUT(data, size);
  return 0;
}
