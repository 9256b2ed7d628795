// mirova panel: the command panel as the user sees it, as one picture: the
// motion-control utility's panel, or the expression object's five rollups
// with About and Scales rolled up to their title bars.
#include <headless.h>
#include <headless_gdi.h>
#include <headless_host.h>

#include <algorithm>

#include "commands.h"
#include "expression.h"
#include "picture_file.h"

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
bool OpenObjectPanel(Session& session, std::ostream& err) {
  Face face;
  if (MakeFace(session, "", 30, &face, err) != EXIT_OK) return false;
  for (const char* title : {"About", "Scales"})
    if (HWND page = RollupPage(session.host, title)) session.host.SetRollupOpen(page, false);
  return true;
}

class PanelCommand : public Command {
 public:
  void Define(CLI::App& app) override {
    app.add_option("PANEL", which, "utility: the motion-control utility's panel; object: the expression object's")
        ->required()
        ->type_name("utility|object")
        ->check(OneOf({"utility", "object"}));
    app.add_option("-o", output, "The picture (panel-utility.png or panel-object.png)")->type_name("OUT.png");
  }

  std::string Check() override {
    std::string problem;
    OutputFormat(Output(), "png", false, {"png"}, &problem);
    return problem;
  }

  std::string Output() const override { return output.empty() ? "panel-" + which + ".png" : output; }

  int Run(std::ostream&, std::ostream& err) override {
    const bool utility = which == "utility";
    // The utility comes from the plug-in's class table, the expression
    // object only from the command line's build of it.
    Session session(utility ? PluginPath() : ToolPluginPath(), err);
    if (!session.Ready()) return EXIT_USAGE;
    headless::Host& host = session.host;
    const bool opened = utility ? host.OpenUtility(session.plugin.MotionControlClass()) : OpenObjectPanel(session, err);
    if (!opened || host.RollupPages().empty()) {
      if (utility) err << "mirova: " << session.plugin.Path() << " does not open the motion-control utility\n";
      return EXIT_REFUSED;
    }
    const headless::Image picture = StackPages(host);
    if (utility) host.CloseUtility();
    else host.LeaveCreatePanel();
    return WritePicture(picture, Output(), err);
  }

 private:
  std::string which, output;
};

}  // namespace

std::unique_ptr<Command> MakePanelCommand() { return std::make_unique<PanelCommand>(); }

}  // namespace cli
