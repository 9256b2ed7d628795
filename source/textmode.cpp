#include "textmode.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// White space as "%s" and "%f" skip it in the C locale, without a call per character.
bool IsSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digits at p, skipped; how many there were.
size_t SkipDigits(const std::string& s, size_t& p) {
  const size_t start = p;
  while (p < s.size() && IsDigit(s[p])) ++p;
  return p - start;
}

// The whole of s is a decimal number as "%f" reads one; hexadecimal,
// infinities and not-a-number are not the recorders' numbers.
bool IsDecimalNumber(const std::string& s) {
  size_t p = 0;
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
  size_t digits = SkipDigits(s, p);
  if (p < s.size() && s[p] == '.') digits += SkipDigits(s, ++p);
  if (digits == 0) return false;
  if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
    ++p;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
    if (SkipDigits(s, p) == 0) return false;
  }
  return p == s.size();
}

}  // namespace

void TextModeScanner::AtEnd() {
#ifdef _WIN32
  // The text-mode buffer is drained here, so the position is the file's own.
  const int64_t position = _ftelli64(stream);
  if (position >= 0) consumed = position;
#endif
}

void TextModeScanner::Unget(int c) {
  if (c == EOF) return;
  pending = c;
  pendingBytes = lastBytes;
  consumed -= lastBytes;
  lastLine = lineBeforeLast;
  if (c == '\n') --nextLine;
}

bool TextModeScanner::SkipLines(int count) {
  while (count > 0) {
    const int c = Get();
    if (c == EOF) return false;
    if (c == '\n') --count;
  }
  return true;
}

Scan TextModeScanner::ReadWord() {
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

Scan TextModeScanner::Float(float& value) {
  const Scan scan = ReadWord();
  if (scan != Scan::kOk) return scan;
  if (!IsDecimalNumber(word)) return Scan::kBad;
  const float parsed = std::strtof(word.c_str(), nullptr);
  if (!std::isfinite(parsed)) return Scan::kBad;
  value = parsed;
  return Scan::kOk;
}
