#include "channels.h"

// Every weight starts at zero: the openness channels stand open, the others
// at 0 %; frown and squints start at half strength.
const ExpressionChannel expressionChannels[NUM_CHANNELS] = {
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

const ExpressionChannel* ChannelOfParam(int i) {
  for (const ExpressionChannel& c : expressionChannels)
    if (c.percentIndex == i || c.scaleIndex == i) return &c;
  return nullptr;
}

const TCHAR* ChannelParamName(int i) {
  const ExpressionChannel* c = ChannelOfParam(i);
  if (!c) return nullptr;
  return c->percentIndex == i ? c->name : c->scaleName;
}

float ChannelCreationValue(int i) {
  const ExpressionChannel* c = ChannelOfParam(i);
  if (!c) return 0.0f;
  return c->percentIndex == i ? c->percentCreation : c->scaleCreation;
}

bool IsInvertedChannel(int channel) {
  return channel >= 0 && channel < NUM_CHANNELS && expressionChannels[channel].inverted;
}

int ParamInRollupOrder(int k) {
  if (k < 0 || k >= NUM_CHANNEL_PARAMS) return -1;
  for (const ExpressionChannel& c : expressionChannels)
    if (c.rollupOrder == k % NUM_CHANNELS) return k < NUM_CHANNELS ? c.percentIndex : c.scaleIndex;
  return -1;
}
