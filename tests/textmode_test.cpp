// Numbers as the readers have always converted them: a word that is wholly
// a decimal number, given to strtof, taken when finite. The scanner converts
// most words where they lie in its block; whatever the word and wherever it
// lies (inside a block, across two, at the end of the file), it must give
// the same float, bit for bit, the same refusal and the same line.
#include "textmode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "text_file.h"

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

size_t SkipDigits(const std::string& s, size_t& p) {
  const size_t start = p;
  while (p < s.size() && s[p] >= '0' && s[p] <= '9') ++p;
  return p - start;
}

// The conversion the readers were built on, kept as the reference.
Scan ReferenceFloat(const std::string& word, float& value) {
  if (word.size() > TextModeScanner::kMaxWord) return Scan::kBad;
  size_t p = 0;
  if (p < word.size() && (word[p] == '+' || word[p] == '-')) ++p;
  size_t digits = SkipDigits(word, p);
  if (p < word.size() && word[p] == '.') digits += SkipDigits(word, ++p);
  if (digits == 0) return Scan::kBad;
  if (p < word.size() && (word[p] == 'e' || word[p] == 'E')) {
    ++p;
    if (p < word.size() && (word[p] == '+' || word[p] == '-')) ++p;
    if (SkipDigits(word, p) == 0) return Scan::kBad;
  }
  if (p != word.size()) return Scan::kBad;
  const float parsed = std::strtof(word.c_str(), nullptr);
  if (!std::isfinite(parsed)) return Scan::kBad;
  value = parsed;
  return Scan::kOk;
}

uint32_t Bits(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

// Each line's words are read and compared; lines may hold several words,
// CR LF, lone CRs and no final line feed.
const std::vector<std::string> kLines = {
    // Rounding: float midpoints, ties to even, the edges of the float range.
    "16777216 16777217 16777218 16777219 33554435 9007199254740993 4294967296\n",
    // Products that a double rounds onto a float midpoint, and a second rounding misses.
    "3602880775638221e1 3602880346141491e1\n",
    "1.000000059604644775390625 1.0000000596046447753906250000001 0.30000001192092895507812500\n",
    "3.4028235e38 3.40282347e+38 3.4028235677973366e38 3.402823567797337e38 -3.4028234663852886e38\n",
    "1e-45 1.4e-45 7e-46 7.1e-46 1e-46 1e-50 1.17549435e-38 1.1754942e-38\r\n",
    "0.1 0.2 0.3 0.7 1e10 1e11 1e-10 1e-11 9999999999 16777216e-10 0.0000000001 12345678.9 1677721.7\n",
    "167772170e-1 2e-10 3e10 1.5e1 167772.16e2 100000000000000000000000000000 0.000000000000000000000000001\n",
    "-0 +0 -0.0 0e99999 -0e-99999 000.000 .5 5. -.5e1 +.5E+1 1E+0 00000000000000000000000000001.5\n",
    "123456789012345678901234567890e-20 1.2345678901234567890123456789 8388607.5 8388608.5 0.50000000000\n",
    // Refused: not numbers, not decimal, not finite, not whole.
    "nan -nan inf -INFINITY 1e39 -3.5e38 3.4028236e38 1e99999 0x1p3 0X10 1e 1e+ e5 .e5 . - +- --1\n",
    "1.2.3 1,2 5# 1e5.0 12abc \xff 1\xff 0.5\x01\n",
    std::string("5\0 6\t-7\n", 8),
    "\t  8\r9\r\n10\r\n\r\n\n11",
    "\n12 13\r\n",
    std::string(259, '7') + " " + std::string(260, '7') + " " + std::string(300, '1') + "x\n",
    "0." + std::string(257, '3') + " 0." + std::string(258, '3') + "\n",
};

struct Word {
  std::string text;
  int line;  // of its last character
};

// The words of a text, split naively at white space, each with its line.
std::vector<Word> WordsOf(const std::string& text) {
  std::vector<Word> words;
  int line = 1;
  for (size_t p = 0; p < text.size();) {
    if (IsSpace(text[p])) {
      line += text[p++] == '\n';
      continue;
    }
    const size_t start = p;
    while (p < text.size() && !IsSpace(text[p])) ++p;
    words.push_back({text.substr(start, p - start), line});
  }
  return words;
}

TEST(TextModeScanner, FloatReadsEveryWordAsTheReferenceDoes) {
  // Each line at the start of a block, and placed so that it crosses into the next.
  const std::string pads[] = {"", std::string(TextModeScanner::kBlock - 5, ' '),
                              std::string(TextModeScanner::kBlock - 2, '\n'),
                              std::string(TextModeScanner::kBlock - 1, ' ') + "\r"};
  for (const std::string& line : kLines) {
    for (size_t offset = 0; offset < std::size(pads); ++offset) {
      SCOPED_TRACE(testing::Message() << "line " << line.substr(0, 40) << ", placement " << offset);
      const std::string text = pads[offset] + line;
      text_file::TempFile file(text);
      TextModeScanner scan(file.get());
      for (const Word& word : WordsOf(text)) {
        SCOPED_TRACE(word.text.substr(0, 40));
        float expected = 0.0f, got = 0.0f;
        const Scan reference = ReferenceFloat(word.text, expected);
        ASSERT_EQ(scan.Float(got), reference);
        if (reference == Scan::kOk) {
          EXPECT_EQ(Bits(got), Bits(expected)) << got << " != " << expected;
        } else {
          EXPECT_EQ(scan.Word(), word.text.substr(0, TextModeScanner::kMaxWord + 1));
        }
        EXPECT_EQ(scan.Line(), word.line);
      }
      float unused;
      EXPECT_EQ(scan.Float(unused), Scan::kEnd);
    }
  }
}

// Decimal words of every shape the rounding could care about: up to 30
// digits, the point anywhere, exponents across the float's range.
std::string RandomDecimal(std::mt19937& random) {
  auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  std::string word = below(3) == 0 ? "-" : "";
  const int digits = 1 + below(below(4) == 0 ? 30 : 10);
  const int point = below(digits + 2) - 1;
  for (int i = 0; i < digits; ++i) {
    if (i == point) word += '.';
    word += static_cast<char>('0' + (i == 0 && below(2) ? 1 + below(9) : below(10)));
  }
  if (below(3) == 0) word += "e" + std::to_string(below(90) - 50);
  return word;
}

TEST(TextModeScanner, DecimalWordMatchesTheReferenceOnRandomNumbers) {
  std::mt19937 random(20240607);
  for (int i = 0; i < 200000; ++i) {
    const std::string word = RandomDecimal(random);
    float expected = 0.0f, got = 0.0f;
    const Scan reference = ReferenceFloat(word, expected);
    ASSERT_EQ(DecimalWord(word.data(), word.data() + word.size(), got), reference) << word;
    if (reference == Scan::kOk) {
      ASSERT_EQ(Bits(got), Bits(expected)) << word;
    }
  }
}

}  // namespace
