// Stand-in: basic host types and identifiers.
#ifndef HEADLESS_MAXTYPES_H
#define HEADLESS_MAXTYPES_H
#include <windows.h>
#ifdef _WIN32
#include <tchar.h>  // _T, as the host's headers bring it
#endif

typedef int TimeValue;  // ticks, 4800 a second
#define TIME_TICKSPERSEC 4800
#define TIME_NegInfinity TimeValue(0x80000000)
#define TIME_PosInfinity TimeValue(0x7fffffff)

typedef ULONG SClass_ID;

class Class_ID {
 public:
  Class_ID() : a(0xffffffff), b(0xffffffff) {}
  Class_ID(ULONG aa, ULONG bb) : a(aa), b(bb) {}
  ULONG PartA() const { return a; }
  ULONG PartB() const { return b; }
  bool operator==(const Class_ID& c) const { return a == c.a && b == c.b; }
  bool operator!=(const Class_ID& c) const { return !(*this == c); }
  bool operator<(const Class_ID& c) const { return a < c.a || (a == c.a && b < c.b); }

 private:
  ULONG a, b;
};

// Super class ids.
#define GEN_DERIVOB_CLASS_ID 0x00000002
#define OBJECT_CLASS_ID 0x00000003
#define GEOMOBJECT_CLASS_ID 0x00000010
#define CAMERA_CLASS_ID 0x00000020
#define LIGHT_CLASS_ID 0x00000030
#define SHAPE_CLASS_ID 0x00000040
#define UTILITY_CLASS_ID 0x00001020
#define CTRL_FLOAT_CLASS_ID 0x00009003
#define CTRL_POSITION_CLASS_ID 0x0000900b
#define CTRL_ROTATION_CLASS_ID 0x0000900c
#define CTRL_SCALE_CLASS_ID 0x0000900d
#define CTRL_MATRIX3_CLASS_ID 0x00009008
#define PARAMETER_BLOCK_CLASS_ID 0x00000082

// Object class ids.
#define TRIOBJ_CLASS_ID 0x0009
#define SIMPLE_CAM_CLASS_ID 0x1001
#define LOOKAT_CAM_CLASS_ID 0x1002
#define OMNI_LIGHT_CLASS_ID 0x1011
extern Class_ID defObjectClassID;  // the triangle mesh

#endif
