// The dialog grammar: DIALOG and DIALOGEX with their options, the control
// statements with the styles each adds, and the generic CONTROL statement.
#include "resource_script_parser.h"

namespace headless::detail {

namespace {

struct ControlKind {
  const char* keyword;
  const char* className;
  DWORD defaults;
  bool hasText;
};

const ControlKind* KindOf(const std::string& keyword) {
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

}  // namespace

DialogTemplate ScriptParser::Dialog(const ResourceName& name, bool extended) {
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

void ScriptParser::DialogOption(DialogTemplate& d, bool& styled) {
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

DialogItemTemplate ScriptParser::Control(bool extended) {
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
DialogItemTemplate ScriptParser::GenericControl(bool extended) {
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
int ScriptParser::ControlId(bool extended) {
  int id = Int();
  return extended ? id : static_cast<WORD>(id);
}

}  // namespace headless::detail
