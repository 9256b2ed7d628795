// Where the last read of a recorded file (a motion take, a tracker
// recording) first went wrong, kept on the record so that a caller can point
// the user at the place. The message boxes the readers show stay as they are;
// this is the same fault with its place as data.
#ifndef MIROVA_READFAULT_H
#define MIROVA_READFAULT_H
#include <max.h>

#include <string>

struct ReadFault {
  // Lines count as an editor shows them: the first is 1, and a CR LF pair
  // ends one line. 0 while the read found no fault.
  int line = 0;
  int sample = -1;  // index (from 0) of the sample being read, or -1
  int marker = -1;  // index of the tracker marker whose field was bad, or -1
  CStr what;        // what was wrong, one sentence without the line

  bool Found() const { return line > 0; }
  // Keeps the first fault of a read; later ones only follow from it or are
  // shown in their own boxes.
  void Note(int atLine, int atSample, int atMarker, const CStr& text);
};

// A word of the file for a message: in quotes, bytes that do not print as
// \xNN, and cut with "..." past 32 characters.
CStr QuotedWord(const std::string& word);

#endif
