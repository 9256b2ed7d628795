#include "readfault.h"

#include <cstdio>

void ReadFault::Note(int atLine, int atSample, int atMarker, const CStr& text) {
  if (Found()) return;
  line = atLine > 0 ? atLine : 1;
  sample = atSample;
  marker = atMarker;
  what = text;
}

CStr QuotedWord(const std::string& word) {
  const size_t kShown = 32;
  std::string text = "\"";
  for (size_t i = 0; i < word.size() && i < kShown; ++i) {
    const unsigned char c = static_cast<unsigned char>(word[i]);
    if (c >= 0x20 && c < 0x7f) {
      text += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      text += escaped;
    }
  }
  text += word.size() > kShown ? "...\"" : "\"";
  return CStr(text.c_str());
}
