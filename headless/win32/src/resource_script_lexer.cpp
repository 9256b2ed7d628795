// The tokens of a preprocessed resource script: words, numbers with the C
// suffixes, quoted strings and single punctuation characters; comments,
// white space and preprocessor lines (#pragma, line markers) are skipped.
#include <cctype>
#include <cstdlib>

#include "resource_script_parser.h"

namespace headless::detail {

namespace {

class Lexer {
 public:
  explicit Lexer(const std::string& t) : text(t) {}
  std::vector<ScriptToken> Tokens() {
    std::vector<ScriptToken> tokens;
    for (ScriptToken t = Next(); t.kind != ScriptToken::END; t = Next()) tokens.push_back(t);
    ScriptToken end;
    end.line = line;
    tokens.push_back(end);
    return tokens;
  }

 private:
  const std::string& text;
  size_t at = 0;
  int line = 1;

  char Peek(size_t ahead = 0) const { return at + ahead < text.size() ? text[at + ahead] : '\0'; }

  void SkipSpaceAndComments() {
    for (;;) {
      char c = Peek();
      if (c == '\n') {
        ++line;
        ++at;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        ++at;
      } else if (c == '#' && AtLineStart()) {  // #pragma and line markers
        while (at < text.size() && Peek() != '\n') ++at;
      } else if (c == '/' && Peek(1) == '/') {
        while (at < text.size() && Peek() != '\n') ++at;
      } else if (c == '/' && Peek(1) == '*') {
        at += 2;
        while (at < text.size() && !(Peek() == '*' && Peek(1) == '/')) line += text[at++] == '\n';
        at += 2;
      } else {
        return;
      }
    }
  }

  bool AtLineStart() const {
    for (size_t i = at; i > 0; --i) {
      char c = text[i - 1];
      if (c == '\n') return true;
      if (c != ' ' && c != '\t') return false;
    }
    return true;
  }

  ScriptToken Next() {
    SkipSpaceAndComments();
    ScriptToken t;
    t.line = line;
    char c = Peek();
    if (!c) return t;
    if (c == '"') return String(t);
    if (std::isdigit(static_cast<unsigned char>(c))) return Number(t);
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      t.kind = ScriptToken::WORD;
      while (std::isalnum(static_cast<unsigned char>(Peek())) || Peek() == '_') t.text += text[at++];
      return t;
    }
    t.kind = ScriptToken::PUNCT;
    t.text = std::string(1, text[at++]);
    return t;
  }

  ScriptToken Number(ScriptToken t) {
    size_t start = at;
    while (std::isalnum(static_cast<unsigned char>(Peek()))) ++at;
    std::string digits = text.substr(start, at - start);
    while (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l' ||
                               digits.back() == 'U' || digits.back() == 'u'))
      digits.pop_back();
    char* end = nullptr;
    t.value = static_cast<long long>(std::strtoull(digits.c_str(), &end, 0));
    if (digits.empty() || *end) throw ScriptParseError(line, "bad number " + text.substr(start, at - start));
    t.kind = ScriptToken::NUMBER;
    return t;
  }

  // A quoted string: "" stands for one quote; C escapes are decoded.
  ScriptToken String(ScriptToken t) {
    t.kind = ScriptToken::STRING;
    ++at;
    for (;;) {
      char c = Peek();
      if (!c || c == '\n') throw ScriptParseError(line, "unterminated string");
      ++at;
      if (c == '"') {
        if (Peek() != '"') break;
        ++at;
        t.text += '"';
      } else if (c == '\\') {
        char e = Peek();
        ++at;
        switch (e) {
          case 'n': t.text += '\n'; break;
          case 't': t.text += '\t'; break;
          case 'r': t.text += '\r'; break;
          case 'a': t.text += '\b'; break;
          case '0': t.text += '\0'; break;
          default: t.text += e; break;
        }
      } else {
        t.text += c;
      }
    }
    return t;
  }
};

}  // namespace

std::vector<ScriptToken> ScriptTokens(const std::string& text) { return Lexer(text).Tokens(); }

}  // namespace headless::detail
