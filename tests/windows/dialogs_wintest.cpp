// Every dialog of mirova.dlu created by Windows itself (CreateDialogParamA on
// the module the host loaded), its controls read back and written out with
// --dialog_dump=PATH for the Linux suite, which compares the stand-in's
// dialogs with them (tests/windows/dialogs_compare_test.cpp).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "dialog_dump.h"
#include "module_path.h"

namespace {

std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string TextOf(HWND hwnd) {
  char text[512] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

std::string ClassOf(HWND hwnd) {
  char name[128] = "";
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

// A window's rectangle in pixels, in its dialog's client coordinates.
RECT PixelRect(HWND hwnd, HWND dlg) {
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string RectJson(const RECT& r) {
  char text[96];
  std::snprintf(text, sizeof text, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right, r.bottom);
  return text;
}

std::string WindowJson(HWND hwnd, HWND dlg, int id) {
  char numbers[128];
  std::snprintf(numbers, sizeof numbers, "\"id\": %d, \"style\": %lu, \"exStyle\": %lu", id,
                static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_EXSTYLE)));
  return std::string("{") + numbers + ", \"class\": " + Quoted(ClassOf(hwnd)) + ", \"text\": " +
         Quoted(TextOf(hwnd)) + ", \"pixels\": " + RectJson(PixelRect(hwnd, dlg)) + "}";
}

BOOL CALLBACK AddName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
  if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<int>*>(list)->push_back(static_cast<int>(
      reinterpret_cast<ULONG_PTR>(name)));
  return TRUE;
}

INT_PTR CALLBACK NoProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class WindowsDialogs : public testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryA(PluginPath().c_str());
    ASSERT_NE(module, nullptr);
    // The panel's pages are child dialogs; a hidden frame stands for it.
    frame = CreateWindowExA(0, "Static", "panel", WS_OVERLAPPEDWINDOW, 0, 0, 400, 800, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
  }
  void TearDown() override {
    if (frame) DestroyWindow(frame);
    if (module) FreeLibrary(module);
  }
  HMODULE module = nullptr;
  HWND frame = nullptr;
};

TEST_F(WindowsDialogs, EveryDialogIsBuiltAndWrittenOut) {
  std::vector<int> ids;
  ASSERT_TRUE(EnumResourceNamesA(module, MAKEINTRESOURCEA(5), AddName, reinterpret_cast<LONG_PTR>(&ids)));
  ASSERT_FALSE(ids.empty());
  std::string json = "{\"dialogs\": [\n";
  for (size_t n = 0; n < ids.size(); ++n) {
    SCOPED_TRACE(ids[n]);
    HWND dlg = CreateDialogParamA(module, MAKEINTRESOURCEA(ids[n]), frame, NoProc, 0);
    ASSERT_NE(dlg, nullptr) << "error " << GetLastError();
    // The dialog's base units: what 4 x 8 dialog units are in pixels.
    RECT units = {0, 0, 4, 8};
    MapDialogRect(dlg, &units);
    RECT client;
    GetClientRect(dlg, &client);
    char head[160];
    std::snprintf(head, sizeof head, "  {\"id\": %d, \"baseUnits\": [%ld, %ld], \"client\": %s,\n   \"dialog\": ",
                  ids[n], units.right, units.bottom, RectJson(client).c_str());
    json += head + WindowJson(dlg, dlg, GetDlgCtrlID(dlg)) + ",\n   \"controls\": [\n";
    int count = 0;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT), ++count) {
      json += std::string(count ? ",\n" : "") + "    " + WindowJson(c, dlg, GetDlgCtrlID(c));
    }
    EXPECT_GT(count, 0);
    json += std::string("]}") + (n + 1 < ids.size() ? ",\n" : "\n");
    DestroyWindow(dlg);
  }
  json += "]}\n";
  if (DialogDumpPath().empty()) return;
  FILE* out = std::fopen(DialogDumpPath().c_str(), "wb");
  ASSERT_NE(out, nullptr) << DialogDumpPath();
  std::fwrite(json.data(), 1, json.size(), out);
  std::fclose(out);
}

}  // namespace
