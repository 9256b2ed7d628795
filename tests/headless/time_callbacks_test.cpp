// Time-change callbacks: who hears the time slider and playback, also while
// callbacks come and go from inside a call.
#include <gtest/gtest.h>
#include <headless_host.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Records each call as "name@time" in a shared log and then runs its action.
class Listener : public TimeChangeCallback {
 public:
  Listener(std::string name, std::vector<std::string>& log) : name(std::move(name)), log(log) {}
  virtual ~Listener() = default;
  void TimeChanged(TimeValue t) override {
    log.push_back(name + "@" + std::to_string(t));
    // A copy: the action may replace itself.
    if (std::function<void()> act = action) act();
  }
  std::function<void()> action;

 private:
  std::string name;
  std::vector<std::string>& log;
};

class TimeCallbacks : public testing::Test {
 protected:
  headless::Host host;
  std::vector<std::string> log;
};

TEST_F(TimeCallbacks, PlaybackSetsTheTimeOncePerFrame) {
  const struct {
    int fps;
    TimeValue from, to;
    std::vector<std::string> heard;
  } cases[] = {
      {30, 0, 480, {"a@0", "a@160", "a@320", "a@480"}},
      {30, 0, 500, {"a@0", "a@160", "a@320", "a@480"}},  // no part frame at the end
      {30, 100, 420, {"a@100", "a@260", "a@420"}},
      {30, 320, 320, {"a@320"}},
      {30, 480, 0, {}},
      {25, 0, 400, {"a@0", "a@192", "a@384"}},
      {30, 2147483647 - 200, 2147483647, {"a@2147483447", "a@2147483607"}},
  };
  Listener a("a", log);
  host.RegisterTimeChangeCallback(&a);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
    host.SetFrameRate(c.fps);
    host.SetTime(-1);
    log.clear();
    host.Play(c.from, c.to);
    EXPECT_EQ(log, c.heard);
    EXPECT_EQ(host.GetTime(), c.heard.empty() ? -1 : std::stoi(c.heard.back().substr(2)));
  }
  host.UnRegisterTimeChangeCallback(&a);
}

TEST_F(TimeCallbacks, CallbacksLeavingOrJoiningDuringACallAreHandledInOrder) {
  const struct {
    const char* name;
    // Which listener (0, 1 or 2) acts, and what it does to the others.
    std::function<void(headless::Host&, std::vector<std::unique_ptr<Listener>>&)> act;
    int actor;
    std::vector<std::string> first, second;
  } cases[] = {
      {"one leaves itself",
       [](headless::Host& h, auto& l) { h.UnRegisterTimeChangeCallback(l[1].get()); }, 1,
       {"0@1", "1@1", "2@1"}, {"0@2", "2@2"}},
      {"one takes a later one off, which is deleted",
       [](headless::Host& h, auto& l) {
         h.UnRegisterTimeChangeCallback(l[2].get());
         l[2].reset();
       },
       0, {"0@1", "1@1"}, {"0@2", "1@2"}},
      {"one takes an earlier one off",
       [](headless::Host& h, auto& l) { h.UnRegisterTimeChangeCallback(l[0].get()); }, 2,
       {"0@1", "1@1", "2@1"}, {"1@2", "2@2"}},
      {"one brings a newcomer, who hears the next change",
       [](headless::Host& h, auto& l) {
         h.RegisterTimeChangeCallback(l[3].get());
         l[1]->action = nullptr;
       },
       1, {"0@1", "1@1", "2@1"}, {"0@2", "1@2", "2@2", "3@2"}},
      {"one moves the time again",
       [](headless::Host& h, auto& l) {
         l[0]->action = nullptr;
         h.SetTime(5);
       },
       0, {"0@1", "0@5", "1@5", "2@5", "1@1", "2@1"}, {"0@2", "1@2", "2@2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::unique_ptr<Listener>> listeners;
    for (const char* name : {"0", "1", "2", "3"})
      listeners.push_back(std::make_unique<Listener>(name, log));
    for (int i = 0; i < 3; ++i) host.RegisterTimeChangeCallback(listeners[i].get());
    listeners[c.actor]->action = [&] { c.act(host, listeners); };

    log.clear();
    host.SetTime(1);
    EXPECT_EQ(log, c.first);
    log.clear();
    host.SetTime(2);
    EXPECT_EQ(log, c.second);
    for (auto& l : listeners)
      if (l) host.UnRegisterTimeChangeCallback(l.get());
  }
}

TEST_F(TimeCallbacks, ACallbackLeavingDuringPlaybackHearsNoMoreFrames) {
  Listener stays("s", log), leaves("l", log);
  host.RegisterTimeChangeCallback(&leaves);
  host.RegisterTimeChangeCallback(&stays);
  leaves.action = [&] {
    if (host.GetTime() >= 160) host.UnRegisterTimeChangeCallback(&leaves);
  };
  host.Play(0, 320);
  EXPECT_EQ(log, (std::vector<std::string>{"l@0", "s@0", "l@160", "s@160", "s@320"}));
  host.UnRegisterTimeChangeCallback(&stays);
}

}  // namespace
