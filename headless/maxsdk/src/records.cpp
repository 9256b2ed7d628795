#include "records.h"

namespace headless::detail {

SdkRecorder& SdkRecords() {
  static SdkRecorder recorder;
  return recorder;
}

}  // namespace headless::detail

namespace headless {

using headless::detail::SdkRecords;

const std::vector<AssertRecord>& AssertReports() { return SdkRecords().asserts; }
int CustomControlsInitCount() { return SdkRecords().customControlsInits; }
HINSTANCE CustomControlsInstance() { return SdkRecords().customControlsInstance; }
void ResetSdkRecords() {
  // Interfaces still handed out are live state, not a record.
  int open = SdkRecords().openControlInterfaces;
  SdkRecords() = headless::detail::SdkRecorder();
  SdkRecords().openControlInterfaces = open;
}

}  // namespace headless
