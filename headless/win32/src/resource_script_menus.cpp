// The menu grammar: MENU with its MENUITEM and POPUP statements and their
// options, nested as the script nests them.
#include "resource_script_parser.h"

namespace headless::detail {

MenuTemplate ScriptParser::Menu(const ResourceName& name) {
  MenuTemplate m;
  m.name = name;
  while (!AtBegin() && Peek().kind != Token::END) ++at;  // options
  m.items = MenuItems();
  return m;
}

std::vector<MenuItemTemplate> ScriptParser::MenuItems() {
  ExpectBegin();
  std::vector<MenuItemTemplate> items;
  while (!AtEnd()) items.push_back(MenuItem());
  ++at;
  return items;
}

MenuItemTemplate ScriptParser::MenuItem() {
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

UINT ScriptParser::MenuOptions() {
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

}  // namespace headless::detail
