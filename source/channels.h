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

// The eleven channels, in channel order: constant data, in the header so
// that the command line names the channels without a copy of the library.
// Every weight starts at zero: the openness channels stand open, the others
// at 0 %; frown and squints start at half strength.
inline constexpr ExpressionChannel expressionChannels[NUM_CHANNELS] = {
    {_T("Mouth Vertical"), _T("Scale: Mouth Vertical"), PB_MOUTH_VERTICAL, PB_SCALE_MOUTH_VERTICAL, 0.0f,
     1.0f, false, TARGET_OPEN, _T("Open"), 0},
    {_T("Mouth Horizontal"), _T("Scale: Mouth Horizontal"), PB_MOUTH_HORIZONTAL, PB_SCALE_MOUTH_HORIZONTAL,
     1.0f, 1.0f, true, TARGET_PUCKERED, _T("Puckered"), 1},
    {_T("Left Eyelid"), _T("Scale: Left Eyelid"), PB_LEFT_EYELID, PB_SCALE_LEFT_EYELID, 1.0f, 1.0f, true,
     TARGET_LEFT_EYELID, _T("Left Eyelid"), 2},
    {_T("Left Eyebrow"), _T("Scale: Left Eyebrow"), PB_LEFT_EYEBROW, PB_SCALE_LEFT_EYEBROW, 0.0f, 1.0f, false,
     TARGET_LEFT_EYEBROW, _T("Left Eyebrow"), 4},
    {_T("Left Cheek"), _T("Scale: Left Cheek"), PB_LEFT_CHEEK, PB_SCALE_LEFT_CHEEK, 0.0f, 1.0f, false,
     TARGET_LEFT_CHEEK, _T("Left Cheek"), 6},
    {_T("Frown"), _T("Scale: Frown"), PB_FROWN, PB_SCALE_FROWN, 0.0f, 0.5f, false, TARGET_FROWN, _T("Frown"), 10},
    {_T("Left Squint"), _T("Scale: Left Squint"), PB_LEFT_SQUINT, PB_SCALE_LEFT_SQUINT, 0.0f, 0.5f, false,
     TARGET_LEFT_SQUINT, _T("Left Squint"), 8},
    {_T("Right Eyelid"), _T("Scale: Right Eyelid"), PB_RIGHT_EYELID, PB_SCALE_RIGHT_EYELID, 1.0f, 1.0f, true,
     TARGET_RIGHT_EYELID, _T("Right Eyelid"), 3},
    {_T("Right Eyebrow"), _T("Scale: Right Eyebrow"), PB_RIGHT_EYEBROW, PB_SCALE_RIGHT_EYEBROW, 0.0f, 1.0f,
     false, TARGET_RIGHT_EYEBROW, _T("Right Eyebrow"), 5},
    {_T("Right Cheek"), _T("Scale: Right Cheek"), PB_RIGHT_CHEEK, PB_SCALE_RIGHT_CHEEK, 0.0f, 1.0f, false,
     TARGET_RIGHT_CHEEK, _T("Right Cheek"), 7},
    {_T("Right Squint"), _T("Scale: Right Squint"), PB_RIGHT_SQUINT, PB_SCALE_RIGHT_SQUINT, 0.0f, 0.5f, false,
     TARGET_RIGHT_SQUINT, _T("Right Squint"), 9},
};

// The channel whose percentage or scale is parameter i; null outside 0..21.
inline const ExpressionChannel* ChannelOfParam(int i) {
  for (const ExpressionChannel& c : expressionChannels)
    if (c.percentIndex == i || c.scaleIndex == i) return &c;
  return nullptr;
}

// The name the host lists parameter i under; null outside 0..21.
inline const TCHAR* ChannelParamName(int i) {
  const ExpressionChannel* c = ChannelOfParam(i);
  if (!c) return nullptr;
  return c->percentIndex == i ? c->name : c->scaleName;
}

// The value a new object gives parameter i at time 0 (a factor).
inline float ChannelCreationValue(int i) {
  const ExpressionChannel* c = ChannelOfParam(i);
  if (!c) return 0.0f;
  return c->percentIndex == i ? c->percentCreation : c->scaleCreation;
}

// Whether the channel's percentage is an openness (its target applies at 0 %).
inline bool IsInvertedChannel(int channel) {
  return channel >= 0 && channel < NUM_CHANNELS && expressionChannels[channel].inverted;
}

// The parameter the rollups list k-th (0..21): every percentage, then every
// scale, each in the channels' rollup order; -1 outside.
inline int ParamInRollupOrder(int k) {
  if (k < 0 || k >= NUM_CHANNEL_PARAMS) return -1;
  for (const ExpressionChannel& c : expressionChannels)
    if (c.rollupOrder == k % NUM_CHANNELS) return k < NUM_CHANNELS ? c.percentIndex : c.scaleIndex;
  return -1;
}

#endif
