// Recorded files are read as Windows text mode delivers them. Rigs and
// trackers write CR LF; on Windows the "rt" stream hands that over as LF,
// elsewhere it arrives raw, so the readers take their characters from here
// to read both kinds of file alike everywhere (on Windows the C runtime does
// the CR LF work itself). The scanner also counts lines
// (as an editor shows them) and bytes, for messages and progress.
//
// The scanner takes the stream in blocks: the stream's own position runs
// ahead of what has been read, so a reader's caller only closes it after.
#ifndef MIROVA_TEXTMODE_H
#define MIROVA_TEXTMODE_H
#include <cstdint>
#include <cstdio>
#include <string>

// What became of one formatted read.
enum class Scan { kOk, kEnd, kBad };

// 64-bit stream positions on every platform (-1 or false on failure).
int64_t TellStream(FILE* stream);
bool SeekStream(FILE* stream, int64_t offset, int origin);

class TextModeScanner {
 public:
  // The longest word the readers take (their buffers hold 260 characters).
  static const int kMaxWord = 259;
  // The bytes taken from the stream at a time.
  static const int kBlock = 16384;

  // The caller owns the stream and keeps it open while the scanner reads.
  explicit TextModeScanner(FILE* stream) : stream(stream) {}
  TextModeScanner(const TextModeScanner&) = delete;
  TextModeScanner& operator=(const TextModeScanner&) = delete;

  // The next character, or EOF: a CR directly before LF is dropped (the LF
  // is returned); a lone CR stays, as text mode keeps it. Inline: it runs
  // once per character of every recording.
  inline int Get();
  // Steps back over c, the character Get gave last (one step at most).
  void Unget(int c);
  // The line of the last character read; 1 before the first.
  int Line() const { return next > block && next[-1] == '\n' ? lineFeeds : lineFeeds + 1; }
  // Bytes taken from the stream so far (a CR LF pair counts two), not
  // counting a character stepped back over. On Windows the C runtime hides
  // which line feeds were CR LF pairs, so a pair counts one until the end of
  // the file, where the count is the stream's position: exact there.
  int64_t Consumed() const { return blockStart + (next - block); }
  // The stream reported a read error, not merely its end.
  bool Failed() const { return ferror(stream) != 0; }
  // The bytes from here to the end of the stream; -1 when it cannot seek,
  // and on Windows, where text mode's positions are not byte counts and
  // seeking mid-read loses the stream's place.
  int64_t BytesLeft();

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
  // A word that is a decimal number (see DecimalWord). Any other word is
  // kBad, read whole like every word, and then in Word().
  Scan Float(float& value);

 private:
  static const int kHistory = 4;  // kept before next when the block moves on, for Unget and Line

  // Takes the next block of the stream once every character before has
  // been read; false at its end.
  bool Refill();
  // At the end of the file, on Windows, where the stream's position is exact.
  void AtEnd();
  // Reads the white space before the next word, as far as the block holds it.
  void SkipSpaceInBlock();
  // The next word, when it ends inside the block: white space before it is
  // read, and so is the word. False, having read only white space, when the
  // block ends first.
  bool WordInBlock(const char*& begin, const char*& end);
  // ReadWord a character at a time, across blocks and to the end of the file.
  Scan ReadWordAcrossBlocks();
  // The word for Word(), cut as ReadWord cuts it.
  void KeepWord(const char* begin, const char* end);

  FILE* stream;
  std::string word;
  char block[kHistory + kBlock];
  char* next = block;      // the next character to read
  char* limit = block;     // the end of what the block holds
  int64_t blockStart = 0;  // the stream's bytes before block[0]
  int lineFeeds = 0;       // read so far
  int lastBytes = 0;       // bytes of the last character Get gave
};

// [begin, end) as "%f" reads a whole word and strtof converts it: a sign,
// digits with an optional point (one digit at least), an optional exponent
// with digits; at most kMaxWord characters; a value a float holds (finite,
// rounded to nearest). Hexadecimal, infinities and not-a-number are not the
// recorders' numbers. kBad for anything else.
Scan DecimalWord(const char* begin, const char* end, float& value);

inline int TextModeScanner::Get() {
  if (next == limit && !Refill()) {
    AtEnd();
    return EOF;
  }
  int c = static_cast<unsigned char>(*next++);
  lastBytes = 1;
#ifndef _WIN32
  if (c == '\r' && (next < limit || Refill()) && *next == '\n') {
    ++next;
    c = '\n';
    lastBytes = 2;
  }
#endif
  if (c == '\n') ++lineFeeds;
  return c;
}

#endif
