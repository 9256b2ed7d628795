// The expression object's blend taken apart, for writers that keep the
// targets apart (glTF's morph targets): the face with every weight at zero,
// what each target adds at weight one, and the channel that weights it.
// Evaluation computes base + the sum of weight x difference from the same
// arrays, so a reader that blends them gets the evaluated face.
#ifndef MIROVA_BLEND_BREAKDOWN_H
#define MIROVA_BLEND_BREAKDOWN_H
#include <point3.h>

#include <cmath>
#include <vector>

#include "channels.h"

struct BlendTarget {
  int channel = 0;                  // expressionChannels[channel] weights it
  std::vector<Point3> difference;   // T * Mj - N * M0, one per base point
};

struct BlendBreakdown {
  std::vector<Point3> base;         // the Neutral as evaluated, moved by its offset: N * M0
  std::vector<unsigned> triangles;  // the evaluated face's, three base points each
  std::vector<BlendTarget> targets; // each assigned target evaluation can blend, in target order
};

// The weights of a breakdown's targets over time: at each of ticks, one
// weight per target, target by target.
struct WeightTrack {
  std::vector<int> ticks;
  std::vector<float> weights;
};

// The weight of each of breakdown's targets, given every channel's weight
// (ExpressionObject::ChannelWeights); one that is not a number, which
// evaluation skips, counts 0.
inline std::vector<float> TargetWeights(const BlendBreakdown& breakdown, const float channels[NUM_CHANNELS]) {
  std::vector<float> weights;
  for (const BlendTarget& target : breakdown.targets) {
    const float w = channels[target.channel];
    weights.push_back(std::isnan(w) ? 0.0f : w);
  }
  return weights;
}

#endif
