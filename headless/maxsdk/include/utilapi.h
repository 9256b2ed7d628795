// Stand-in: utility plug-ins.
#ifndef HEADLESS_UTILAPI_H
#define HEADLESS_UTILAPI_H
#include <strclass.h>

class Interface;

// The host's side of an open utility.
class IUtil {
 public:
  virtual ~IUtil() {}
  virtual void CloseUtility() = 0;
};

// A utility plug-in: the host calls BeginEditParams when the user opens it in
// the utility panel and EndEditParams when it closes.
class UtilityObj {
 public:
  virtual void BeginEditParams(Interface* ip, IUtil* iu) = 0;
  virtual void EndEditParams(Interface* ip, IUtil* iu) = 0;
  virtual void SelectionSetChanged(Interface*, IUtil*) {}
  virtual void DeleteThis() = 0;
  virtual void SetStartupParam(MSTR) {}

 protected:
  ~UtilityObj() = default;
};

#endif
