// libFuzzer entry for the skin image parser (tests/skin/fuzz_skin_format.sh builds and runs it).
#include <cstddef>
#include <cstdint>

#include "skin/skin_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ParseSkin(data, size);
  return 0;
}
