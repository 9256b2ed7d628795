// The values of a resource script's statements: numbers as the resource
// compiler computes them (| + - & ~ and parentheses), styles with NOT,
// rectangles and quoted texts.
#include "resource_script_parser.h"

namespace headless::detail {

long long ScriptParser::Primary() {
  const Token& t = Take();
  if (t.kind == Token::NUMBER) return t.value;
  if (t.kind == Token::PUNCT) {
    if (t.text[0] == '-') return -Primary();
    if (t.text[0] == '~') return ~Primary();
    if (t.text[0] == '(') {
      long long v = Expression();
      Expect(')');
      return v;
    }
  }
  --at;
  Fail("expected a number");
}

long long ScriptParser::Expression() {
  long long v = Primary();
  for (;;) {
    if (Accept('|')) v |= Primary();
    else if (Accept('+')) v += Primary();
    else if (Accept('&')) v &= Primary();
    else if (Accept('-')) v -= Primary();
    else return v;
  }
}

int ScriptParser::Int() { return static_cast<int>(Expression()); }

ScriptParser::Style ScriptParser::StyleExpression() {
  Style s;
  do {
    if (IsWord(Peek(), "NOT")) {
      ++at;
      s.cleared |= static_cast<DWORD>(Primary());
    } else {
      s.set |= static_cast<DWORD>(Primary());
    }
  } while (Accept('|'));
  return s;
}

RECT ScriptParser::Rectangle() {
  RECT r;
  r.left = Int();
  Expect(',');
  r.top = Int();
  Expect(',');
  r.right = Int();
  Expect(',');
  r.bottom = Int();
  return r;
}

std::string ScriptParser::Text() {
  if (Peek().kind != Token::STRING) Fail("expected a string");
  return Take().text;
}

}  // namespace headless::detail
