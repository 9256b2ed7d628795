#include "facetracker.h"

TrackerInput::TrackerInput() : path{} {}

TrackerInput::~TrackerInput() { data.Clear(); }
