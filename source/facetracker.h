// The face-tracking state of an expression object and the derivation of its
// expression channels from a loaded tracker recording.
//
// Each ExpressionObject holds one TrackerInput by value, made and destroyed
// with it; nothing of it is saved with the scene, and a copied or loaded
// object starts with an empty one.
#ifndef FACETRACKER_H
#define FACETRACKER_H

#include "ftdata.h"

class ExpressionObject;

class TrackerInput {
 public:
  TrackerData data;  // the loaded recording, stabilised; empty at construction
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

#endif
