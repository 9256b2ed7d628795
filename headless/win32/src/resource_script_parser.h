// The reader of resource scripts in pieces (internal to win32): tokens
// (resource_script_lexer.cpp), and one parser whose grammar is spread over
// resource_script_expressions.cpp (numbers, styles, rectangles, texts),
// resource_script_dialogs.cpp, resource_script_menus.cpp and
// resource_script.cpp (the resource statements). Styles follow the resource
// compiler: a control statement's style is ORed onto the statement's default
// styles, and "NOT x" takes x away.
#ifndef HEADLESS_RESOURCE_SCRIPT_PARSER_H
#define HEADLESS_RESOURCE_SCRIPT_PARSER_H
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "resource_script.h"

namespace headless::detail {

struct ScriptToken {
  enum Kind { WORD, NUMBER, STRING, PUNCT, END } kind = END;
  std::string text;  // a word, a decoded string, or the punctuation character
  long long value = 0;
  int line = 0;
};

struct ScriptParseError : std::runtime_error {
  ScriptParseError(int line, const std::string& what)
      : std::runtime_error("line " + std::to_string(line) + ": " + what) {}
};

// The script's tokens, ending with one END token that carries the last line.
// Throws ScriptParseError for a bad number or an unterminated string.
std::vector<ScriptToken> ScriptTokens(const std::string& text);

inline bool IsWord(const ScriptToken& t, const char* word) {
  return t.kind == ScriptToken::WORD && t.text == word;
}
inline bool IsPunct(const ScriptToken& t, char c) { return t.kind == ScriptToken::PUNCT && t.text[0] == c; }

// Every grammar rule throws ScriptParseError at what it cannot read.
class ScriptParser {
 public:
  explicit ScriptParser(const std::string& text) : tokens(ScriptTokens(text)) {}

  void Parse(ResourceScript& script);

 private:
  using Token = ScriptToken;

  // A style: the bits to set and the bits that NOT takes away.
  struct Style {
    DWORD set = 0;
    DWORD cleared = 0;
    DWORD Over(DWORD defaults) const { return (defaults | set) & ~cleared; }
  };

  std::vector<Token> tokens;
  size_t at = 0;

  // --- the token cursor ---
  const Token& Peek(size_t ahead = 0) const { return tokens[std::min(at + ahead, tokens.size() - 1)]; }
  const Token& Take() { return tokens[std::min(at++, tokens.size() - 1)]; }
  [[noreturn]] void Fail(const std::string& what) const {
    const Token& t = Peek();
    throw ScriptParseError(t.line, what + (t.kind == Token::END ? " at the end" : " at '" + t.text + "'"));
  }
  void Expect(char c) {
    if (!IsPunct(Peek(), c)) Fail(std::string("expected '") + c + "'");
    ++at;
  }
  bool Accept(char c) {
    if (!IsPunct(Peek(), c)) return false;
    ++at;
    return true;
  }
  bool AtBegin() const { return IsWord(Peek(), "BEGIN") || IsPunct(Peek(), '{'); }
  bool AtEnd() const { return IsWord(Peek(), "END") || IsPunct(Peek(), '}'); }
  void ExpectBegin() {
    if (!AtBegin()) Fail("expected BEGIN");
    ++at;
  }

  // --- resource statements (resource_script.cpp) ---
  void SkipLine();
  void SkipMemoryOptions();
  void SkipBlock();
  ResourceName Name();
  void Resource(ResourceScript& script);

  // --- values (resource_script_expressions.cpp) ---
  long long Primary();
  long long Expression();
  int Int();
  Style StyleExpression();
  RECT Rectangle();
  std::string Text();

  // --- dialogs (resource_script_dialogs.cpp) ---
  DialogTemplate Dialog(const ResourceName& name, bool extended);
  void DialogOption(DialogTemplate& d, bool& styled);
  DialogItemTemplate Control(bool extended);
  DialogItemTemplate GenericControl(bool extended);
  int ControlId(bool extended);

  // --- menus (resource_script_menus.cpp) ---
  MenuTemplate Menu(const ResourceName& name);
  std::vector<MenuItemTemplate> MenuItems();
  MenuItemTemplate MenuItem();
  UINT MenuOptions();
};

}  // namespace headless::detail

#endif
