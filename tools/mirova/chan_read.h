// A camera move from a .chan file, the conventions chan.h writes: one line
// "frame tx ty tz rx ry rz" per key, Y-up positions and right-handed ZXY
// Euler angles in degrees (R = Ry * Rx * Rz). An eighth number, the field of
// view some packages add, is read and left: a take holds no lens.
#ifndef MIROVA_CLI_CHAN_READ_H
#define MIROVA_CLI_CHAN_READ_H
#include <string>

#include "camera_source.h"

namespace cli {

// The move in the .chan file at path, with time counted in frames: the
// take's samples are its frames, sample i at frame start + i, as `mirova
// camera --format chan` writes sample i as frame i. Numbers are split by
// spaces or tabs, lines end in LF or CR LF, blank lines are skipped; each
// number is interpolated on its own between keys, as .chan readers do, and
// held before the first key and after the last. A line that does not hold
// seven or eight finite decimal numbers, or whose frame does not come after
// the one before, is a problem "FILE:LINE: what"; a file without keys holds
// no move.
CameraRead ReadChanCamera(const std::string& path);

}  // namespace cli

#endif
