// The expression object's channel layout, in one place. Eleven channels,
// each a percentage and a scale in the object's parameter block (both plain
// factors: 1.0 is shown as 100 %), each driving one face target. Evaluation,
// creation, the tracker's keys and the command line all read it from here.
#ifndef MIROVA_CHANNELS_H
#define MIROVA_CHANNELS_H
#include <max.h>

#define NUM_FACE_TARGETS 12
#define NUM_CHANNELS 11
#define NUM_CHANNEL_PARAMS 22
#define NUM_CHANNEL_PARAMS_V0 14

// The face targets, in target (and reference - 1) order.
enum FaceTarget {
  TARGET_NEUTRAL,
  TARGET_OPEN,
  TARGET_PUCKERED,
  TARGET_LEFT_EYELID,
  TARGET_LEFT_EYEBROW,
  TARGET_LEFT_CHEEK,
  TARGET_FROWN,
  TARGET_LEFT_SQUINT,
  TARGET_RIGHT_EYELID,
  TARGET_RIGHT_EYEBROW,
  TARGET_RIGHT_CHEEK,
  TARGET_RIGHT_SQUINT
};

// The channels, in channel order.
enum ChannelIndex {
  CHANNEL_MOUTH_VERTICAL,
  CHANNEL_MOUTH_HORIZONTAL,
  CHANNEL_LEFT_EYELID,
  CHANNEL_LEFT_EYEBROW,
  CHANNEL_LEFT_CHEEK,
  CHANNEL_FROWN,
  CHANNEL_LEFT_SQUINT,
  CHANNEL_RIGHT_EYELID,
  CHANNEL_RIGHT_EYEBROW,
  CHANNEL_RIGHT_CHEEK,
  CHANNEL_RIGHT_SQUINT
};

// Parameters of the block, by index. Versions 0 had the first 14.
enum ChannelParam {
  PB_MOUTH_VERTICAL,
  PB_MOUTH_HORIZONTAL,
  PB_LEFT_EYELID,
  PB_LEFT_EYEBROW,
  PB_LEFT_CHEEK,
  PB_FROWN,
  PB_LEFT_SQUINT,
  PB_SCALE_MOUTH_VERTICAL,
  PB_SCALE_MOUTH_HORIZONTAL,
  PB_SCALE_LEFT_EYELID,
  PB_SCALE_LEFT_EYEBROW,
  PB_SCALE_LEFT_CHEEK,
  PB_SCALE_FROWN,
  PB_SCALE_LEFT_SQUINT,
  PB_RIGHT_EYELID,
  PB_RIGHT_EYEBROW,
  PB_RIGHT_CHEEK,
  PB_RIGHT_SQUINT,
  PB_SCALE_RIGHT_EYELID,
  PB_SCALE_RIGHT_EYEBROW,
  PB_SCALE_RIGHT_CHEEK,
  PB_SCALE_RIGHT_SQUINT
};

struct ExpressionChannel {
  const TCHAR* name;        // the percentage's name in the host's lists
  const TCHAR* scaleName;   // the scale's
  int percentIndex;         // parameter indices in the block
  int scaleIndex;
  float percentCreation;    // the values a new object starts with
  float scaleCreation;
  bool inverted;            // an openness: its target applies fully at 0 %
  FaceTarget target;        // the target it drives
  const TCHAR* targetName;  // that target's name
  int rollupOrder;          // where the rollups list it, 0 to 10
};

// The eleven channels, in channel order.
extern const ExpressionChannel expressionChannels[NUM_CHANNELS];

// The channel whose percentage or scale is parameter i; null outside 0..21.
const ExpressionChannel* ChannelOfParam(int i);
// The name the host lists parameter i under; null outside 0..21.
const TCHAR* ChannelParamName(int i);
// The value a new object gives parameter i at time 0 (a factor).
float ChannelCreationValue(int i);
// Whether the channel's percentage is an openness (its target applies at 0 %).
bool IsInvertedChannel(int channel);
// The parameter the rollups list k-th (0..21): every percentage, then every
// scale, each in the channels' rollup order; -1 outside.
int ParamInRollupOrder(int k);

#endif
