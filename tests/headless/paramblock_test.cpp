// Parameter blocks: values and keys, controllers, owners' names and units,
// cloning and the upgrade of an old version.
#include <gtest/gtest.h>
#include <headless_host.h>
#include <iparamb.h>

#include <vector>

namespace {

ParamBlockDescID threeFloats[] = {
    {TYPE_FLOAT, nullptr, TRUE, 0}, {TYPE_FLOAT, nullptr, TRUE, 1}, {TYPE_FLOAT, nullptr, FALSE, 2}};

// Owns a block as reference 0, names its parameters and hears its changes.
class Owner : public ReferenceTarget {
 public:
  explicit Owner(IParamBlock* block = nullptr) {
    if (block) MakeRefByID(FOREVER, 0, block);
  }
  ~Owner() override { DeleteAllRefsFromMe(); }
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int) override { return block; }
  void SetReference(int, RefTargetHandle t) override { block = static_cast<IParamBlock*>(t); }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID& part, RefMessage m) override {
    if (m == REFMSG_GET_PARAM_NAME) {
      auto* q = reinterpret_cast<GetParamName*>(part);
      q->name.printf("param %d", q->index);
      return REF_STOP;
    }
    if (m == REFMSG_GET_PARAM_DIM) {
      reinterpret_cast<GetParamDim*>(part)->dim = stdPercentDim;
      return REF_STOP;
    }
    heard.push_back(m);
    return REF_SUCCEED;
  }
  IParamBlock* block = nullptr;
  std::vector<RefMessage> heard;
};

float ValueAt(IParamBlock* block, int i, TimeValue t, Interval* valid = nullptr) {
  float v = -1.0f;
  Interval iv = FOREVER;
  EXPECT_TRUE(block->GetValue(i, t, v, iv));
  if (valid) *valid = iv;
  return v;
}

class ParamBlockTest : public testing::Test {
 protected:
  void TearDown() override { AnimateOff(); }
  headless::Host host;
};

TEST_F(ParamBlockTest, NewBlockHoldsZeroConstants) {
  Owner owner(CreateParameterBlock(threeFloats, 3, 7));
  IParamBlock* block = owner.block;
  EXPECT_EQ(block->NumParams(), 3);
  EXPECT_EQ(block->GetVersion(), 7u);
  EXPECT_EQ(block->SuperClassID(), static_cast<SClass_ID>(PARAMETER_BLOCK_CLASS_ID));
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    Interval valid;
    EXPECT_EQ(ValueAt(block, i, 100, &valid), 0.0f);
    EXPECT_EQ(valid, FOREVER);
    EXPECT_EQ(block->GetController(i), nullptr);
  }
  float v = 0;
  Interval iv = FOREVER;
  EXPECT_FALSE(block->GetValue(3, 0, v, iv));
  EXPECT_FALSE(block->GetValue(-1, 0, v, iv));
  EXPECT_FALSE(block->SetValue(3, 0, 1.0f));
}

TEST_F(ParamBlockTest, SettingOffAnimateModeKeepsAConstant) {
  Owner owner(CreateParameterBlock(threeFloats, 3));
  EXPECT_TRUE(owner.block->SetValue(0, 160, 0.25f));
  EXPECT_EQ(owner.block->GetController(0), nullptr);
  EXPECT_EQ(ValueAt(owner.block, 0, -5000), 0.25f);
  EXPECT_EQ(owner.heard, std::vector<RefMessage>{REFMSG_CHANGE});
}

TEST_F(ParamBlockTest, FirstSetInAnimateModeMakesAKeyedController) {
  Owner owner(CreateParameterBlock(threeFloats, 3));
  owner.block->SetValue(1, 0, 0.5f);
  AnimateOn();
  owner.block->SetValue(1, 100, 1.0f);
  Control* c = owner.block->GetController(1);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->NumKeys(), 1);
  EXPECT_EQ(c->GetKeyTime(0), 100);
  owner.block->SetValue(1, 300, 3.0f);
  EXPECT_EQ(c->NumKeys(), 2);
  Interval valid;
  EXPECT_FLOAT_EQ(ValueAt(owner.block, 1, 200, &valid), 2.0f);
  EXPECT_EQ(valid, Interval(200, 200));
  EXPECT_EQ(owner.block->GetReference(1), c);
  EXPECT_EQ(owner.block->NumSubs(), 2);  // the animatable ones
  EXPECT_EQ(owner.block->SubAnim(1), c);
  // The controller's change reaches the owner through the block.
  EXPECT_GE(owner.heard.size(), 2u);
  EXPECT_EQ(owner.heard.back(), static_cast<RefMessage>(REFMSG_CHANGE));
}

TEST_F(ParamBlockTest, ParameterThatIsNotAnimatableStaysConstant) {
  Owner owner(CreateParameterBlock(threeFloats, 3));
  AnimateOn();
  owner.block->SetValue(2, 100, 4.0f);
  EXPECT_EQ(owner.block->GetController(2), nullptr);
  EXPECT_EQ(ValueAt(owner.block, 2, 0), 4.0f);
}

TEST_F(ParamBlockTest, OwnerNamesParametersAndGivesTheirUnits) {
  Owner owner(CreateParameterBlock(threeFloats, 3));
  EXPECT_STREQ(owner.block->SubAnimName(1).data(), "param 1");
  EXPECT_EQ(owner.block->GetParamDimension(0), stdPercentDim);
  EXPECT_FLOAT_EQ(stdPercentDim->Convert(1.0f), 100.0f);
  EXPECT_FLOAT_EQ(stdPercentDim->UnConvert(50.0f), 0.5f);
  EXPECT_FLOAT_EQ(defaultDim->Convert(0.5f), 0.5f);
  // A block nobody owns answers with the defaults.
  IParamBlock* orphan = CreateParameterBlock(threeFloats, 3);
  EXPECT_EQ(orphan->GetParamDimension(0), defaultDim);
  EXPECT_STREQ(orphan->SubAnimName(0).data(), "");
  orphan->DeleteThis();
}

TEST_F(ParamBlockTest, CloneCopiesValuesAndClonesSharedControllerOnce) {
  Owner owner(CreateParameterBlock(threeFloats, 3, 2));
  owner.block->SetValue(2, 0, 9.0f);
  Control* shared = NewDefaultFloatController();
  owner.block->SetController(0, shared);
  owner.block->SetController(1, shared);
  AnimateOn();
  owner.block->SetValue(0, 50, 5.0f);
  AnimateOff();

  RemapDir remap;
  Owner copy(static_cast<IParamBlock*>(owner.block->Clone(remap)));
  EXPECT_EQ(copy.block->GetVersion(), 2u);
  EXPECT_EQ(ValueAt(copy.block, 2, 0), 9.0f);
  Control* c0 = copy.block->GetController(0);
  ASSERT_NE(c0, nullptr);
  EXPECT_NE(c0, shared);
  EXPECT_EQ(copy.block->GetController(1), c0);
  EXPECT_EQ(c0->NumKeys(), 1);
  EXPECT_EQ(ValueAt(copy.block, 1, 50), 5.0f);
}

TEST_F(ParamBlockTest, RemovedControllerLeavesTheValueAtTheCurrentTime) {
  Owner owner(CreateParameterBlock(threeFloats, 3));
  AnimateOn();
  owner.block->SetValue(0, 0, 0.0f);
  owner.block->SetValue(0, 100, 10.0f);
  AnimateOff();
  host.SetTime(50);
  owner.block->RemoveController(0);
  EXPECT_EQ(owner.block->GetController(0), nullptr);
  EXPECT_FLOAT_EQ(ValueAt(owner.block, 0, 0), 5.0f);
}

// Old table: ids 0 and 1. New table: ids 1, 0 and 7 (reordered, one new).
ParamBlockDescID oldDesc[] = {{TYPE_FLOAT, nullptr, TRUE, 0}, {TYPE_FLOAT, nullptr, TRUE, 1}};
ParamBlockDescID newDesc[] = {
    {TYPE_FLOAT, nullptr, TRUE, 1}, {TYPE_FLOAT, nullptr, TRUE, 0}, {TYPE_FLOAT, nullptr, TRUE, 7}};

TEST_F(ParamBlockTest, UpdateMatchesParametersById) {
  Owner owner(CreateParameterBlock(oldDesc, 2, 0));
  owner.block->SetValue(0, 0, 0.25f);
  AnimateOn();
  owner.block->SetValue(1, 100, 0.75f);
  AnimateOff();
  Control* animated = owner.block->GetController(1);

  Owner updated(UpdateParameterBlock(oldDesc, 2, owner.block, newDesc, 3, 1));
  EXPECT_EQ(updated.block->GetVersion(), 1u);
  EXPECT_EQ(updated.block->NumParams(), 3);
  EXPECT_EQ(updated.block->GetController(0), animated);  // id 1 keeps its track
  EXPECT_EQ(ValueAt(updated.block, 1, 0), 0.25f);       // id 0 its constant
  EXPECT_EQ(ValueAt(updated.block, 2, 0), 0.0f);        // id 7 is new
}

TEST_F(ParamBlockTest, PostLoadCallbackUpgradesOnlyAnOldVersion) {
  ParamVersionDesc versions[] = {ParamVersionDesc(oldDesc, 2, 0)};
  ParamVersionDesc current(newDesc, 3, 1);
  struct Case {
    const char* name;
    ParamBlockDescID* desc;
    int count;
    DWORD version;
    bool upgraded;
  } cases[] = {
      {"old version", oldDesc, 2, 0, true},
      {"current version", newDesc, 3, 1, false},
      {"unknown version", oldDesc, 2, 5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Owner owner(CreateParameterBlock(c.desc, c.count, c.version));
    IParamBlock* before = owner.block;
    ParamBlockPLCB callback(versions, 1, &current, &owner, 0);
    callback.proc(nullptr);
    EXPECT_EQ(owner.block != before, c.upgraded);
    EXPECT_EQ(owner.block->NumParams(), c.upgraded ? 3 : c.count);
  }
}

}  // namespace
