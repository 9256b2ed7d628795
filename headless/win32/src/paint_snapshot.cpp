// The headless message loop's painting and pictures of windows: a window's
// surface with its visible children's drawn over it, their frames included.
#include <algorithm>
#include <set>

#include "paint_state.h"
#include "window_table.h"

namespace headless::detail {

namespace {

constexpr uint32_t kFrameDark = 0x404040;
constexpr uint32_t kFrameLight = 0xFFFFFF;
constexpr uint32_t kFrameShadow = 0x808080;

std::vector<HWND> ChildrenOf(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  return w ? w->children : std::vector<HWND>();
}

bool Shown(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  return w && (w->style & WS_VISIBLE);
}

void PaintTree(HWND hwnd) {
  PaintState* p = PaintStateOf(hwnd);
  if (p && p->Pending()) SendMessageA(hwnd, WM_PAINT, 0, 0);
  for (HWND child : ChildrenOf(hwnd))
    if (Shown(child)) PaintTree(child);
}

void Put(headless::Image& image, int x, int y, const RECT& clip, uint32_t colour) {
  if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom)
    image.pixels[static_cast<size_t>(y) * image.width + x] = colour;
}

void FrameLine(headless::Image& image, const RECT& r, const RECT& clip, uint32_t topLeft,
               uint32_t bottomRight) {
  for (int x = r.left; x < r.right; ++x) {
    Put(image, x, r.top, clip, topLeft);
    Put(image, x, r.bottom - 1, clip, bottomRight);
  }
  for (int y = r.top; y < r.bottom; ++y) {
    Put(image, r.left, y, clip, topLeft);
    Put(image, r.right - 1, y, clip, bottomRight);
  }
}

// A child's border: a plain line, or a sunken edge for a client edge.
void DrawFrame(headless::Image& image, HWND child, POINT at, const RECT& clip) {
  WindowData* w = LookUpWindow(child);
  RECT c = ClientRectOf(child);
  RECT r = {at.x, at.y, at.x + c.right, at.y + c.bottom};
  auto grow = [](RECT& g) { g = {g.left - 1, g.top - 1, g.right + 1, g.bottom + 1}; };
  if (w->exStyle & WS_EX_CLIENTEDGE) {
    grow(r);
    FrameLine(image, r, clip, kFrameDark, 0xD4D0C8);
    grow(r);
    FrameLine(image, r, clip, kFrameShadow, kFrameLight);
  }
  if (w->style & WS_BORDER) {
    grow(r);
    FrameLine(image, r, clip, kFrameDark, kFrameDark);
  }
}

// Copies the window's surface to `at` in the image, within clip, then its
// visible children over it.
void Compose(headless::Image& image, HWND hwnd, POINT at, RECT clip) {
  PaintState* p = PaintStateOf(hwnd);
  if (!p) return;
  const Surface& s = p->surface;
  RECT area = {std::max<LONG>(clip.left, at.x), std::max<LONG>(clip.top, at.y),
               std::min<LONG>(clip.right, at.x + s.width),
               std::min<LONG>(clip.bottom, at.y + s.height)};
  for (int y = area.top; y < area.bottom && area.left < area.right; ++y)
    std::copy_n(s.pixels.begin() + static_cast<ptrdiff_t>(y - at.y) * s.width + (area.left - at.x),
                area.right - area.left, image.pixels.begin() + static_cast<ptrdiff_t>(y) * image.width + area.left);
  for (HWND child : ChildrenOf(hwnd)) {
    if (!Shown(child)) continue;
    POINT o = ClientOriginInParent(child);
    POINT childAt = {at.x + o.x, at.y + o.y};
    DrawFrame(image, child, childAt, area);
    Compose(image, child, childAt, area);
  }
}

}  // namespace

}  // namespace headless::detail

void headless::PaintPending() {
  std::set<HWND> painted;
  for (bool again = true; again;) {
    again = false;
    // Handles count up, so parents come before the children they made.
    for (HWND hwnd : headless::detail::AllWindows()) {
      if (painted.count(hwnd) || !IsWindowVisible(hwnd)) continue;
      headless::detail::PaintState* p = headless::detail::PaintStateOf(hwnd);
      if (!p || !p->Pending()) continue;
      painted.insert(hwnd);
      SendMessageA(hwnd, WM_PAINT, 0, 0);
      again = true;
    }
  }
}

headless::Image headless::Snapshot(HWND window) {
  Image image;
  if (!IsWindow(window)) return image;
  headless::detail::PaintTree(window);
  if (!IsWindow(window)) return image;
  RECT client = headless::detail::ClientRectOf(window);
  image.width = client.right;
  image.height = client.bottom;
  image.pixels.assign(static_cast<size_t>(image.width) * image.height, 0);
  headless::detail::Compose(image, window, {0, 0}, client);
  return image;
}
