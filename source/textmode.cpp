#include "textmode.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// White space as "%s" and "%f" skip it in the C locale, without a call per character.
bool IsSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits at p, taken into significand while it holds them (up to 19);
// exact turns false when there are more. scale counts the digits taken
// after the point. How many digits there were.
int TakeDigits(const char*& p, const char* end, bool afterPoint, uint64_t& significand, int& scale, bool& exact) {
  const char* start = p;
  for (; p < end && IsDigit(*p); ++p) {
    if (significand >= 1000000000000000000u) {
      exact = false;
      continue;
    }
    significand = significand * 10 + static_cast<unsigned>(*p - '0');
    scale -= afterPoint;
  }
  return static_cast<int>(p - start);
}

// 10^-10 .. 10^10, indexed by the power + 10.
const double kPowersOfTen[] = {1e-10, 1e-9, 1e-8, 1e-7, 1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0,
                               1e1,   1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10};

// significand x 10^scale rounded to the nearest float, as strtof rounds it,
// for the numbers recorders write: up to 2^24 in the significand, up to ten
// places either way. The product in double is within 2^-52 of the true
// value (the power and the product are each rounded once at most), and the
// true value, n x 5^k x 2^(+-k) with n and 5^k at most 2^24, is a float or lies
// more than 2^-48 from the midpoint between two: rounding the product to
// float rounds the true value. The x87's wider registers only shrink the error.
bool FastFloat(uint64_t significand, int scale, float& value) {
  while (significand > (1u << 24) && significand % 10 == 0) {
    significand /= 10;
    ++scale;
  }
  if (significand > (1u << 24) || scale < -10 || scale > 10) return false;
  value = static_cast<float>(static_cast<double>(significand) * kPowersOfTen[scale + 10]);
  return true;
}

// A decimal number as ReadDecimal takes it apart.
struct Decimal {
  uint64_t significand = 0;
  int scale = 0;
  bool negative = false;
  bool exact = true;  // every digit is in significand
};

// Reads a sign, digits with an optional point (one digit at least) and an
// optional exponent with digits from p on, up to the first character that
// cannot go on: where that is, or null when there is no such number at p.
const char* ReadDecimal(const char* p, const char* end, Decimal& number) {
  number.negative = p < end && *p == '-';
  if (p < end && (*p == '+' || *p == '-')) ++p;
  int digits = TakeDigits(p, end, false, number.significand, number.scale, number.exact);
  if (p < end && *p == '.') digits += TakeDigits(++p, end, true, number.significand, number.scale, number.exact);
  if (digits == 0) return nullptr;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negativeExponent = p < end && *p == '-';
    if (p < end && (*p == '+' || *p == '-')) ++p;
    int exponent = 0;
    const char* start = p;
    for (; p < end && IsDigit(*p); ++p) exponent = std::min(exponent * 10 + (*p - '0'), 100000);
    if (p == start) return nullptr;
    number.scale += negativeExponent ? -exponent : exponent;
  }
  return p;
}

// The float of the number in [begin, end) (kMaxWord characters at most),
// which ReadDecimal took apart; kBad when no float holds it.
Scan ToFloat(const Decimal& number, const char* begin, const char* end, float& value) {
  float parsed = 0.0f;
  if (number.significand == 0 || (number.exact && FastFloat(number.significand, number.scale, parsed))) {
    value = number.negative ? -parsed : parsed;
    return Scan::kOk;
  }
  char text[TextModeScanner::kMaxWord + 1];
  std::memcpy(text, begin, static_cast<size_t>(end - begin));
  text[end - begin] = '\0';
  parsed = std::strtof(text, nullptr);
  if (!std::isfinite(parsed)) return Scan::kBad;
  value = parsed;
  return Scan::kOk;
}

}  // namespace

Scan DecimalWord(const char* begin, const char* end, float& value) {
  Decimal number;
  if (end - begin > TextModeScanner::kMaxWord || ReadDecimal(begin, end, number) != end) return Scan::kBad;
  return ToFloat(number, begin, end, value);
}

int64_t TellStream(FILE* stream) {
#ifdef _WIN32
  return _ftelli64(stream);
#else
  return ftello(stream);
#endif
}

bool SeekStream(FILE* stream, int64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(stream, offset, origin) == 0;
#else
  return fseeko(stream, offset, origin) == 0;
#endif
}

bool TextModeScanner::Refill() {
  const std::ptrdiff_t kept = std::min<std::ptrdiff_t>(next - block, kHistory);
  std::memmove(block, next - kept, static_cast<size_t>(kept));
  blockStart += (next - block) - kept;
  next = block + kept;
  limit = next + std::fread(next, 1, kBlock, stream);
  return limit > next;
}

void TextModeScanner::AtEnd() {
#ifdef _WIN32
  // The text-mode buffer is drained here, so the position is the file's own.
  const int64_t position = TellStream(stream);
  if (position >= 0) blockStart = position - (next - block);
#endif
}

void TextModeScanner::Unget(int c) {
  if (c == EOF) return;
  next -= lastBytes;
  if (c == '\n') --lineFeeds;
}

int64_t TextModeScanner::BytesLeft() {
#ifdef _WIN32
  return -1;
#else
  const int64_t at = TellStream(stream);
  if (at < 0 || !SeekStream(stream, 0, SEEK_END)) return -1;
  const int64_t end = TellStream(stream);
  if (!SeekStream(stream, at, SEEK_SET)) return -1;
  return std::max<int64_t>(end - at, 0) + (limit - next);
#endif
}

bool TextModeScanner::SkipLines(int count) {
  while (count > 0) {
    const int c = Get();
    if (c == EOF) return false;
    if (c == '\n') --count;
  }
  return true;
}

// Locals, not members, in the loops: a char read may alias any member, which
// would make each one go through memory.
void TextModeScanner::SkipSpaceInBlock() {
  char* p = next;
  int feeds = 0;
  for (; p < limit && IsSpace(static_cast<unsigned char>(*p)); ++p) feeds += *p == '\n';
  lineFeeds += feeds;
  next = p;
}

bool TextModeScanner::WordInBlock(const char*& begin, const char*& end) {
  SkipSpaceInBlock();
  char* after = next;
  while (after < limit && !IsSpace(static_cast<unsigned char>(*after))) ++after;
  if (after == limit) return false;
  begin = next;
  end = after;
  next = after;
  return true;
}

Scan TextModeScanner::ReadWordAcrossBlocks() {
  word.clear();
  int c = Get();
  while (IsSpace(c)) c = Get();
  if (c == EOF) return Scan::kEnd;
  size_t length = 0;
  for (; c != EOF && !IsSpace(c); c = Get(), ++length) {
    if (length <= kMaxWord) word += static_cast<char>(c);
  }
  Unget(c);
  return length > kMaxWord ? Scan::kBad : Scan::kOk;
}

void TextModeScanner::KeepWord(const char* begin, const char* end) {
  word.assign(begin, std::min<size_t>(static_cast<size_t>(end - begin), kMaxWord + 1));
}

Scan TextModeScanner::ReadWord() {
  const char *begin, *end;
  if (!WordInBlock(begin, end)) return ReadWordAcrossBlocks();
  KeepWord(begin, end);
  return end - begin > kMaxWord ? Scan::kBad : Scan::kOk;
}

Scan TextModeScanner::Int(int& value) {
  int c = Get();
  while (IsSpace(c)) c = Get();
  if (c == EOF) return Scan::kEnd;
  const bool negative = c == '-';
  if (c == '+' || c == '-') c = Get();
  // Saturates past any int, so that a long run of digits stays refused.
  const long long kPastInt = static_cast<long long>(INT_MAX) + 2;
  long long magnitude = 0;
  int digits = 0;
  for (; c != EOF && IsDigit(static_cast<char>(c)); c = Get(), ++digits) {
    magnitude = std::min(magnitude * 10 + (c - '0'), kPastInt);
  }
  Unget(c);
  const long long signedValue = negative ? -magnitude : magnitude;
  if (digits == 0 || signedValue < INT_MIN || signedValue > INT_MAX) return Scan::kBad;
  value = static_cast<int>(signedValue);
  return Scan::kOk;
}

// Most words are numbers that end inside the block: they are read where
// they lie, in one pass. Any other word is read a character at a time.
Scan TextModeScanner::Float(float& value) {
  SkipSpaceInBlock();
  const char* begin = next;
  Decimal number;
  const char* end = ReadDecimal(begin, limit, number);
  if (end == nullptr || end == limit || !IsSpace(static_cast<unsigned char>(*end)) || end - begin > kMaxWord) {
    const Scan scan = ReadWordAcrossBlocks();
    return scan == Scan::kOk ? DecimalWord(word.data(), word.data() + word.size(), value) : scan;
  }
  next += end - begin;
  const Scan scan = ToFloat(number, begin, end, value);
  if (scan == Scan::kBad) KeepWord(begin, end);
  return scan;
}
