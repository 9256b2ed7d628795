// A reader for preprocessed resource scripts: dialogs (DIALOG, DIALOGEX) with
// their control statements, and menus (MENU). Styles follow the resource
// compiler: a control statement's style is ORed onto the statement's default
// styles, and "NOT x" takes x away.
#include "resource_script.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "module_registry.h"
#include "window_table.h"

namespace standin {

namespace {

struct Token {
  enum Kind { WORD, NUMBER, STRING, PUNCT, END } kind = END;
  std::string text;  // a word, a decoded string, or the punctuation character
  long long value = 0;
  int line = 0;
};

struct ParseError : std::runtime_error {
  ParseError(int line, const std::string& what)
      : std::runtime_error("line " + std::to_string(line) + ": " + what) {}
};

class Lexer {
 public:
  explicit Lexer(const std::string& t) : text(t) {}
  std::vector<Token> Tokens() {
    std::vector<Token> tokens;
    for (Token t = Next(); t.kind != Token::END; t = Next()) tokens.push_back(t);
    Token end;
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

  Token Next() {
    SkipSpaceAndComments();
    Token t;
    t.line = line;
    char c = Peek();
    if (!c) return t;
    if (c == '"') return String(t);
    if (std::isdigit(static_cast<unsigned char>(c))) return Number(t);
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      t.kind = Token::WORD;
      while (std::isalnum(static_cast<unsigned char>(Peek())) || Peek() == '_') t.text += text[at++];
      return t;
    }
    t.kind = Token::PUNCT;
    t.text = std::string(1, text[at++]);
    return t;
  }

  Token Number(Token t) {
    size_t start = at;
    while (std::isalnum(static_cast<unsigned char>(Peek()))) ++at;
    std::string digits = text.substr(start, at - start);
    while (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l' ||
                               digits.back() == 'U' || digits.back() == 'u'))
      digits.pop_back();
    char* end = nullptr;
    t.value = static_cast<long long>(std::strtoull(digits.c_str(), &end, 0));
    if (digits.empty() || *end) throw ParseError(line, "bad number " + text.substr(start, at - start));
    t.kind = Token::NUMBER;
    return t;
  }

  // A quoted string: "" stands for one quote; C escapes are decoded.
  Token String(Token t) {
    t.kind = Token::STRING;
    ++at;
    for (;;) {
      char c = Peek();
      if (!c || c == '\n') throw ParseError(line, "unterminated string");
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

bool IsWord(const Token& t, const char* word) { return t.kind == Token::WORD && t.text == word; }
bool IsPunct(const Token& t, char c) { return t.kind == Token::PUNCT && t.text[0] == c; }

// A style: the bits to set and the bits that NOT takes away.
struct Style {
  DWORD set = 0;
  DWORD cleared = 0;
  DWORD Over(DWORD defaults) const { return (defaults | set) & ~cleared; }
};

class Parser {
 public:
  explicit Parser(const std::string& text) : tokens(Lexer(text).Tokens()) {}

  void Parse(ResourceScript& script) {
    while (Peek().kind != Token::END) Resource(script);
  }
  int Line() const { return Peek().line; }

 private:
  std::vector<Token> tokens;
  size_t at = 0;

  const Token& Peek(size_t ahead = 0) const {
    return tokens[std::min(at + ahead, tokens.size() - 1)];
  }
  const Token& Take() { return tokens[std::min(at++, tokens.size() - 1)]; }
  [[noreturn]] void Fail(const std::string& what) const {
    const Token& t = Peek();
    throw ParseError(t.line, what + (t.kind == Token::END ? " at the end" : " at '" + t.text + "'"));
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
  void SkipLine() {
    int line = Peek().line;
    while (Peek().kind != Token::END && Peek().line == line) ++at;
  }
  // Load and memory options of 16-bit scripts, which mean nothing here.
  void SkipMemoryOptions() {
    static const char* const options[] = {"PRELOAD", "LOADONCALL", "FIXED", "MOVEABLE",
                                          "DISCARDABLE", "PURE", "IMPURE", "SHARED", "NONSHARED"};
    for (bool skipped = true; skipped;) {
      skipped = false;
      for (const char* option : options)
        if (IsWord(Peek(), option)) ++at, skipped = true;
    }
  }
  void SkipBlock() {
    while (Peek().kind != Token::END && !AtBegin()) ++at;
    ExpectBegin();
    for (int depth = 1; depth > 0; ++at) {
      if (Peek().kind == Token::END) Fail("unterminated block");
      depth += AtBegin() ? 1 : AtEnd() ? -1 : 0;
    }
  }

  // --- expressions: numbers with | + - & ~ and parentheses ---
  long long Primary() {
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
  long long Expression() {
    long long v = Primary();
    for (;;) {
      if (Accept('|')) v |= Primary();
      else if (Accept('+')) v += Primary();
      else if (Accept('&')) v &= Primary();
      else if (Accept('-')) v -= Primary();
      else return v;
    }
  }
  int Int() { return static_cast<int>(Expression()); }
  Style StyleExpression() {
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
  RECT Rectangle() {
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
  std::string Text() {
    if (Peek().kind != Token::STRING) Fail("expected a string");
    return Take().text;
  }

  ResourceName Name() {
    const Token& t = Take();
    ResourceName name;
    if (t.kind == Token::NUMBER) name.id = static_cast<int>(t.value);
    else if (t.kind == Token::WORD || t.kind == Token::STRING) name.name = t.text;
    else --at, Fail("expected a resource name");
    return name;
  }

  void Resource(ResourceScript& script) {
    if (IsWord(Peek(), "LANGUAGE")) return SkipLine();
    if (IsWord(Peek(), "STRINGTABLE")) return SkipBlock();
    ResourceName name = Name();
    const Token& type = Take();
    if (type.kind != Token::WORD) --at, Fail("expected a resource type");
    SkipMemoryOptions();
    if (type.text == "DIALOG" || type.text == "DIALOGEX") {
      script.dialogs.push_back(Dialog(name, type.text == "DIALOGEX"));
    } else if (type.text == "MENU") {
      script.menus.push_back(Menu(name));
    } else if (type.text == "ICON" || type.text == "BITMAP" || type.text == "CURSOR" ||
               type.text == "FONT" || type.text == "HTML") {
      SkipLine();  // a file reference
    } else if (type.text == "VERSIONINFO" || type.text == "ACCELERATORS" ||
               type.text == "DESIGNINFO" || type.text == "TEXTINCLUDE" ||
               type.text == "DLGINIT" || type.text == "TOOLBAR" || type.text == "RCDATA") {
      SkipBlock();  // nothing the stand-in builds
    } else {
      --at;
      Fail("unknown resource type");
    }
  }

  // --- dialogs ---
  DialogTemplate Dialog(const ResourceName& name, bool extended) {
    DialogTemplate d;
    d.name = name;
    d.extended = extended;
    d.rect = Rectangle();
    if (extended && Accept(',')) Int();  // help id
    bool styled = false;
    while (!AtBegin()) DialogOption(d, styled);
    if (!styled) d.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
    if (d.hasCaption) d.style |= WS_CAPTION;
    if (d.fontSize) d.style |= DS_SETFONT;
    ExpectBegin();
    while (!AtEnd()) d.items.push_back(Control(extended));
    ++at;
    return d;
  }

  void DialogOption(DialogTemplate& d, bool& styled) {
    const Token& option = Take();
    if (option.kind != Token::WORD) --at, Fail("expected a dialog option");
    if (option.text == "STYLE") {
      d.style = StyleExpression().Over(0);
      styled = true;
    } else if (option.text == "EXSTYLE") {
      d.exStyle = StyleExpression().Over(0);
    } else if (option.text == "CAPTION") {
      d.hasCaption = true;
      d.caption = Text();
    } else if (option.text == "FONT") {
      d.fontSize = Int();
      Expect(',');
      d.fontFace = Text();
      while (Accept(',')) Int();  // weight, italic, character set
    } else if (option.text == "MENU" || option.text == "CLASS" || option.text == "LANGUAGE" ||
               option.text == "CHARACTERISTICS" || option.text == "VERSION") {
      --at;
      SkipLine();
    } else {
      --at;
      Fail("unknown dialog option");
    }
  }

  struct ControlKind {
    const char* keyword;
    const char* className;
    DWORD defaults;
    bool hasText;
  };

  static const ControlKind* KindOf(const std::string& keyword) {
    static const ControlKind kinds[] = {
        {"LTEXT", "Static", SS_LEFT | WS_GROUP, true},
        {"RTEXT", "Static", SS_RIGHT | WS_GROUP, true},
        {"CTEXT", "Static", SS_CENTER | WS_GROUP, true},
        {"PUSHBUTTON", "Button", BS_PUSHBUTTON | WS_TABSTOP, true},
        {"DEFPUSHBUTTON", "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, true},
        {"GROUPBOX", "Button", BS_GROUPBOX, true},
        {"CHECKBOX", "Button", BS_CHECKBOX | WS_TABSTOP, true},
        {"AUTOCHECKBOX", "Button", BS_AUTOCHECKBOX | WS_TABSTOP, true},
        {"RADIOBUTTON", "Button", BS_RADIOBUTTON | WS_TABSTOP, true},
        {"AUTORADIOBUTTON", "Button", BS_AUTORADIOBUTTON | WS_TABSTOP, true},
        {"STATE3", "Button", BS_3STATE | WS_TABSTOP, true},
        {"AUTO3STATE", "Button", BS_AUTO3STATE | WS_TABSTOP, true},
        {"EDITTEXT", "Edit", ES_LEFT | WS_BORDER | WS_TABSTOP, false},
        {"LISTBOX", "ListBox", 0x00000001L | WS_BORDER | WS_VSCROLL, false},  // LBS_NOTIFY
        {"COMBOBOX", "ComboBox", 0x00000002L, false},                          // CBS_DROPDOWN
    };
    for (const ControlKind& k : kinds)
      if (keyword == k.keyword) return &k;
    return nullptr;
  }

  DialogItemTemplate Control(bool extended) {
    const Token& keyword = Take();
    if (keyword.kind != Token::WORD) --at, Fail("expected a control statement");
    if (keyword.text == "CONTROL") return GenericControl(extended);
    const ControlKind* kind = KindOf(keyword.text);
    if (!kind) --at, Fail("unknown control statement");
    DialogItemTemplate item;
    item.className = kind->className;
    if (kind->hasText) {
      item.text = Text();
      Expect(',');
    }
    item.id = ControlId(extended);
    Expect(',');
    item.rect = Rectangle();
    Style style;
    if (Accept(',')) style = StyleExpression();
    if (Accept(',')) item.exStyle = StyleExpression().Over(0);
    if (extended && Accept(',')) Int();  // help id
    item.style = style.Over(kind->defaults | WS_CHILD | WS_VISIBLE);
    return item;
  }

  // CONTROL text, id, class, style, x, y, width, height [, extended style]
  DialogItemTemplate GenericControl(bool extended) {
    DialogItemTemplate item;
    if (Peek().kind == Token::NUMBER) Int();  // an icon's ordinal: no text
    else item.text = Text();
    Expect(',');
    item.id = ControlId(extended);
    Expect(',');
    const Token& cls = Take();
    if (cls.kind != Token::STRING && cls.kind != Token::WORD) --at, Fail("expected a class name");
    item.className = cls.text;
    Expect(',');
    Style style = StyleExpression();
    Expect(',');
    item.rect = Rectangle();
    if (Accept(',')) item.exStyle = StyleExpression().Over(0);
    if (extended && Accept(',')) Int();  // help id
    item.style = style.Over(WS_CHILD | WS_VISIBLE);
    return item;
  }

  // A classic template keeps 16-bit ids (-1 becomes 0xFFFF).
  int ControlId(bool extended) {
    int id = Int();
    return extended ? id : static_cast<WORD>(id);
  }

  // --- menus ---
  MenuTemplate Menu(const ResourceName& name) {
    MenuTemplate m;
    m.name = name;
    while (!AtBegin() && Peek().kind != Token::END) ++at;  // options
    m.items = MenuItems();
    return m;
  }

  std::vector<MenuItemTemplate> MenuItems() {
    ExpectBegin();
    std::vector<MenuItemTemplate> items;
    while (!AtEnd()) items.push_back(MenuItem());
    ++at;
    return items;
  }

  MenuItemTemplate MenuItem() {
    MenuItemTemplate item;
    const Token& keyword = Take();
    if (IsWord(keyword, "MENUITEM")) {
      if (IsWord(Peek(), "SEPARATOR")) {
        ++at;
        item.flags = MF_SEPARATOR;
        return item;
      }
      item.text = Text();
      Expect(',');
      item.id = Int();
      item.flags |= MenuOptions();
      return item;
    }
    if (IsWord(keyword, "POPUP")) {
      item.text = Text();
      item.flags = MF_POPUP | MenuOptions();
      item.items = MenuItems();
      return item;
    }
    --at;
    Fail("expected MENUITEM or POPUP");
  }

  UINT MenuOptions() {
    UINT flags = 0;
    for (;;) {
      size_t mark = at;
      Accept(',');
      const Token& t = Peek();
      UINT flag = IsWord(t, "CHECKED") ? MF_CHECKED
                  : IsWord(t, "GRAYED") ? MF_GRAYED
                  : IsWord(t, "INACTIVE") ? MF_DISABLED
                  : IsWord(t, "MENUBARBREAK") ? MF_MENUBARBREAK
                  : IsWord(t, "MENUBREAK") ? MF_MENUBREAK
                  : IsWord(t, "HELP") ? MF_HELP
                  : 0;
      if (!flag) {
        at = mark;
        return flags;
      }
      ++at;
      flags |= static_cast<UINT>(flag);
    }
  }
};

}  // namespace

bool ResourceName::Matches(LPCSTR requested) const {
  if (!requested) return false;
  if (IS_INTRESOURCE(requested))
    return name.empty() && id == static_cast<int>(reinterpret_cast<ULONG_PTR>(requested));
  if (requested[0] == '#') return name.empty() && id == std::atoi(requested + 1);
  return !name.empty() && SameName(name, requested);
}

const DialogTemplate* ResourceScript::FindDialog(LPCSTR name) const {
  for (const DialogTemplate& d : dialogs)
    if (d.name.Matches(name)) return &d;
  return nullptr;
}

const MenuTemplate* ResourceScript::FindMenu(LPCSTR name) const {
  for (const MenuTemplate& m : menus)
    if (m.name.Matches(name)) return &m;
  return nullptr;
}

ResourceScript ParseResourceScript(const std::string& text) {
  ResourceScript script;
  try {
    Parser parser(text);
    parser.Parse(script);
  } catch (const ParseError& e) {
    script.error = e.what();
  }
  return script;
}

const ResourceScript& ModuleResources(HINSTANCE module) {
  static const ResourceScript none;
  Module* m = FindModule(module);
  if (!m) return none;
  if (!m->parsedScript) {
    auto script = std::make_shared<ResourceScript>(ParseResourceScript(m->resourceScript));
    if (!script->error.empty())
      std::fprintf(stderr, "stand-in: resource script of %s: %s\n", m->path.c_str(),
                   script->error.c_str());
    m->parsedScript = std::move(script);
  }
  return *m->parsedScript;
}

}  // namespace standin
