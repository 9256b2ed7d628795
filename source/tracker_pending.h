// Until the object's rollups arrive: the edit state the Face Tracker page reads.
#ifndef MIROVA_TRACKER_PENDING_H
#define MIROVA_TRACKER_PENDING_H
#include <max.h>
extern IObjParam* ip;
extern HWND hTrackerRollup;
#endif
