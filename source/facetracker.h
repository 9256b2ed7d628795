// The face-tracking state of an expression object and the derivation of its
// expression channels from a loaded tracker recording.
//
// Each ExpressionObject holds one TrackerInput by value, made and destroyed
// with it; nothing of it is saved with the scene, and a copied or loaded
// object starts with an empty one.
#ifndef FACETRACKER_H
#define FACETRACKER_H

#include "ftdata.h"
#include "ftview.h"

class ExpressionObject;

class TrackerInput {
 public:
  TrackerData data;  // the loaded recording, stabilised; empty at construction
  FTView view;       // shows data once "Display" was pressed; no window at construction
  char path[256];    // full path of the file chosen last, or ""

  TrackerInput();
  ~TrackerInput();
  TrackerInput(const TrackerInput&) = delete;
  TrackerInput& operator=(const TrackerInput&) = delete;

  // Replaces every key of the object's 22 parameters with keys derived from
  // data: for every sample, at its own time in ticks, one key on each of the
  // eleven percentage parameters (fractions 0..1, each measurement scaled to
  // its range over the whole recording and eased); the scales end without
  // keys. Needs the 13 face markers; when one is missing, says which in a
  // message box and changes nothing. Shows the host's progress bar
  // "Applying..." and restores the user's animate mode afterwards.
  void Apply(ExpressionObject* object);
};

// The Face Tracker rollup (dialog 1067): its procedure, bound to the edited
// ExpressionObject through GWLP_USERDATA, and its buttons.
INT_PTR CALLBACK FaceTrackerDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// "Open...": asks for a .trc file, reads and stabilises it into the object's
// recording and shows its name and length; a file that cannot be opened
// clears the recording.
void Open(HWND window);
// "Display": opens (or shows again) the object's tracker view, owned by the rollup.
void Display(HWND window);

// What the rollup shows, shared by every object: the file most recently
// opened by any of them ("<None>" and 0 after a failed open or none).
extern CStr displayedFileName;
extern int displayedFrames;
// The last sample's time in whole frames; 0 for a recording without samples.
int FramesOf(const TrackerData& data, int ticksPerFrame);

#endif
