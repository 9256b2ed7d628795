// The headless host's command panel: rollup pages from a module's templates
// and the life of a utility in the utility panel.
#include <gtest/gtest.h>
#include <headless.h>
#include <headless_host.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string>* events = nullptr;

INT_PTR CALLBACK PageProc(HWND, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_INITDIALOG) events->push_back("init " + std::to_string(lParam));
  if (msg == WM_DESTROY) events->push_back("destroy");
  return msg == WM_INITDIALOG;
}

class TestUtility : public UtilityObj {
 public:
  void BeginEditParams(Interface* ip, IUtil* iu) override {
    this->iu = iu;
    events->push_back("begin");
    page = ip->AddRollupPage(GetModuleHandleA(nullptr), MAKEINTRESOURCE(1070), PageProc,
                             "Test Utility", 5);
  }
  void EndEditParams(Interface* ip, IUtil*) override {
    events->push_back("end");
    ip->DeleteRollupPage(page);
  }
  void DeleteThis() override { events->push_back("delete"); }
  IUtil* iu = nullptr;
  HWND page = nullptr;
};

class TestUtilityDesc : public ClassDesc {
 public:
  explicit TestUtilityDesc(SClass_ID super) : super(super) {}
  int IsPublic() override { return 1; }
  void* Create(BOOL) override { return &utility; }
  const TCHAR* ClassName() override { return "Test Utility"; }
  SClass_ID SuperClassID() override { return super; }
  Class_ID ClassID() override { return Class_ID(1, 2); }
  const TCHAR* Category() override { return "Tests"; }
  TestUtility utility;
  SClass_ID super;
};

class CommandPanel : public testing::Test {
 protected:
  void SetUp() override {
    events = &log;
    host = std::make_unique<headless::Host>();
  }
  void TearDown() override {
    host.reset();
    events = nullptr;
  }
  std::vector<std::string> log;
  std::unique_ptr<headless::Host> host;
  TestUtilityDesc desc{UTILITY_CLASS_ID};
};

TEST_F(CommandPanel, OpensAUtilityWhosePageIsAChildDialogOfThePanel) {
  HWND focus = GetFocus();
  ASSERT_TRUE(host->OpenUtility(&desc));
  EXPECT_EQ(host->OpenedUtility(), &desc.utility);
  EXPECT_EQ(log, (std::vector<std::string>{"begin", "init 5"}));
  ASSERT_EQ(host->RollupPages().size(), 1u);
  const headless::RollupPageRecord& page = host->RollupPages()[0];
  EXPECT_EQ(page.page, desc.utility.page);
  EXPECT_EQ(page.title, "Test Utility");
  EXPECT_EQ(page.param, 5);
  EXPECT_TRUE(GetWindowLongPtrA(page.page, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(page.page));
  EXPECT_EQ(GetFocus(), focus);  // opening a page leaves the keyboard alone

  // The utility asks to be closed through its IUtil.
  desc.utility.iu->CloseUtility();
  EXPECT_EQ(log, (std::vector<std::string>{"begin", "init 5", "end", "destroy", "delete"}));
  EXPECT_TRUE(host->RollupPages().empty());
  EXPECT_FALSE(IsWindow(desc.utility.page));
  EXPECT_EQ(host->OpenedUtility(), nullptr);
}

TEST_F(CommandPanel, TheHostClosesAUtilityLeftOpenAndRefusesOtherClasses) {
  TestUtilityDesc notUtility(GEOMOBJECT_CLASS_ID);
  EXPECT_FALSE(host->OpenUtility(&notUtility));
  EXPECT_FALSE(host->OpenUtility(nullptr));
  ASSERT_TRUE(host->OpenUtility(&desc));
  HWND page = desc.utility.page;
  host.reset();
  EXPECT_EQ(log.back(), "delete");
  EXPECT_FALSE(IsWindow(page));
}

TEST_F(CommandPanel, RecordsMouseMessagesAndRegisteredDialogWindows) {
  HWND page = host->AddRollupPage(GetModuleHandleA(nullptr), MAKEINTRESOURCE(1070), PageProc,
                                  "Page", 0, APPENDROLL_CLOSED);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(host->RollupPages()[0].flags, static_cast<DWORD>(APPENDROLL_CLOSED));
  host->RollupMouseMessage(page, WM_LBUTTONDOWN, 1, MAKELPARAM(3, 4));
  ASSERT_EQ(host->RollupMouseMessages().size(), 1u);
  EXPECT_EQ(host->RollupMouseMessages()[0].lParam, MAKELPARAM(3, 4));

  host->RegisterDlgWnd(page);
  EXPECT_TRUE(host->IsDlgWndRegistered(page));
  EXPECT_TRUE(host->UnRegisterDlgWnd(page));
  EXPECT_FALSE(host->UnRegisterDlgWnd(page));

  EXPECT_EQ(host->AddRollupPage(GetModuleHandleA(nullptr), MAKEINTRESOURCE(4242), PageProc,
                                "Missing"),
            nullptr);
  host->DeleteRollupPage(reinterpret_cast<HWND>(0x10));  // not a page: nothing
  host->DeleteRollupPage(page);
  EXPECT_FALSE(IsWindow(page));
}

}  // namespace
