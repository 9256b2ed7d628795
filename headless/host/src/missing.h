// How the headless host fails loudly (internal to the host).
#ifndef HEADLESS_HOST_MISSING_H
#define HEADLESS_HOST_MISSING_H
#include <cstdio>
#include <cstdlib>

namespace headless {

// Stops the program: the host lacks an operation that was called.
[[noreturn]] inline void Missing(const char* operation) {
  std::fprintf(stderr, "stand-in: %s is not provided\n", operation);
  std::abort();
}

}  // namespace headless

#endif
