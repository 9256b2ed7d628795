// The channel layout: every parameter belongs to exactly one channel, and
// the rollups' order, which creation follows, is the one the panels show.
#include "channels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Channels, EveryParameterBelongsToOneChannel) {
  std::vector<int> owners(NUM_CHANNEL_PARAMS, 0);
  for (const ExpressionChannel& c : expressionChannels) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.percentIndex >= 0 && c.percentIndex < NUM_CHANNEL_PARAMS);
    ASSERT_TRUE(c.scaleIndex >= 0 && c.scaleIndex < NUM_CHANNEL_PARAMS);
    ++owners[c.percentIndex];
    ++owners[c.scaleIndex];
    EXPECT_EQ(ChannelOfParam(c.percentIndex), &c);
    EXPECT_EQ(ChannelOfParam(c.scaleIndex), &c);
  }
  EXPECT_EQ(owners, std::vector<int>(NUM_CHANNEL_PARAMS, 1));
  for (int outside : {-1, NUM_CHANNEL_PARAMS}) {
    EXPECT_EQ(ChannelOfParam(outside), nullptr);
    EXPECT_EQ(ChannelParamName(outside), nullptr);
    EXPECT_EQ(ChannelCreationValue(outside), 0.0f);
    EXPECT_EQ(ParamInRollupOrder(outside), -1);
  }
  EXPECT_FALSE(IsInvertedChannel(-1));
  EXPECT_FALSE(IsInvertedChannel(NUM_CHANNELS));
}

TEST(Channels, RollupsListPercentagesThenScalesLeftBeforeRight) {
  const std::vector<int> listed = {0, 1, 2, 14, 3, 15, 4, 16, 6, 17, 5,
                                   7, 8, 9, 18, 10, 19, 11, 20, 13, 21, 12};
  std::vector<int> order;
  for (int k = 0; k < NUM_CHANNEL_PARAMS; ++k) order.push_back(ParamInRollupOrder(k));
  EXPECT_EQ(order, listed);
}

}  // namespace
