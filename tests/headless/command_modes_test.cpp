// The headless host's command modes, pick modes and create panel, as a
// plug-in meets them.
#include <gtest/gtest.h>
#include <headless_host.h>
#include <mouseman.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// A command mode that writes its entries and exits to a shared log.
class LoggedMode : public CommandMode, public MouseCallBack {
 public:
  LoggedMode(std::string name, Log& log, int id = 0x4000) : name(std::move(name)), log(log), id(id) {}
  int Class() override { return CREATE_COMMAND; }
  int ID() override { return id; }
  MouseCallBack* MouseProc(int* numPoints) override {
    *numPoints = points;
    return this;
  }
  ChangeForegroundCallback* ChangeFGProc() override { return CHANGE_FG_SELECTED; }
  BOOL ChangeFG(CommandMode*) override { return TRUE; }
  void EnterMode() override {
    log.push_back(name + " enter");
    if (onEnter) onEnter();
  }
  void ExitMode() override {
    log.push_back(name + " exit");
    if (onExit) onExit();
  }
  int proc(HWND, int msg, int point, int, IPoint2 m) override {
    mouse.push_back({msg, point, m.x, m.y});
    return TRUE;
  }

  std::string name;
  Log& log;
  int id;
  int points = 1;
  std::function<void()> onEnter, onExit;
  struct Event {
    int msg, point, x, y;
    bool operator==(const Event& e) const {
      return msg == e.msg && point == e.point && x == e.x && y == e.y;
    }
  };
  std::vector<Event> mouse;
};

// A pick mode that logs its calls and answers as told.
class LoggedPick : public PickModeCallback {
 public:
  LoggedPick(std::string name, Log& log) : name(std::move(name)), log(log) {}
  BOOL HitTest(IObjParam*, HWND, ViewExp*, IPoint2, int) override {
    log.push_back(name + " hittest");
    return hits;
  }
  BOOL Pick(IObjParam* ip, ViewExp*) override {
    log.push_back(name + " pick");
    if (onPick) onPick(ip);
    return endsOnPick;
  }
  BOOL RightClick(IObjParam*, ViewExp*) override {
    log.push_back(name + " right");
    return endsOnRightClick;
  }
  void EnterMode(IObjParam*) override { log.push_back(name + " enter"); }
  void ExitMode(IObjParam* ip) override {
    log.push_back(name + " exit");
    if (onExit) onExit(ip);
  }

  std::string name;
  Log& log;
  BOOL hits = TRUE, endsOnPick = TRUE, endsOnRightClick = TRUE;
  std::function<void(IObjParam*)> onPick, onExit;
};

class CommandModes : public testing::Test {
 protected:
  Log log;
  LoggedMode a{"a", log, 0x4001}, b{"b", log, 0x4002};
  LoggedPick pick{"pick", log}, other{"other", log};
  headless::Host host;  // after the modes: it exits what still runs as it closes
};

TEST_F(CommandModes, SetPushAndRemoveEnterAndExitInTurn) {
  EXPECT_EQ(host.GetCommandMode()->ID(), CID_OBJMOVE);
  host.SetCommandMode(&a);
  host.PushCommandMode(&b);
  EXPECT_EQ(host.GetCommandMode(), &b);
  host.RemoveMode(&b);
  EXPECT_EQ(host.GetCommandMode(), &a);
  host.RemoveMode(&b);  // not there: nothing
  host.SetCommandMode(&a);  // already current: nothing
  host.RemoveMode(&a);
  EXPECT_EQ(host.GetCommandMode()->ID(), CID_OBJMOVE);
  EXPECT_EQ(log, (Log{"a enter", "a exit", "b enter", "b exit", "a enter", "a exit"}));
  host.PushCommandMode(&a);
  host.SetStdCommandMode(CID_OBJMOVE);
  EXPECT_EQ(host.GetCommandMode()->ID(), CID_OBJMOVE);
  EXPECT_EQ(log.back(), "a exit");
}

TEST_F(CommandModes, PickRunsAsTheStandardPickModeAndEndsEveryWay) {
  struct Case {
    const char* name;
    std::function<void(headless::Host&)> end;
  } cases[] = {
      {"pick", [](headless::Host& h) { EXPECT_TRUE(h.ClickAt(IPoint2(5, 5))); }},
      {"right click", [](headless::Host& h) { h.RightClick(); }},
      {"clear", [](headless::Host& h) { h.ClearPickMode(); }},
      {"set mode", [this](headless::Host& h) { h.SetCommandMode(&b); }},
      {"push mode", [this](headless::Host& h) { h.PushCommandMode(&b); }},
      {"move mode", [](headless::Host& h) { h.SetStdCommandMode(CID_OBJMOVE); }},
      {"remove it", [](headless::Host& h) { h.RemoveMode(h.GetCommandMode()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.SetCommandMode(&a);
    log.clear();
    host.SetPickMode(&pick);
    EXPECT_TRUE(host.PickModeActive());
    EXPECT_EQ(host.GetCommandMode()->ID(), CID_STDPICK);
    c.end(host);
    EXPECT_FALSE(host.PickModeActive());
    EXPECT_NE(host.GetCommandMode()->ID(), CID_STDPICK);
    EXPECT_EQ(std::count(log.begin(), log.end(), "pick exit"), 1);
    EXPECT_EQ(log[0], "a exit");
    EXPECT_EQ(log[1], "pick enter");
  }
}

TEST_F(CommandModes, PickThatGoesOnKeepsTheModeRunning) {
  pick.endsOnPick = FALSE;
  pick.endsOnRightClick = FALSE;
  host.SetPickMode(&pick);
  EXPECT_TRUE(host.ClickAt(IPoint2(1, 1)));
  host.RightClick();
  pick.hits = FALSE;
  EXPECT_FALSE(host.ClickAt(IPoint2(1, 1)));  // a miss picks nothing
  EXPECT_TRUE(host.PickModeActive());
  EXPECT_EQ(log, (Log{"pick enter", "pick hittest", "pick pick", "pick right", "pick hittest"}));
}

TEST_F(CommandModes, ANewPickExitsTheOldOneOnly) {
  host.SetPickMode(&pick);
  host.SetPickMode(&pick);  // the same pick goes on
  host.SetPickMode(&other);
  host.ClearPickMode();
  EXPECT_EQ(log, (Log{"pick enter", "pick exit", "other enter", "other exit"}));
}

TEST_F(CommandModes, CallbacksMayChangeModesWhileCalled) {
  // A pick that ends the mode itself, then says so: one exit.
  pick.onPick = [](IObjParam* ip) { ip->ClearPickMode(); };
  host.SetPickMode(&pick);
  host.ClickAt(IPoint2(0, 0));
  EXPECT_EQ(log, (Log{"pick enter", "pick hittest", "pick pick", "pick exit"}));
  // A pick that starts another pick: the new one runs on.
  log.clear();
  pick.onPick = [this](IObjParam* ip) { ip->SetPickMode(&other); };
  host.SetPickMode(&pick);
  host.ClickAt(IPoint2(0, 0));
  EXPECT_TRUE(host.PickModeActive());
  EXPECT_EQ(log, (Log{"pick enter", "pick hittest", "pick pick", "pick exit", "other enter"}));
  // An exit that switches modes: the last word wins, each mode entered once.
  host.ClearPickMode();
  log.clear();
  a.onExit = [this] { host.SetCommandMode(&b); };
  host.PushCommandMode(&a);
  host.RemoveMode(&a);
  EXPECT_EQ(host.GetCommandMode(), &b);
  EXPECT_EQ(log, (Log{"a enter", "a exit", "b enter"}));
}

TEST_F(CommandModes, ClickInACommandModeGoesToItsMouseProcedure) {
  a.points = 2;
  host.SetCommandMode(&a);
  EXPECT_TRUE(host.ClickAt(IPoint2(7, -3)));
  using E = LoggedMode::Event;
  EXPECT_EQ(a.mouse, (std::vector<E>{{MOUSE_FREEMOVE, 0, 7, -3}, {MOUSE_POINT, 0, 7, -3},
                                     {MOUSE_POINT, 1, 7, -3}}));
}

}  // namespace
