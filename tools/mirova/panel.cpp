// mirova panel: the command panel as the user sees it, as one picture: the
// motion-control utility's panel, or the expression object's five rollups
// with About and Scales rolled up to their title bars.
#include <headless.h>
#include <headless_gdi.h>
#include <headless_host.h>
#include <triobj.h>

#include <algorithm>

#include "bundled_face.h"
#include "cli.h"
#include "command_line.h"
#include "expression.h"
#include "messages.h"
#include "obj_file.h"
#include "picture_file.h"
#include "plugin.h"

namespace cli {

namespace {

const int titleHeight = 18;
const int gap = 3;
const uint32_t panelGrey = 0xC0C0C0;

// A rollup's title bar: a button-like bar with the title, "+" when rolled
// up and "-" when open, as the host draws it.
headless::Image TitleBar(const std::string& title, bool open, int width) {
  static bool registered = false;
  const char className[] = "MirovaPanelTitle";
  if (!registered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = className;
    registered = RegisterClassA(&wc) != 0;
  }
  HWND holder = CreateWindowExA(0, className, "", WS_POPUP | WS_VISIBLE, 0, 0, width, titleHeight, nullptr,
                                nullptr, nullptr, nullptr);
  const std::string text = (open ? "-  " : "+  ") + title;
  CreateWindowExA(0, "Button", text.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, width, titleHeight,
                  holder, nullptr, nullptr, nullptr);
  headless::Image bar = headless::Snapshot(holder);
  DestroyWindow(holder);
  return bar;
}

void Paste(headless::Image& into, const headless::Image& piece, int top) {
  for (int y = 0; y < piece.height && top + y < into.height; ++y)
    for (int x = 0; x < piece.width && x < into.width; ++x)
      into.pixels[static_cast<size_t>(top + y) * into.width + x] = piece.At(x, y);
}

// The pages stacked from the top as the command panel shows them.
headless::Image StackPages(const headless::Host& host) {
  std::vector<headless::Image> pieces;
  int width = 0;
  for (const headless::RollupPageRecord& page : host.RollupPages()) {
    RECT r;
    GetClientRect(page.page, &r);
    width = std::max(width, static_cast<int>(r.right));
  }
  for (const headless::RollupPageRecord& page : host.RollupPages()) {
    const bool open = host.IsRollupOpen(page.page);
    pieces.push_back(TitleBar(page.title, open, width));
    if (open) pieces.push_back(headless::Snapshot(page.page));
  }
  headless::Image panel;
  panel.width = width;
  for (const auto& piece : pieces) panel.height += piece.height + gap;
  panel.pixels.assign(static_cast<size_t>(panel.width) * panel.height, panelGrey);
  int top = 0;
  for (const auto& piece : pieces) {
    Paste(panel, piece, top);
    top += piece.height + gap;
  }
  return panel;
}

// The expression object made on the example face in the create panel, its
// About and Scales rollups rolled up.
bool OpenObjectPanel(headless::Host& host, const Plugin& plugin, std::ostream& err) {
  ObjMesh neutral;
  std::string problem;
  if (!ReadBuiltInFace(neutral, &problem)) {
    err << "mirova: " << problem << "\n";
    return false;
  }
  INode* face = host.CreateNode(MakeTriObject(neutral), "Face");
  if (!CreateFromPanel(host, plugin.ExpressionObjectClass(), face)) {
    err << "mirova: the expression object was not created\n";
    return false;
  }
  for (const char* title : {"About", "Scales"})
    if (HWND page = RollupPage(host, title)) host.SetRollupOpen(page, false);
  return true;
}

}  // namespace

int RunPanel(const Args& args, std::ostream& out, std::ostream& err) {
  std::string which, output, problem;
  CommandLine line("panel");
  line.App()
      .add_option("PANEL", which, "utility: the motion-control utility's panel; object: the expression object's")
      ->type_name("utility|object")
      ->check(CLI::IsMember({"utility", "object"}).description(""));
  line.App().add_option("-o", output, "The picture (panel-utility.png or panel-object.png)")->type_name("OUT.png");
  const int parsed = line.Parse(args, out, err);
  if (parsed >= 0) return parsed;
  if (which.empty()) return line.Refuse("say which panel: utility or object", err);
  if (output.empty()) output = "panel-" + which + ".png";
  // The utility comes from the plug-in's class table, the expression object
  // only from the command line's build of it.
  Plugin plugin(which == "utility" ? PluginPath(Args()) : ToolPluginPath());
  if (!plugin.Loaded()) {
    ReportNotLoaded(plugin, err);
    return EXIT_USAGE;
  }
  headless::Host host;
  MessageLog messages(err);
  const bool opened = which == "utility" ? host.OpenUtility(plugin.MotionControlClass())
                                         : OpenObjectPanel(host, plugin, err);
  if (!opened || host.RollupPages().empty()) {
    if (which == "utility") err << "mirova: " << plugin.Path() << " does not open the motion-control utility\n";
    return EXIT_REFUSED;
  }
  const headless::Image picture = StackPages(host);
  if (which == "utility") host.CloseUtility();
  else host.LeaveCreatePanel();
  return WritePicture(picture, output, err);
}

}  // namespace cli
