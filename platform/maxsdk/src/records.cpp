#include "records.h"

namespace standin {

SdkRecorder& SdkRecords() {
  static SdkRecorder recorder;
  return recorder;
}

}  // namespace standin

namespace headless {

using standin::SdkRecords;

const std::vector<AssertRecord>& AssertReports() { return SdkRecords().asserts; }
int CustomControlsInitCount() { return SdkRecords().customControlsInits; }
HINSTANCE CustomControlsInstance() { return SdkRecords().customControlsInstance; }
void ResetSdkRecords() {
  // Interfaces still handed out are live state, not a record.
  int open = SdkRecords().openControlInterfaces;
  SdkRecords() = standin::SdkRecorder();
  SdkRecords().openControlInterfaces = open;
}

}  // namespace headless
