// The host's animate mode ("Animate" button) and its save/restore stack.
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

namespace standin {

// A new host starts with animate mode off and nothing suspended.
void ResetAnimate() {
  animating = false;
  suspended.clear();
}

}  // namespace standin

Class_ID defObjectClassID(TRIOBJ_CLASS_ID, 0);
