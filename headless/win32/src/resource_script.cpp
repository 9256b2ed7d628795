// A reader for preprocessed resource scripts: the resource statements, each
// handed to its grammar (dialogs, menus) or skipped when the stand-in builds
// nothing from it. The pieces are listed in resource_script_parser.h.
#include "resource_script_parser.h"

namespace headless::detail {

void ScriptParser::Parse(ResourceScript& script) {
  while (Peek().kind != Token::END) Resource(script);
}

void ScriptParser::SkipLine() {
  int line = Peek().line;
  while (Peek().kind != Token::END && Peek().line == line) ++at;
}

// Load and memory options of 16-bit scripts, which mean nothing here.
void ScriptParser::SkipMemoryOptions() {
  static const char* const options[] = {"PRELOAD", "LOADONCALL", "FIXED", "MOVEABLE",
                                        "DISCARDABLE", "PURE", "IMPURE", "SHARED", "NONSHARED"};
  for (bool skipped = true; skipped;) {
    skipped = false;
    for (const char* option : options)
      if (IsWord(Peek(), option)) ++at, skipped = true;
  }
}

void ScriptParser::SkipBlock() {
  while (Peek().kind != Token::END && !AtBegin()) ++at;
  ExpectBegin();
  for (int depth = 1; depth > 0; ++at) {
    if (Peek().kind == Token::END) Fail("unterminated block");
    depth += AtBegin() ? 1 : AtEnd() ? -1 : 0;
  }
}

ResourceName ScriptParser::Name() {
  const Token& t = Take();
  ResourceName name;
  if (t.kind == Token::NUMBER) name.id = static_cast<int>(t.value);
  else if (t.kind == Token::WORD || t.kind == Token::STRING) name.name = t.text;
  else --at, Fail("expected a resource name");
  return name;
}

void ScriptParser::Resource(ResourceScript& script) {
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

ResourceScript ParseResourceScript(const std::string& text) {
  ResourceScript script;
  try {
    ScriptParser parser(text);
    parser.Parse(script);
  } catch (const ScriptParseError& e) {
    script.error = e.what();
  }
  return script;
}

}  // namespace headless::detail
