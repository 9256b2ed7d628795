// How the SDK stand-in fails loudly (internal to maxsdk).
#ifndef HEADLESS_SDK_MISSING_H
#define HEADLESS_SDK_MISSING_H
#include <cstdio>
#include <cstdlib>

namespace headless::detail {

// Stops the program: the stand-in lacks an operation that was called.
[[noreturn]] inline void Missing(const char* operation) {
  std::fprintf(stderr, "stand-in: %s is not provided\n", operation);
  std::abort();
}

}  // namespace headless::detail

#endif
