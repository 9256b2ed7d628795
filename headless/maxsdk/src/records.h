// The record store behind headless_sdk.h, written by the host's utility
// functions (internal to maxsdk).
#ifndef HEADLESS_SDK_RECORDS_H
#define HEADLESS_SDK_RECORDS_H
#include <headless_sdk.h>

namespace headless::detail {

struct SdkRecorder {
  std::vector<headless::AssertRecord> asserts;
  int customControlsInits = 0;
  HINSTANCE customControlsInstance = nullptr;
  int openControlInterfaces = 0;
  int unmatchedControlReleases = 0;
};

SdkRecorder& SdkRecords();

}  // namespace headless::detail

#endif
