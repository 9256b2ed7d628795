// Recorded files are read as Windows text mode delivers them. Rigs and
// trackers write CR LF; on Windows the "rt" stream hands that over as LF,
// elsewhere it arrives raw, so the readers take their characters from here
// to read both kinds of file alike everywhere (on Windows the C runtime does
// the CR LF work itself). The scanner also counts lines
// (as an editor shows them) and bytes, for messages and progress.
#ifndef MIROVA_TEXTMODE_H
#define MIROVA_TEXTMODE_H
#include <cstdint>
#include <cstdio>
#include <string>

// What became of one formatted read.
enum class Scan { kOk, kEnd, kBad };

class TextModeScanner {
 public:
  // The longest word the readers take (their buffers hold 260 characters).
  static const int kMaxWord = 259;

  // The caller owns the stream and keeps it open while the scanner reads.
  explicit TextModeScanner(FILE* stream) : stream(stream) {}

  // The next character, or EOF: a CR directly before LF is dropped (the LF
  // is returned); a lone CR stays, as text mode keeps it. Inline: it runs
  // once per character of every recording.
  inline int Get();
  // Steps back over c, the character Get gave last (one step at most).
  void Unget(int c);
  // The line of the last character read; 1 before the first.
  int Line() const { return lastLine; }
  // Bytes taken from the stream so far (a CR LF pair counts two), not
  // counting a character stepped back over. On Windows the C runtime hides
  // which line feeds were CR LF pairs, so a pair counts one until the end of
  // the file, where the count is the stream's position: exact there.
  int64_t Consumed() const { return consumed; }
  // The stream reported a read error, not merely its end.
  bool Failed() const { return ferror(stream) != 0; }

  // Reads through count line feeds; false at the end of the file.
  bool SkipLines(int count);
  // A run of characters other than white space, after any white space, line
  // breaks included ("%s"). Word() holds it (cut after kMaxWord + 1
  // characters). kBad when it is longer than kMaxWord; the whole run is read
  // all the same, so that reading goes on after it.
  Scan ReadWord();
  const std::string& Word() const { return word; }
  // A decimal integer after any white space ("%d"): its digits are read and
  // whatever follows is left. kBad when there is none or it overflows an int.
  Scan Int(int& value);
  // A word that is a decimal number (sign, digits with an optional point,
  // optional exponent) with a finite float value. Any other word is kBad,
  // read whole like every word.
  Scan Float(float& value);

 private:
  // At the end of the file, on Windows, where the stream's position is exact.
  void AtEnd();

  FILE* stream;
  std::string word;
  int pending = EOF;       // the character stepped back over
  int pendingBytes = 0;    // its bytes in the stream
  int lastBytes = 0;       // bytes of the last character Get gave
  int nextLine = 1;        // the line of the next character
  int lastLine = 1;
  int lineBeforeLast = 1;  // to step back over the last character
  int64_t consumed = 0;
};

inline int TextModeScanner::Get() {
  int c;
  if (pending != EOF) {
    c = pending;
    lastBytes = pendingBytes;
    pending = EOF;
  } else {
    c = std::getc(stream);
    if (c == EOF) {
      AtEnd();
      return EOF;
    }
    lastBytes = 1;
#ifndef _WIN32
    if (c == '\r') {
      const int next = std::getc(stream);
      if (next == '\n') {
        c = '\n';
        lastBytes = 2;
      } else if (next != EOF) {
        std::ungetc(next, stream);
      }
    }
#endif
  }
  consumed += lastBytes;
  lineBeforeLast = lastLine;
  lastLine = nextLine;
  if (c == '\n') ++nextLine;
  return c;
}

#endif
