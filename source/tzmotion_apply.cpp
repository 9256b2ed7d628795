// "Apply To Camera": the loaded take becomes one position key and one
// rotation key per sample on the single selected free camera.
#include <control.h>
#include <inode.h>
#include <object.h>

#include "tzmotion.h"

namespace {

const char kCaption[] = "TzMotionControl";
const float kDegreesToRadians = 0.017453292f;
// The camera's base turn about X. Quaternions turn clockwise seen from the
// axis' tip, so this stands a camera that looks down its local -Z level,
// looking along +Y with +Z up.
const float kBaseAngle = -1.5707964f;

struct CameraTracks {
  Control* transform = nullptr;
  Control* position = nullptr;
  Control* rotation = nullptr;
  Control* scale = nullptr;
};

void Refuse(const char* text) { MessageBoxA(nullptr, text, kCaption, MB_OK); }

// The one selected node when it shows a free camera; null otherwise.
INode* SelectedFreeCamera(Interface* ip) {
  if (!ip || ip->GetSelNodeCount() != 1) return nullptr;
  INode* node = ip->GetSelNode(0);
  Object* object = node ? node->GetObjectRef() : nullptr;
  return object && object->ClassID() == Class_ID(SIMPLE_CAM_CLASS_ID, 0) ? node : nullptr;
}

bool GetTracks(INode* node, CameraTracks* tracks) {
  tracks->transform = node->GetTMController();
  if (!tracks->transform) return false;
  tracks->position = tracks->transform->GetPositionController();
  tracks->rotation = tracks->transform->GetRotationController();
  tracks->scale = tracks->transform->GetScaleController();
  return tracks->position && tracks->rotation && tracks->scale;
}

// Sample i's time: whole ticks, each computed on its own so that rates that
// do not divide 4800 do not drift.
long long SampleTime(int i, int fps) {
  return static_cast<long long>(i) * TIME_TICKSPERSEC / fps;
}

Point3 SamplePosition(const MotionSample& s, const MotionControlUtility& mc) {
  return Point3(mc.useEastWest ? s.GetValue(AXIS_EAST_WEST) : 0.0f,
                mc.useTrack ? -s.GetValue(AXIS_TRACK) : 0.0f,
                mc.useNorthSouth ? s.GetValue(AXIS_NORTH_SOUTH) : 0.0f);
}

Quat SampleRotation(const MotionSample& s, const MotionControlUtility& mc, const Quat& base) {
  Quat q = base;
  if (mc.useTilt) q += Quat(AngAxis(Point3(1, 0, 0), -(s.GetValue(AXIS_TILT) * kDegreesToRadians)));
  if (mc.useRoll) q += Quat(AngAxis(Point3(0, 1, 0), s.GetValue(AXIS_ROLL) * kDegreesToRadians));
  if (mc.usePan) q += Quat(AngAxis(Point3(0, 0, 1), s.GetValue(AXIS_PAN) * kDegreesToRadians));
  return q;
}

void ResetTracks(const CameraTracks& tracks) {
  tracks.transform->DeleteKeys(TRACK_DOALL);
  tracks.position->DeleteKeys(TRACK_DOALL);
  tracks.rotation->DeleteKeys(TRACK_DOALL);
  tracks.scale->DeleteKeys(TRACK_DOALL);
  AnimateOff();
  ScaleValue unit(Point3(1.0f, 1.0f, 1.0f), Quat(0.0f, 0.0f, 0.0f, 1.0f));
  tracks.scale->SetValue(0, &unit, 1, CTRL_ABSOLUTE);
  AnimateOn();
}

}  // namespace

int MotionControlUtility::ApplyToCamera() {
  INode* camera = SelectedFreeCamera(ip);
  if (!camera) {
    Refuse("Select a Free Camera to which you want to apply the motion control data.");
    return 0;
  }
  if (!IsValidRate(fps)) {
    Refuse("The FPS value must be a whole number of frames per second from 1 to 4800.");
    return 0;
  }
  if (motionData.Count() > 0 && SampleTime(motionData.Count() - 1, fps) >= TIME_PosInfinity) {
    Refuse("The take is too long to key at this FPS value.");
    return 0;
  }
  CameraTracks tracks;
  if (!GetTracks(camera, &tracks)) {
    Refuse("The camera's transform has no position, rotation or scale track to key.");
    return 0;
  }

  SuspendAnimate();
  ResetTracks(tracks);
  SetStatus("Applying");
  const Quat base(AngAxis(Point3(1, 0, 0), kBaseAngle));
  for (int i = 0; i < motionData.Count(); ++i) {
    const MotionSample& sample = motionData.GetSample(i);
    TimeValue t = static_cast<TimeValue>(SampleTime(i, fps));
    Point3 p = SamplePosition(sample, *this);
    tracks.position->SetValue(t, &p, 1, CTRL_ABSOLUTE);
    Quat q = SampleRotation(sample, *this, base);
    tracks.rotation->SetValue(t, &q, 1, CTRL_ABSOLUTE);
    SetProgress(static_cast<float>(static_cast<double>(i) / motionData.Count()));
  }
  SetStatus(nullptr);
  AnimateOff();
  ResumeAnimate();
  Interface* core = GetCOREInterface();
  core->RedrawViews(core->GetTime(), REDRAW_NORMAL, nullptr);
  return 1;
}
