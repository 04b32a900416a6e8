// Shared by the fuzz targets: a property check that stops the run with a message, so
// libFuzzer records the input that broke it as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

#define QR_FUZZ_CHECK(condition)                                                         \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)
