// Stand-in: objects of the scene. (Minimal hierarchy; the full object
// interface is being written with the expression object.)
#ifndef STANDIN_OBJECT_H
#define STANDIN_OBJECT_H
#include <ref.h>

class BaseObject : public ReferenceTarget {};
class Object : public BaseObject {};
class GeomObject : public Object {};

#endif
