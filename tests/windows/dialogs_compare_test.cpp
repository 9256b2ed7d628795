// The stand-in's dialogs against what Windows itself (Wine's user32) built
// from the same resource script: dialogs_wine.json is written by the Windows
// suite (scripts/windows.sh checks that it is current). Ids, classes, texts,
// styles and extended styles must agree exactly; rectangles agree in dialog
// units within one unit, since Windows rounds the pixels of its own font's
// base units, which the stand-in does not share.
#include <gtest/gtest.h>
#include <headless.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <strings.h>

#include "mirova.h"

namespace {

using nlohmann::json;

json WindowsDialogs() {
  std::ifstream in(std::string(MIROVA_SOURCE_DIR) + "/tests/windows/dialogs_wine.json");
  return json::parse(in, nullptr, /*allow_exceptions=*/false);
}

INT_PTR CALLBACK NoProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Windows' pixel rectangle in dialog units (left, top, width, height).
RECT DialogUnits(const json& pixels, const json& baseUnits) {
  const double bx = baseUnits[0].get<double>(), by = baseUnits[1].get<double>();
  auto x = [&](int i) { return static_cast<LONG>(std::lround(pixels[i].get<double>() * 4 / bx)); };
  auto y = [&](int i) { return static_cast<LONG>(std::lround(pixels[i].get<double>() * 8 / by)); };
  return {x(0), y(1), x(2) - x(0), y(3) - y(1)};
}

void ExpectSameWindow(const json& windows, HWND headless, const json& baseUnits) {
  const headless::WindowInfo info = headless::Inspect(headless);
  EXPECT_EQ(windows["id"].get<int>(), info.id);
  EXPECT_EQ(strcasecmp(windows["class"].get<std::string>().c_str(), info.className.c_str()), 0)
      << windows["class"] << " vs " << info.className;
  EXPECT_EQ(windows["text"].get<std::string>(), info.text);
  EXPECT_EQ(windows["style"].get<DWORD>(), info.style) << std::hex << windows["style"].get<DWORD>() << " vs "
                                                       << info.style;
  EXPECT_EQ(windows["exStyle"].get<DWORD>(), info.exStyle);
  const RECT du = DialogUnits(windows["pixels"], baseUnits);
  const RECT& t = info.templateRect;
  EXPECT_LE(std::abs(du.left - t.left), 1) << du.left << " vs " << t.left;
  EXPECT_LE(std::abs(du.top - t.top), 1) << du.top << " vs " << t.top;
  EXPECT_LE(std::abs(du.right - t.right), 1) << "width " << du.right << " vs " << t.right;
  EXPECT_LE(std::abs(du.bottom - t.bottom), 1) << "height " << du.bottom << " vs " << t.bottom;
}

TEST(WindowsDialogs, StandInBuildsWhatWindowsBuilds) {
  const json dump = WindowsDialogs();
  ASSERT_TRUE(dump.is_object()) << "tests/windows/dialogs_wine.json is missing or not JSON";
  ASSERT_FALSE(dump["dialogs"].empty());
  HWND frame = CreateWindowExA(0, "Static", "panel", WS_OVERLAPPED, 0, 0, 400, 800, nullptr, nullptr,
                               nullptr, nullptr);
  for (const json& d : dump["dialogs"]) {
    const int id = d["id"].get<int>();
    SCOPED_TRACE("dialog " + std::to_string(id));
    HWND dlg = CreateDialogParamA(hInstance, MAKEINTRESOURCEA(id), frame, NoProc, 0);
    ASSERT_NE(dlg, nullptr);
    ExpectSameWindow(d["dialog"], dlg, d["baseUnits"]);
    const std::vector<HWND> controls = headless::Children(dlg);
    ASSERT_EQ(controls.size(), d["controls"].size());
    for (size_t i = 0; i < controls.size(); ++i) {
      SCOPED_TRACE("control " + std::to_string(i) + " " + d["controls"][i]["text"].get<std::string>());
      ExpectSameWindow(d["controls"][i], controls[i], d["baseUnits"]);
    }
    DestroyWindow(dlg);
  }
  DestroyWindow(frame);
}

}  // namespace
