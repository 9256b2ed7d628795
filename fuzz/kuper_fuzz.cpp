// Feeds arbitrary bytes to the motion file reader as a stream. Boxes shown for
// refused headers are only recorded by the headless platform; forgetting them
// every run keeps memory flat.
#include "tzkuperdata.h"

#include <headless.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  headless::ResetRecords();
  // fmemopen refuses an empty buffer on older C libraries; an empty file then
  // comes from tmpfile.
  std::vector<uint8_t> bytes(data, data + size);
  FILE* stream = size > 0 ? fmemopen(bytes.data(), size, "r") : tmpfile();
  if (stream == nullptr) return 0;
  MotionData motion;
  motion.Read(stream, nullptr);
  fclose(stream);
  return 0;
}
