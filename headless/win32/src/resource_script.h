// The module's resource script, preprocessed as a resource compiler reads it
// (ids and styles are numbers or expressions of numbers), parsed into the
// dialog and menu templates the stand-in builds windows and menus from
// (internal to win32).
#ifndef HEADLESS_RESOURCE_SCRIPT_H
#define HEADLESS_RESOURCE_SCRIPT_H
#include <windows.h>

#include <string>
#include <vector>

namespace headless::detail {

// A resource's name: a number, or a name compared without regard to case.
struct ResourceName {
  int id = 0;
  std::string name;  // empty for a numbered resource
  // name is what a Win32 call passes: MAKEINTRESOURCE(id), "#id" or a name.
  bool Matches(LPCSTR requested) const;
};

struct DialogItemTemplate {
  std::string className;
  std::string text;
  int id = 0;
  DWORD style = 0;  // WS_CHILD and WS_VISIBLE included, as the compiler adds them
  DWORD exStyle = 0;
  RECT rect = {0, 0, 0, 0};  // left, top, width and height in dialog units
};

struct DialogTemplate {
  ResourceName name;
  bool extended = false;  // DIALOGEX
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect = {0, 0, 0, 0};  // left, top, width and height in dialog units
  bool hasCaption = false;
  std::string caption;
  int fontSize = 0;  // points; 0 without a FONT statement
  std::string fontFace;
  std::vector<DialogItemTemplate> items;
};

struct MenuItemTemplate {
  std::string text;
  int id = 0;
  UINT flags = 0;  // MF_POPUP, MF_SEPARATOR, MF_CHECKED, MF_GRAYED ...
  std::vector<MenuItemTemplate> items;  // a popup's own items
};

struct MenuTemplate {
  ResourceName name;
  std::vector<MenuItemTemplate> items;
};

struct ResourceScript {
  std::vector<DialogTemplate> dialogs;
  std::vector<MenuTemplate> menus;
  std::string error;  // "line N: what", empty when the whole script was read

  const DialogTemplate* FindDialog(LPCSTR name) const;
  const MenuTemplate* FindMenu(LPCSTR name) const;
};

// Reads a preprocessed script. Version information, string tables and other
// resources the stand-in does not build are skipped; anything it cannot read
// stops the parse with an error (the templates read before it are kept).
ResourceScript ParseResourceScript(const std::string& text);

// The parsed script of a module, parsed once per module; an error in it is
// reported on standard error, naming the module. Valid while the module is
// loaded.
const ResourceScript& ModuleResources(HINSTANCE module);

}  // namespace headless::detail

#endif
