// The host's animate mode ("Animate" button) and its save/restore stack.
#include <headless_sdk.h>
#include <maxapi.h>

#include <vector>

namespace {
bool animating = false;
std::vector<bool> suspended;
}  // namespace

void AnimateOn() { animating = true; }
void AnimateOff() { animating = false; }
BOOL Animating() { return animating ? TRUE : FALSE; }

void SuspendAnimate() {
  suspended.push_back(animating);
  animating = false;
}

void ResumeAnimate() {
  if (suspended.empty()) return;
  animating = suspended.back();
  suspended.pop_back();
}

void headless::ResetAnimate() {
  animating = false;
  suspended.clear();
}

Class_ID defObjectClassID(TRIOBJ_CLASS_ID, 0);
