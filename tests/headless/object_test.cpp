// Objects of the stand-in: shared and private channels, locks, validity,
// object states, conversion and the derived object.
#include <classdir.h>
#include <gtest/gtest.h>
#include <headless_host.h>
#include <standard_geometry.h>
#include <triobj.h>

namespace {

TriObject* Triangle() {
  TriObject* tri = CreateNewTriObject();
  tri->mesh.setNumVerts(3);
  tri->mesh.setVert(1, 1, 0, 0);
  tri->mesh.setVert(2, 0, 1, 0);
  tri->mesh.setNumFaces(1);
  tri->mesh.faces[0].setVerts(0, 1, 2);
  return tri;
}

TEST(Object, ShallowCopySharesChannelsUntilReadiedForChange) {
  TriObject* source = Triangle();
  source->SetChannelValidity(GEOM_CHAN_NUM, Interval(0, 100));
  auto* copy = static_cast<TriObject*>(source->MakeShallowCopy(ALL_CHANNELS));
  EXPECT_EQ(copy->ClassID(), triObjectClassID);
  EXPECT_EQ(copy->mesh.verts, source->mesh.verts);  // shared, not copied
  EXPECT_EQ(copy->ChannelValidity(0, GEOM_CHAN_NUM), Interval(0, 100));

  // An unlocked channel counts as the copy's own: nothing is copied.
  copy->ReadyChannelsForMod(GEOM_CHANNEL);
  EXPECT_EQ(copy->mesh.verts, source->mesh.verts);
  copy->LockChannels(ALL_CHANNELS);
  copy->ReadyChannelsForMod(GEOM_CHANNEL);
  EXPECT_NE(copy->mesh.verts, source->mesh.verts);
  EXPECT_EQ(copy->mesh.faces, source->mesh.faces);  // the topology stays shared
  EXPECT_EQ(copy->GetChannelLocks(), static_cast<ChannelMask>(ALL_CHANNELS & ~GEOM_CHANNEL));
  copy->SetPoint(1, Point3(5, 5, 5));
  EXPECT_EQ(source->GetPoint(1), Point3(1, 0, 0));

  // The copy outlives its source's data.
  source->DeleteThis();
  EXPECT_EQ(copy->mesh.faces[0].getVert(2), 2u);
  copy->DeleteThis();
}

TEST(Object, ValidityNarrowsAndLocksAreFlags) {
  TriObject* tri = Triangle();
  EXPECT_TRUE(tri->IsObjectLocked());  // objects start locked
  EXPECT_EQ(tri->ObjectValidity(0), FOREVER);
  tri->UpdateValidity(GEOM_CHAN_NUM, Interval(10, 20));
  tri->UpdateValidity(GEOM_CHAN_NUM, Interval(15, 30));
  EXPECT_EQ(tri->ChannelValidity(0, GEOM_CHAN_NUM), Interval(15, 20));
  EXPECT_EQ(tri->ObjectValidity(0), Interval(15, 20));
  tri->UnlockObject();
  EXPECT_FALSE(tri->IsObjectLocked());

  ObjectState os(tri);
  Matrix3 tm = TransMatrix(Point3(1, 0, 0));
  os.SetTM(&tm, Interval(0, 18));
  ObjectState copy = os;
  EXPECT_FALSE(copy.TMIsIdentity());
  EXPECT_EQ(*copy.GetTM(), tm);
  EXPECT_EQ(copy.Validity(16), Interval(15, 18));

  tri->LockObject();
  copy.DeleteObj(TRUE);  // a locked object is not the state's to delete
  EXPECT_EQ(copy.obj, nullptr);
  os.DeleteObj(FALSE);
  EXPECT_EQ(os.obj, nullptr);
}

TEST(Object, KindsOfObjectAnswerForThemselves) {
  struct Case {
    const char* name;
    Object* obj;
    int deformable, particles, converts, points;
  } cases[] = {
      {"mesh", Triangle(), 1, 0, 1, 3},
      {"box", new BoxObject(Point3(2, 4, 6)), 0, 0, 1, 0},
      {"spray", new SprayObject(7), 1, 1, 0, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.obj->IsDeformable(), c.deformable);
    EXPECT_EQ(c.obj->IsParticleSystem(), c.particles);
    EXPECT_EQ(c.obj->CanConvertToType(defObjectClassID), c.converts);
    EXPECT_EQ(c.obj->NumPoints(), c.points);
    EXPECT_EQ(c.obj->Eval(0).obj, c.obj);
    Object* mesh = c.obj->ConvertToType(0, defObjectClassID);
    EXPECT_EQ(mesh != nullptr, c.converts != 0);
    if (mesh && mesh != c.obj) {
      EXPECT_EQ(mesh->NumPoints(), 8);
      EXPECT_EQ(mesh->GetPoint(7), Point3(1, 2, 6));
      mesh->DeleteThis();
    }
    // Every class can be made by id, as loading and shallow copies do.
    auto* made = static_cast<Object*>(CreateInstance(c.obj->SuperClassID(), c.obj->ClassID()));
    EXPECT_EQ(made->ClassID(), c.obj->ClassID());
    made->DeleteThis();
    c.obj->DeleteThis();
  }
}

TEST(Object, DerivedObjectShowsItsBase) {
  headless::Host host;
  TriObject* base = Triangle();
  INode* node = host.CreateNode(base, "base");
  Object* derived = MakeObjectDerivedObject(base);
  host.CreateNode(derived, "derived");
  EXPECT_EQ(derived->SuperClassID(), static_cast<SClass_ID>(GEN_DERIVOB_CLASS_ID));
  EXPECT_EQ(derived->Eval(0).obj, base);
  EXPECT_EQ(derived->NumPoints(), 3);
  EXPECT_EQ(derived->GetPoint(2), Point3(0, 1, 0));
  EXPECT_TRUE(derived->IsDeformable());
  base->SetPoint(2, Point3(0, 2, 0));
  EXPECT_EQ(derived->GetPoint(2), Point3(0, 2, 0));
  // Deleting the base's node leaves the base alive for the derived object.
  host.DeleteNode(node);
  EXPECT_EQ(derived->NumPoints(), 3);
}

}  // namespace
