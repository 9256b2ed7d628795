#include "morph_settings.h"

#include <custcont.h>
#include <headless_controls.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "cli.h"
#include "expression.h"
#include "mirovaobj.h"

namespace cli {

namespace {

bool SplitAtEquals(const std::string& s, std::string& left, std::string& right) {
  size_t at = s.find('=');
  if (at == std::string::npos || at == 0) return false;
  left = s.substr(0, at);
  right = s.substr(at + 1);
  return true;
}

// A finite number: inf, nan and what overflows a float are not percentages.
bool ToNumber(const std::string& s, float& v) {
  char* end = nullptr;
  v = std::strtof(s.c_str(), &end);
  return !s.empty() && *end == '\0' && std::isfinite(v);
}

// The parameter the host lists under name, or -1.
int FindParameter(ExpressionObject* obj, const std::string& name) {
  for (int i = 0; i < obj->pblock->NumSubs(); ++i)
    if (name == obj->pblock->SubAnimName(i).data()) return i;
  return -1;
}

// The names the host lists the parameters under, quoted.
std::string ParameterNames(ExpressionObject* obj) {
  std::string names;
  for (int i = 0; i < obj->pblock->NumSubs(); ++i)
    names += (i ? ", \"" : "\"") + std::string(obj->pblock->SubAnimName(i).data()) + "\"";
  return names;
}

bool TypeSetting(headless::Host& host, const LibraryAccess& library, const Setting& setting, int param,
                 std::ostream& err) {
  const char* title = "";
  const ParamUIDesc* desc = library.spinnerOf(param, &title);
  HWND page = desc ? RollupPage(host, title) : nullptr;
  if (!page) return false;
  host.SetRollupOpen(page, true);
  if (!headless::TypeInCustEdit(page, desc->idEdit, setting.text)) return false;
  ISpinnerControl* spinner = GetISpinner(GetDlgItem(page, desc->idSpin));
  if (!spinner) return false;
  const float used = spinner->GetFVal();
  ReleaseISpinner(spinner);
  if (std::fabs(used - setting.percent) > 1e-5f * std::max(1.0f, std::fabs(setting.percent)))
    err << "mirova: " << setting.name << "=" << setting.text << " is outside the spinner's range "
        << desc->lowLim << " to " << desc->highLim << "; " << used << " was used\n";
  return true;
}

// A value typed for a channel whose target is not picked moves nothing.
void NoteUnpicked(ExpressionObject* obj, const Setting& setting, int param, std::ostream& err) {
  for (const ExpressionChannel& c : expressionChannels)
    if ((c.percentIndex == param || c.scaleIndex == param) && !obj->targets[c.target].object)
      err << "mirova: " << setting.name << "=" << setting.text << " drives nothing: no " << c.targetName
          << " target is picked\n";
}

}  // namespace

bool ParseSettings(const std::vector<std::string>& words, std::vector<Setting>* settings, std::string* problem) {
  for (const std::string& word : words) {
    Setting setting;
    if (!SplitAtEquals(word, setting.name, setting.text) || !ToNumber(setting.text, setting.percent)) {
      *problem = "--set wants \"PARAM=PERCENT\" with a finite number, for example \"Mouth Vertical=50\"";
      return false;
    }
    settings->push_back(setting);
  }
  return true;
}

int TypeSettings(headless::Host& host, const LibraryAccess& library, ExpressionObject* obj,
                 const std::vector<Setting>& settings, std::ostream& err) {
  for (const Setting& setting : settings) {
    int param = FindParameter(obj, setting.name);
    if (param < 0) {
      err << "mirova: no parameter is called \"" << setting.name << "\"; the parameters are "
          << ParameterNames(obj) << "\n";
      return EXIT_USAGE;
    }
    if (!TypeSetting(host, library, setting, param, err)) {
      err << "mirova: the spinner of " << setting.name << " cannot be reached\n";
      return EXIT_REFUSED;
    }
    NoteUnpicked(obj, setting, param, err);
  }
  return EXIT_OK;
}

}  // namespace cli
