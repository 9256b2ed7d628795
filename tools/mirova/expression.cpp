#include "expression.h"

#include <headless.h>
#include <triobj.h>

#include "bundled_face.h"
#include "cli.h"
#include "fault_message.h"
#include "file_names.h"
#include "resource.h"

namespace cli {

ExpressionObject* CreateFromPanel(headless::Host& host, ClassDesc* cd, INode* node) {
  host.Select(node);
  if (!cd || !host.CreateFromPanel(cd)) return nullptr;
  Object* made = node->GetObjectRef();
  if (!made || made->ClassID() != EXPRESSION_OBJECT_CLASS_ID) return nullptr;
  return static_cast<ExpressionObject*>(made);
}

int MakeFace(Session& session, const std::string& neutralPath, int fps, Face* face, std::ostream& err) {
  std::string problem;
  if (!ReadNeutral(neutralPath, face->neutral, &problem)) {
    err << "mirova: " << problem << "\n";
    return EXIT_USAGE;
  }
  for (const std::string& warning : face->neutral.warnings) err << "mirova: " << warning << "\n";
  session.host.SetFrameRate(fps);
  INode* node = session.host.CreateNode(MakeTriObject(face->neutral), "Face");
  face->obj = CreateFromPanel(session.host, session.plugin.ExpressionObjectClass(), node);
  if (face->obj) return EXIT_OK;
  err << "mirova: the expression object cannot be created on the Neutral\n";
  return EXIT_REFUSED;
}

HWND RollupPage(const headless::Host& host, const std::string& title) {
  for (const headless::RollupPageRecord& page : host.RollupPages())
    if (page.title == title) return page.page;
  return nullptr;
}

int OpenRecording(Session& session, ExpressionObject* obj, const std::string& path, std::ostream& err) {
  HWND rollup = RollupPage(session.host, "Face Tracker");
  if (!rollup) {
    err << "mirova: the expression object's Face Tracker rollup did not open\n";
    return EXIT_REFUSED;
  }
  const size_t shown = session.messages.Boxes().size();
  headless::AnswerNextOpenDialog(path);
  if (!headless::Click(rollup, IDC_TRACKER_OPEN) || headless::OpenDialogs().back().cancelled) {
    err << "mirova: cannot open " << Printable(path) << "\n";
    return EXIT_USAGE;
  }
  PrintReadFault(err, path, obj->trackerInput.data.fault);
  // The library's own words do not say which marker it missed.
  const auto& boxes = session.messages.Boxes();
  for (size_t i = shown; i < boxes.size(); ++i)
    if (boxes[i].text == "Unable to find inertial marker in data")
      err << "mirova: " << Printable(path) << ": no marker is named nose_bridge, the one every position is held "
          << "steady against\n";
  return EXIT_OK;
}

}  // namespace cli
