// The motion-control utility: its class descriptor, the single static
// utility object and its panel. The utility owns the loaded motion data and
// the panel's settings for as long as the library is loaded.
#ifndef MIROVA_TZMOTION_H
#define MIROVA_TZMOTION_H
#include <max.h>
#include <utilapi.h>

#include "tzkuperdata.h"

class MotionControlUtility : public UtilityObj, public MotionProgress {
 public:
  IUtil* iu = nullptr;
  Interface* ip = nullptr;    // the host interface while the panel is open
  HWND hRollup = nullptr;     // the rollup page the host made for the panel
  HWND hPanel = nullptr;      // the panel dialog; kept after the panel closes
  char fileName[256] = "";    // full path of the last file chosen
  int fps = 30;               // samples a second of the loaded take
  MotionData motionData;
  int useEastWest = 1;
  int useTrack = 1;
  int useNorthSouth = 1;
  int useTilt = 1;
  int useRoll = 1;
  int usePan = 1;

  MotionControlUtility() = default;
  virtual ~MotionControlUtility() = default;

  void BeginEditParams(Interface* ip, IUtil* iu) override;
  void EndEditParams(Interface* ip, IUtil* iu) override;
  void DeleteThis() override {}  // the utility is a static

  // Writes the utility's state into the panel's controls.
  void Refresh();
  // Shows a status word with the busy cursor, or "<none>" and the saved
  // cursor for null; the percentage restarts at 0.
  void SetStatus(const char* text);
  // Shows fraction (0 to 1) as a whole percentage.
  void SetProgress(float fraction) override;
  // The "Open..." button: chooses a take and reads it into motionData.
  void LoadFile(HWND owner);
  // The "Apply To Camera" button: keys the single selected free camera with
  // one position and one rotation key per sample, sample i at tick
  // floor(i * 4800 / fps). Refuses, with a message and without changing
  // anything, a wrong selection, a rate outside 1..4800 and a camera whose
  // transform lacks a sub-controller. 1 when the camera was keyed.
  int ApplyToCamera();
};

// Rates (samples a second) a take can be keyed at: 1 to 4800, so that every
// sample gets a tick of its own.
bool IsValidRate(int fps);
// The rate the FPS box's text shows, read as "%d" reads it; 0 (no valid
// rate) when the text holds no number, and INT_MAX for a number too large.
int RateFromText(const char* text);

// The one utility object and its descriptor.
MotionControlUtility& GetMotionControlUtility();
ClassDesc* GetMotionControlDesc();

#endif
