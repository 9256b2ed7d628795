#include "textmode.h"

int GetTextModeChar(FILE* stream) {
  int c = std::getc(stream);
  if (c != '\r') return c;
  int next = std::getc(stream);
  if (next == '\n') return '\n';
  if (next != EOF) std::ungetc(next, stream);
  return c;
}
