// Menus built from a resource script, read back item by item, attached to a
// window as its menu bar and chosen by the headless user.
#include <gtest/gtest.h>
#include <headless.h>

#include <string>
#include <vector>

namespace {

const char* const kScript = R"(
118 MENU
BEGIN
    MENUITEM "Trajectories", 20011, CHECKED
    MENUITEM "Names", 20012
    POPUP "&More"
    BEGIN
        MENUITEM "&Extents\tE", 20013, CHECKED
        MENUITEM SEPARATOR
        MENUITEM "Grey", 20014, GRAYED
    END
END
"Named" MENU
BEGIN
    MENUITEM "Only", 7
END
)";

// What the window heard of the menu, in order.
std::vector<std::pair<UINT, WPARAM>>* menuLog = nullptr;

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (menuLog && (msg == WM_INITMENU || msg == WM_INITMENUPOPUP || msg == WM_COMMAND))
    menuLog->push_back({msg, wParam});
  // A window may take its menu away as it opens; the choice then comes to nothing.
  if (msg == WM_INITMENUPOPUP && GetWindowLongPtrA(hwnd, GWLP_USERDATA) == 1)
    DestroyMenu(GetMenu(hwnd));
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class Menus : public testing::Test {
 protected:
  void SetUp() override {
    module = headless::LoadResourceModule("menus.rc", kScript);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MenuWindowProc;
    wc.hInstance = module;
    wc.lpszClassName = "TestMenuWindow";
    ASSERT_NE(RegisterClassA(&wc), 0);
    menuLog = &log;
  }
  void TearDown() override {
    if (IsWindow(window)) DestroyWindow(window);
    menuLog = nullptr;
    EXPECT_TRUE(UnregisterClassA("TestMenuWindow", module));
    FreeLibrary(module);
  }
  HWND MakeWindow(DWORD style = WS_POPUP | WS_CAPTION | WS_VISIBLE, HMENU menu = nullptr) {
    window = CreateWindowExA(0, "TestMenuWindow", "view", style, 0, 0, 100, 100, nullptr, menu,
                             module, nullptr);
    return window;
  }
  std::string String(HMENU menu, UINT item, UINT flags) {
    char text[64] = "?";
    GetMenuStringA(menu, item, text, sizeof text, flags);
    return text;
  }

  HINSTANCE module = nullptr;
  HWND window = nullptr;
  std::vector<std::pair<UINT, WPARAM>> log;
};

TEST_F(Menus, AMenuIsReadBackAsTheScriptWroteIt) {
  HMENU menu = LoadMenuA(module, MAKEINTRESOURCE(118));
  ASSERT_TRUE(IsMenu(menu));
  EXPECT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(GetMenuItemID(menu, 0), 20011u);
  EXPECT_EQ(GetMenuItemID(menu, 1), 20012u);
  EXPECT_EQ(GetMenuItemID(menu, 2), static_cast<UINT>(-1));  // a popup has no id
  EXPECT_EQ(GetMenuItemID(menu, 3), static_cast<UINT>(-1));
  EXPECT_EQ(String(menu, 0, MF_BYPOSITION), "Trajectories");
  EXPECT_EQ(String(menu, 20013, MF_BYCOMMAND), "&Extents\tE");  // found inside the popup
  EXPECT_EQ(GetMenuStringA(menu, 20012, nullptr, 0, MF_BYCOMMAND), 5);
  char cut[4];
  EXPECT_EQ(GetMenuStringA(menu, 20011, cut, sizeof cut, MF_BYCOMMAND), 3);
  EXPECT_STREQ(cut, "Tra");

  const struct {
    UINT item, flags, state;
  } states[] = {
      {20011, MF_BYCOMMAND, MF_CHECKED},
      {20012, MF_BYCOMMAND, MF_UNCHECKED},
      {20014, MF_BYCOMMAND, MF_GRAYED},
      {2, MF_BYPOSITION, (3u << 8) | MF_POPUP},  // item count in the high byte
      {20099, MF_BYCOMMAND, static_cast<UINT>(-1)},
      {9, MF_BYPOSITION, static_cast<UINT>(-1)},
  };
  for (const auto& s : states) {
    SCOPED_TRACE(s.item);
    EXPECT_EQ(GetMenuState(menu, s.item, s.flags), s.state);
  }

  std::vector<headless::MenuItemInfo> items = headless::MenuItems(menu);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].id, 20011);
  EXPECT_TRUE(items[0].checked);
  EXPECT_FALSE(items[1].checked);
  ASSERT_EQ(items[2].popup, GetSubMenu(menu, 2));
  std::vector<headless::MenuItemInfo> inner = headless::MenuItems(items[2].popup);
  ASSERT_EQ(inner.size(), 3u);
  EXPECT_TRUE(inner[1].separator);
  EXPECT_TRUE(inner[2].grayed);
  EXPECT_EQ(inner[2].text, "Grey");

  HMENU popup = GetSubMenu(menu, 2);
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(IsMenu(popup));  // a popup goes with its menu
  EXPECT_FALSE(DestroyMenu(menu));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  EXPECT_EQ(GetMenuItemCount(menu), -1);
  EXPECT_TRUE(headless::MenuItems(menu).empty());
}

TEST_F(Menus, MenusAreFoundByNumberOrNameAndAMissingOneFails) {
  const struct {
    LPCSTR name;
    bool found;
  } cases[] = {{MAKEINTRESOURCE(118), true}, {"#118", true},  {"named", true},
               {MAKEINTRESOURCE(119), false}, {"Other", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(IS_INTRESOURCE(c.name) ? "a number" : c.name);
    SetLastError(0);
    HMENU menu = LoadMenuA(module, c.name);
    EXPECT_EQ(menu != nullptr, c.found);
    if (menu) {
      DestroyMenu(menu);
    } else {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    }
  }
}

TEST_F(Menus, AWindowsMenuBarIsSetReadAndDestroyedWithIt) {
  HWND h = MakeWindow();
  EXPECT_EQ(GetMenu(h), nullptr);
  HMENU menu = LoadMenuA(module, MAKEINTRESOURCE(118));
  HMENU popup = GetSubMenu(menu, 2);
  ASSERT_TRUE(SetMenu(h, menu));
  EXPECT_EQ(GetMenu(h), menu);

  // A child window has no menu bar.
  HWND child = CreateWindowExA(0, "TestMenuWindow", "", WS_CHILD, 0, 0, 1, 1, h, nullptr, module,
                               nullptr);
  EXPECT_FALSE(SetMenu(child, menu));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CHILD_WINDOW_MENU));
  EXPECT_FALSE(SetMenu(h, reinterpret_cast<HMENU>(0x4321)));
  EXPECT_EQ(GetMenu(h), menu);

  DestroyWindow(h);
  EXPECT_FALSE(IsMenu(menu));
  EXPECT_FALSE(IsMenu(popup));

  // Given at creation, the bar is the window's too; a bad one fails creation.
  HMENU bar = LoadMenuA(module, "Named");
  ASSERT_TRUE(MakeWindow(WS_POPUP, bar));
  EXPECT_EQ(GetMenu(window), bar);
  DestroyWindow(window);
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_EQ(MakeWindow(WS_POPUP, reinterpret_cast<HMENU>(0x4321)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
}

TEST_F(Menus, ABarDestroyedByTheProgramIsNotDestroyedAgain) {
  HWND h = MakeWindow();
  HMENU menu = LoadMenuA(module, MAKEINTRESOURCE(118));
  SetMenu(h, menu);
  ASSERT_TRUE(DestroyMenu(GetMenu(h)));
  SetLastError(0);
  EXPECT_TRUE(DestroyWindow(h));
  EXPECT_EQ(GetLastError(), 0u);
}

TEST_F(Menus, TheUserChoosesAnItemAndTheWindowHearsTheMenuOpenFirst) {
  HWND h = MakeWindow();
  HMENU menu = LoadMenuA(module, MAKEINTRESOURCE(118));
  SetMenu(h, menu);
  HMENU popup = GetSubMenu(menu, 2);

  EXPECT_TRUE(headless::ChooseMenuItem(h, 20012));
  EXPECT_TRUE(headless::ChooseMenuItem(h, 20013));
  std::vector<std::pair<UINT, WPARAM>> expected = {
      {WM_INITMENU, reinterpret_cast<WPARAM>(menu)},
      {WM_COMMAND, MAKEWPARAM(20012, 0)},
      {WM_INITMENU, reinterpret_cast<WPARAM>(menu)},
      {WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup)},
      {WM_COMMAND, MAKEWPARAM(20013, 0)},
  };
  EXPECT_EQ(log, expected);
  // Choosing does not change the check marks; that is the program's business.
  EXPECT_EQ(GetMenuState(menu, 20011, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED));
}

TEST_F(Menus, TheUserCannotChooseWhatIsNotThere) {
  const struct {
    const char* name;
    int id;
    void (*arrange)(HWND);
  } cases[] = {
      {"grayed item", 20014, [](HWND) {}},
      {"no such item", 20099, [](HWND) {}},
      {"separator", 0, [](HWND) {}},
      {"hidden window", 20011, [](HWND h) { ShowWindow(h, SW_HIDE); }},
      {"disabled window", 20011, [](HWND h) { EnableWindow(h, FALSE); }},
      {"no menu bar", 20011, [](HWND h) { SetMenu(h, nullptr); }},
      {"gone window", 20011, [](HWND h) { DestroyWindow(h); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND h = MakeWindow();
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCE(118));
    SetMenu(h, menu);
    c.arrange(h);
    log.clear();
    EXPECT_FALSE(headless::ChooseMenuItem(h, c.id));
    EXPECT_TRUE(log.empty());
    if (IsWindow(h)) DestroyWindow(h);
    if (IsMenu(menu)) DestroyMenu(menu);
  }
}

TEST_F(Menus, AnItemTakenAwayAsTheMenuOpensIsNotChosen) {
  HWND h = MakeWindow();
  SetMenu(h, LoadMenuA(module, MAKEINTRESOURCE(118)));
  SetWindowLongPtrA(h, GWLP_USERDATA, 1);  // the window drops its bar on WM_INITMENUPOPUP
  EXPECT_FALSE(headless::ChooseMenuItem(h, 20013));
  ASSERT_FALSE(log.empty());
  EXPECT_NE(log.back().first, static_cast<UINT>(WM_COMMAND));
}

}  // namespace
