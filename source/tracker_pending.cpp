#include "tracker_pending.h"
IObjParam* ip = nullptr;
HWND hTrackerRollup = nullptr;
