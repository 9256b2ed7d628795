// Parameter maps on a rollup page of the headless host: spinners that show a
// block's parameters at the current time and set them from the user's edits.
#include <gtest/gtest.h>
#include <headless_controls.h>
#include <headless_host.h>
#include <iparamm.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "control_dialogs.h"

namespace {

using namespace control_dialogs;

ParamBlockDescID twoFloats[] = {{TYPE_FLOAT, nullptr, TRUE, 0}, {TYPE_FLOAT, nullptr, TRUE, 1}};

// Owns a block as its one reference.
class Owner : public ReferenceTarget {
 public:
  Owner() { MakeRefByID(FOREVER, 0, CreateParameterBlock(twoFloats, 2)); }
  ~Owner() override { DeleteAllRefsFromMe(); }
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int) override { return block; }
  void SetReference(int, RefTargetHandle t) override { block = static_cast<IParamBlock*>(t); }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override {
    return REF_SUCCEED;
  }
  float At(int i, TimeValue t) {
    float v = -1.0f;
    Interval valid = FOREVER;
    block->GetValue(i, t, v, valid);
    return v;
  }
  IParamBlock* block = nullptr;
};

class ParamMapTest : public testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<headless::Host>();
    openAtStart = headless::OpenCustomControlInterfaces();
    owner.block->SetValue(0, 0, 0.5f);
    owner.block->SetValue(1, 0, 2.0f);
  }
  void TearDown() override {
    if (map) DestroyCPParamMap(map);
    AnimateOff();
    host.reset();
    EXPECT_EQ(headless::OpenCustomControlInterfaces(), openAtStart);
  }
  void Create(DWORD flags = 0) {
    map = CreateCPParamMap(descs, 2, owner.block, host.get(), Module(), MAKEINTRESOURCE(kPage),
                           "Percentages", flags);
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(host->RollupPages().size(), 1u);
    page = host->RollupPages()[0].page;
  }
  std::string Shown(int editId) const { return headless::Text(page, editId); }

  std::unique_ptr<headless::Host> host;
  Owner owner;
  ParamUIDesc descs[2] = {
      ParamUIDesc(0, EDITTYPE_FLOAT, kEditA, kSpinA, 0.0f, 100.0f, 0.1f, stdPercentDim),
      ParamUIDesc(1, EDITTYPE_FLOAT, kEditB, kSpinB, -99999.0f, 99999.0f, 1.0f, stdPercentDim)};
  IParamMap* map = nullptr;
  HWND page = nullptr;
  int openAtStart = 0;
};

TEST_F(ParamMapTest, APageShowsEachParameterThroughItsDimension) {
  Create();
  const headless::RollupPageRecord& record = host->RollupPages()[0];
  EXPECT_EQ(record.title, "Percentages");
  EXPECT_EQ(record.param, reinterpret_cast<LPARAM>(map));
  EXPECT_TRUE(host->IsRollupOpen(page));
  EXPECT_EQ(Shown(kEditA), "50.0");
  EXPECT_EQ(Shown(kEditB), "200.0");
  EXPECT_FLOAT_EQ(headless::SpinnerValue(page, kSpinA), 50.0f);
}

TEST_F(ParamMapTest, APageAppendedClosedIsOutOfReachUntilTheUserOpensIt) {
  Create(APPENDROLL_CLOSED);
  EXPECT_FALSE(host->IsRollupOpen(page));
  EXPECT_FALSE(IsWindowVisible(page));
  EXPECT_FALSE(headless::TypeInCustEdit(page, kEditA, "10"));
  host->SetRollupOpen(page, true);
  EXPECT_TRUE(host->IsRollupOpen(page));
  EXPECT_TRUE(headless::TypeInCustEdit(page, kEditA, "10"));
  EXPECT_FLOAT_EQ(owner.At(0, 0), 0.1f);
  host->SetRollupOpen(page, false);
  EXPECT_FALSE(IsWindowVisible(page));
  EXPECT_FALSE(host->IsRollupOpen(nullptr));
}

TEST_F(ParamMapTest, SpinnersFollowTheBlockWhateverChangesIt) {
  Create();
  IParamBlock* second = CreateParameterBlock(twoFloats, 2);
  Owner other;
  other.block->SetValue(0, 0, 0.75f);
  struct Case {
    const char* name;
    std::function<void()> change;
    const char* shown;  // parameter 0 afterwards
  };
  const Case cases[] = {
      {"value set", [&] { owner.block->SetValue(0, 0, 0.25f); }, "25.0"},
      {"key in animate mode",
       [&] {
         AnimateOn();
         owner.block->SetValue(0, 0, 0.2f);
         owner.block->SetValue(0, 1000, 0.6f);
         AnimateOff();
       },
       "20.0"},
      {"time slider moved", [&] { host->SetTime(500); }, "40.0"},
      {"key set on the controller",
       [&] {
         float v = 0.9f;
         AnimateOn();
         owner.block->GetController(0)->SetValue(500, &v);
         AnimateOff();
       },
       "90.0"},
      {"another block", [&] { map->SetParamBlock(other.block); }, "75.0"},
      {"the other block changes", [&] { other.block->SetValue(0, 0, 0.05f); }, "5.0"},
      {"no block", [&] { map->SetParamBlock(nullptr); }, "5.0"},
      {"the old block changes unseen", [&] { other.block->SetValue(0, 0, 0.5f); }, "5.0"},
      {"back to the first", [&] { map->SetParamBlock(owner.block); }, "90.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.change();
    EXPECT_EQ(Shown(kEditA), c.shown);
  }
  second->DeleteThis();
}

// As the host's maps do: a change invalidates the page, whose spinners take
// the block's values when it is painted, so keys set by the thousand are
// shown once.
TEST_F(ParamMapTest, ChangesInvalidateThePageWhichShowsThemWhenPainted) {
  Create();
  UpdateWindow(page);
  ISpinnerControl* spinner = GetISpinner(GetDlgItem(page, kSpinA));
  ASSERT_NE(spinner, nullptr);
  AnimateOn();
  for (TimeValue t = 0; t < 1000; t += 10) owner.block->SetValue(0, t, 0.25f);
  AnimateOff();
  host->SetTime(500);
  EXPECT_TRUE(GetUpdateRect(page, nullptr, FALSE));
  EXPECT_FLOAT_EQ(spinner->GetFVal(), 50.0f);
  UpdateWindow(page);
  EXPECT_FALSE(GetUpdateRect(page, nullptr, FALSE));
  EXPECT_FLOAT_EQ(spinner->GetFVal(), 25.0f);
  ReleaseISpinner(spinner);
}

TEST_F(ParamMapTest, TheUsersEditSetsTheParameterAtTheCurrentTime) {
  Create();
  struct Case {
    const char* name;
    bool animate;
    TimeValue time;
    std::function<bool()> edit;
    int index;
    float value;  // the parameter at time afterwards
    bool keyed;
  };
  const Case cases[] = {
      {"typed", false, 0, [&] { return headless::TypeInCustEdit(page, kEditA, "30"); }, 0, 0.3f,
       false},
      {"typed above the range", false, 0,
       [&] { return headless::TypeInCustEdit(page, kEditA, "250"); }, 0, 1.0f, false},
      {"dragged", false, 0, [&] { return headless::DragSpinner(page, kSpinB, -3); }, 1, 1.97f,
       false},
      {"typed in animate mode", true, 320,
       [&] { return headless::TypeInCustEdit(page, kEditA, "40"); }, 0, 0.4f, true},
      {"not a number", true, 320, [&] { return headless::TypeInCustEdit(page, kEditA, "x"); }, 0,
       0.4f, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host->SetTime(c.time);
    if (c.animate) AnimateOn();
    ASSERT_TRUE(c.edit());
    AnimateOff();
    EXPECT_NEAR(owner.At(c.index, c.time), c.value, 1e-5f);
    Control* track = owner.block->GetController(c.index);
    EXPECT_EQ(track != nullptr, c.keyed);
    if (track) {
      ASSERT_EQ(track->NumKeys(), 1);
      EXPECT_EQ(track->GetKeyTime(0), c.time);
    }
  }
}

TEST_F(ParamMapTest, EditsWithoutABlockChangeNothing) {
  Create();
  map->SetParamBlock(nullptr);
  EXPECT_EQ(map->GetParamBlock(), nullptr);
  EXPECT_TRUE(headless::TypeInCustEdit(page, kEditA, "10"));
  EXPECT_FLOAT_EQ(owner.At(0, 0), 0.5f);
}

TEST_F(ParamMapTest, DestroyingTheMapTakesItsPageAndLeavesNoCallbackBehind) {
  Create();
  HWND edit = GetDlgItem(page, kEditA);
  DestroyCPParamMap(map);
  map = nullptr;
  EXPECT_TRUE(host->RollupPages().empty());
  EXPECT_FALSE(IsWindow(edit));
  // Neither the time slider nor the block reach the map any more.
  host->SetTime(100);
  owner.block->SetValue(0, 0, 0.1f);
  EXPECT_EQ(owner.block->Dependents().size(), 1u);
}

TEST_F(ParamMapTest, TheMapKeepsItsBlockAliveAfterTheOwnerLetsGo) {
  auto* orphanOwner = new Owner;
  orphanOwner->block->SetValue(0, 0, 0.3f);
  map = CreateCPParamMap(descs, 2, orphanOwner->block, host.get(), Module(),
                         MAKEINTRESOURCE(kPage), "Percentages", 0);
  page = host->RollupPages()[0].page;
  delete orphanOwner;
  EXPECT_EQ(Shown(kEditA), "30.0");
  EXPECT_TRUE(headless::TypeInCustEdit(page, kEditA, "60"));  // no freed memory touched
  EXPECT_EQ(Shown(kEditA), "60.0");
}

TEST_F(ParamMapTest, AMapOutlivingItsHostIsDestroyedSafely) {
  Create();
  host.reset();
  DestroyCPParamMap(map);
  map = nullptr;
}

}  // namespace
