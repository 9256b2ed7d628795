// Saving and loading the headless host's scene, as the host's File Save and
// File Open do.
//
// THE SCENE FILE. Line-based text. Blank lines and lines starting with '#'
// are ignored; tokens are separated by blanks; a name is double-quoted with
// backslash escapes (\" \\ \n); floats are written with nine significant
// digits, which read back to the same 32-bit float ("inf", "nan" included);
// times in ticks and indices in decimal; super class and class ids in hex.
//
//   mirova-scene 1                  first line: the format and its version
//   frame-rate 30                   frames a second
//   time 160                        the time slider, in ticks
//
// Then one record for every reference target reachable from the nodes, each
// with a number N, unique in the file, by which references name it:
//
//   node N "Face"                   a scene node
//     offset-pos X Y Z              object offset from the pivot: position,
//     offset-rot X Y Z W            rotation (quaternion),
//     offset-scale SX SY SZ X Y Z W and scale with its axes
//     selected 0|1
//     ref 0 M                       reference 0, the transform controller, is record M
//     ref 1 M                       reference 1, the object
//   end
//   control N SUPER CLASS-A CLASS-B a controller, made by its class
//     value V...                    its value while it has no keys
//     key T V...                    one key: time in ticks, then value
//     ref I M                       (a transform controller: its parts)
//   end
//   paramblock N version V          a parameter block
//     param I float id D animatable 0|1 value X
//                                   parameter I: type, id, animatable, constant
//     ref I M                       parameter I's controller
//   end
//   object N SUPER CLASS-A CLASS-B  any other target, made by its class's
//     ref I M                       descriptor with Create(TRUE), then given
//     chunk ID HEX                  what its Save wrote: a chunk of bytes in
//     chunk ID {                    hex, or a chunk of chunks closed by "}"
//     }
//   end
//
// A value is one float for a float controller, X Y Z for a position, X Y Z W
// for a rotation, SX SY SZ X Y Z W for a scale, and absent for a transform
// controller. A reference that is not listed is empty.
//
// Loading reads and checks the whole file before it changes anything, then
// replaces the scene: it makes every target, restores every reference
// (MakeRefByID, which sets it through the maker's SetReference), calls each
// target's Load with its chunks, and runs the post-load callbacks that Load
// registered, lowest Priority first. Classes come from the class directory
// (classdir.h): the stand-in's own, and those registered with
// RegisterClassDesc (headless_sdk.h), each with what its references may
// hold.
//
// What the checks refuse, beyond text that does not parse: a frame rate
// outside 1 to 4800 (less than a tick a frame); chunks nested more than 32
// deep or a chain of references more than 100 records long (the host's own
// files never come near, and whatever walks them must not run out of
// stack); a cycle of references; and a reference its maker does not accept:
// a node's transform must be a transform controller and its object an
// object, a transform controller's parts position, rotation and scale
// controllers, a parameter's controller a float controller, a pipeline's
// base an object, and a registered class's references what its
// ReferenceCheck accepts. An object whose Load fails refuses the file too.
#ifndef HEADLESS_HEADLESS_SCENE_H
#define HEADLESS_HEADLESS_SCENE_H
#include <headless_sdk.h>

#include <string>

namespace headless {

class Host;

// The host's scene as the text of a scene file.
std::string SceneText(Host& host);
// Writes SceneText to path; false with *error when the file cannot be written.
bool SaveScene(Host& host, const std::string& path, std::string* error = nullptr);

// Replaces the host's scene by the one in text; false with *error (and the
// scene unchanged) when the text is not a scene this host can rebuild.
bool LoadSceneText(Host& host, const std::string& text, std::string* error = nullptr);
bool LoadScene(Host& host, const std::string& path, std::string* error = nullptr);

}  // namespace headless

#endif
