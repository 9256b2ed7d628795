// Recorded files are read as Windows text mode delivers them. Rigs and
// trackers write CR LF; on Windows the "rt" stream hands that over as LF,
// elsewhere it arrives raw, so the readers take their characters from here
// to read both kinds of file alike everywhere.
#ifndef MIROVA_TEXTMODE_H
#define MIROVA_TEXTMODE_H
#include <cstdio>

// The next character of stream, or EOF: a CR directly before LF is dropped
// (the LF is returned); a lone CR stays, as text mode keeps it.
int GetTextModeChar(FILE* stream);

#endif
