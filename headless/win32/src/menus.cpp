// Menus: built from the module's resource script, attached to top-level
// windows as their menu bar, read back item by item, and chosen by the
// headless user.
#include <headless_win32.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "resource_script.h"
#include "window_table.h"

namespace headless::detail {

namespace {

struct MenuItem {
  std::string text;
  UINT id = 0;
  UINT flags = 0;  // MF_CHECKED, MF_GRAYED, MF_SEPARATOR, MF_POPUP ...
  HMENU popup = nullptr;
};

struct Menu {
  std::vector<MenuItem> items;
};

std::map<HMENU, std::unique_ptr<Menu>>& Menus() {
  static std::map<HMENU, std::unique_ptr<Menu>> menus;
  return menus;
}

// Handles count up and are never reused, so a destroyed menu stays invalid.
HMENU NewMenu() {
  static uintptr_t next = 0x20000;
  next += 4;
  auto h = reinterpret_cast<HMENU>(next);
  Menus()[h] = std::make_unique<Menu>();
  return h;
}

Menu* LookUpMenu(HMENU menu) {
  auto it = Menus().find(menu);
  return it == Menus().end() ? nullptr : it->second.get();
}

Menu* ValidMenu(HMENU menu) {
  Menu* m = LookUpMenu(menu);
  if (!m) SetLastError(ERROR_INVALID_MENU_HANDLE);
  return m;
}

HMENU BuildMenu(const std::vector<MenuItemTemplate>& items) {
  HMENU h = NewMenu();
  for (const MenuItemTemplate& t : items) {
    MenuItem item;
    item.text = t.text;
    item.id = static_cast<UINT>(t.id);
    item.flags = t.flags;
    if (t.flags & MF_POPUP) item.popup = BuildMenu(t.items);
    LookUpMenu(h)->items.push_back(item);
  }
  return h;
}

// Where an item sits: its menu and position, or a null menu.
struct ItemPlace {
  HMENU menu = nullptr;
  size_t position = 0;
  MenuItem* item() const { return &LookUpMenu(menu)->items[position]; }
};

// A command id is looked for depth first, through the popups, as Windows does.
ItemPlace FindCommand(HMENU menu, UINT id) {
  Menu* m = LookUpMenu(menu);
  if (!m) return {};
  for (size_t i = 0; i < m->items.size(); ++i) {
    const MenuItem& item = m->items[i];
    if (item.popup) {
      ItemPlace inside = FindCommand(item.popup, id);
      if (inside.menu) return inside;
    } else if (!(item.flags & MF_SEPARATOR) && item.id == id) {
      return {menu, i};
    }
  }
  return {};
}

ItemPlace FindItem(HMENU menu, UINT item, UINT flags) {
  if (!(flags & MF_BYPOSITION)) return FindCommand(menu, item);
  Menu* m = LookUpMenu(menu);
  if (!m || item >= m->items.size()) return {};
  return {menu, item};
}

}  // namespace

}  // namespace headless::detail

using headless::detail::LookUpWindow;
using headless::detail::ValidMenu;

HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR menuName) {
  const headless::detail::ResourceScript& script = headless::detail::ModuleResources(hInstance);
  const headless::detail::MenuTemplate* t = script.FindMenu(menuName);
  if (!t) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return headless::detail::BuildMenu(t->items);
}

BOOL DestroyMenu(HMENU menu) {
  headless::detail::Menu* m = ValidMenu(menu);
  if (!m) return FALSE;
  std::vector<headless::detail::MenuItem> items = std::move(m->items);
  headless::detail::Menus().erase(menu);
  for (const headless::detail::MenuItem& item : items)
    if (item.popup) DestroyMenu(item.popup);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return headless::detail::LookUpMenu(menu) ? TRUE : FALSE; }

BOOL SetMenu(HWND hwnd, HMENU menu) {
  headless::detail::WindowData* w = LookUpWindow(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (w->style & WS_CHILD) {
    SetLastError(ERROR_CHILD_WINDOW_MENU);
    return FALSE;
  }
  if (menu && !ValidMenu(menu)) return FALSE;
  w->menu = menu;
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  headless::detail::WindowData* w = LookUpWindow(hwnd);
  // Stand-in: a child window has no menu; Windows gives back its id.
  return w && !(w->style & WS_CHILD) ? w->menu : nullptr;
}

HMENU GetSubMenu(HMENU menu, int pos) {
  headless::detail::Menu* m = ValidMenu(menu);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return nullptr;
  return m->items[static_cast<size_t>(pos)].popup;
}

int GetMenuItemCount(HMENU menu) {
  headless::detail::Menu* m = ValidMenu(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos) {
  headless::detail::Menu* m = ValidMenu(menu);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return static_cast<UINT>(-1);
  const headless::detail::MenuItem& item = m->items[static_cast<size_t>(pos)];
  return item.popup ? static_cast<UINT>(-1) : item.id;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  if (!ValidMenu(menu)) return static_cast<UINT>(-1);
  headless::detail::ItemPlace place = headless::detail::FindItem(menu, item, flags);
  if (!place.menu) return static_cast<UINT>(-1);
  const headless::detail::MenuItem* found = place.item();
  if (!found->popup) return found->flags;
  UINT count = static_cast<UINT>(headless::detail::LookUpMenu(found->popup)->items.size());
  return (count << 8) | (found->flags & 0xFF);
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR text, int max, UINT flags) {
  if (!ValidMenu(menu)) return 0;
  headless::detail::ItemPlace place = headless::detail::FindItem(menu, item, flags);
  if (!place.menu) return 0;
  const std::string& s = place.item()->text;
  if (!text) return static_cast<int>(s.size());
  if (max <= 0) return 0;
  size_t n = std::min(s.size(), static_cast<size_t>(max) - 1);
  std::memcpy(text, s.data(), n);
  text[n] = '\0';
  return static_cast<int>(n);
}

namespace headless {

std::vector<MenuItemInfo> MenuItems(HMENU menu) {
  std::vector<MenuItemInfo> infos;
  headless::detail::Menu* m = headless::detail::LookUpMenu(menu);
  if (!m) return infos;
  for (const headless::detail::MenuItem& item : m->items) {
    MenuItemInfo info;
    info.id = item.popup ? 0 : static_cast<int>(item.id);
    info.text = item.text;
    info.checked = (item.flags & MF_CHECKED) != 0;
    info.grayed = (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
    info.separator = (item.flags & MF_SEPARATOR) != 0;
    info.popup = item.popup;
    infos.push_back(info);
  }
  return infos;
}

namespace {

// The item of the window's menu bar the user can choose, or a null place.
headless::detail::ItemPlace ChoosableItem(HWND window, int id) {
  HMENU bar = GetMenu(window);
  if (!IsWindow(window) || !IsWindowVisible(window) || !IsWindowEnabled(window) || !bar)
    return {};
  headless::detail::ItemPlace place = headless::detail::FindCommand(bar, static_cast<UINT>(id));
  if (place.menu && (place.item()->flags & (MF_GRAYED | MF_DISABLED))) return {};
  return place;
}

// The popup of the bar that holds menu, and its position there.
headless::detail::ItemPlace PopupHolding(HMENU bar, HMENU menu) {
  headless::detail::Menu* m = headless::detail::LookUpMenu(bar);
  for (size_t i = 0; m && i < m->items.size(); ++i) {
    HMENU popup = m->items[i].popup;
    if (popup == menu) return {bar, i};
    if (popup) {
      headless::detail::ItemPlace inside = PopupHolding(popup, menu);
      if (inside.menu) return inside;
    }
  }
  return {};
}

}  // namespace

bool ChooseMenuItem(HWND window, int id) {
  headless::detail::ItemPlace place = ChoosableItem(window, id);
  if (!place.menu) return false;
  // Opening the menu lets the window bring its items up to date first.
  HMENU bar = GetMenu(window);
  SendMessageA(window, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
  // Stand-in: only the popup holding the item hears it open, not those above it.
  if (place.menu != bar && IsWindow(window)) {
    headless::detail::ItemPlace holder = PopupHolding(bar, place.menu);
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(place.menu),
                 MAKELPARAM(holder.position, FALSE));
  }
  if (!ChoosableItem(window, id).menu) return false;
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  return true;
}

}  // namespace headless
