// Test helpers for tracker recordings: the text of a well-formed file built
// from names and rows (and, from text_file.h, files holding a text).
#ifndef TESTS_TRACKER_TEXT_H
#define TESTS_TRACKER_TEXT_H

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "text_file.h"

namespace tracker_text {

// A marker's file position: vertical first, as the tracker writes it.
struct FilePosition {
  float vertical;
  float horizontal;
};

struct Row {
  float seconds;
  std::vector<std::optional<FilePosition>> markers;  // nullopt: missing
};

// The shortest text that reads back as f.
inline std::string Number(float f) {
  char buffer[64];
  for (int digits = 1; digits <= 9; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(f));
    if (std::strtof(buffer, nullptr) == f) break;
  }
  return buffer;
}

inline std::string Header(int samples, int markers) {
  return "FaceTracker recording\nexported for tests\nSamples Markers " + std::to_string(samples) +
         " " + std::to_string(markers) + "\n";
}

inline std::string NameRow(const std::vector<std::string>& names) {
  std::string text = "Frame Time\t";
  for (const std::string& name : names) text += name + "\t\t\t";
  return text + "\n";
}

inline std::string SampleRow(int index, const Row& row) {
  std::string text = std::to_string(index) + "\t" + Number(row.seconds);
  for (const auto& p : row.markers) {
    if (p) {
      text += "\t" + Number(p->vertical) + "\t" + Number(p->horizontal) + "\t1";
    } else {
      text += "\t\t\t";
    }
  }
  return text + "\n";
}

inline std::string Recording(const std::vector<std::string>& names, const std::vector<Row>& rows) {
  std::string text = Header(static_cast<int>(rows.size()), static_cast<int>(names.size()));
  text += NameRow(names);
  text += "\tY\tX\tQ\n";
  for (size_t s = 0; s < rows.size(); ++s) text += SampleRow(static_cast<int>(s), rows[s]);
  return text;
}

// The text with one tab-separated column of a line replaced (both counted
// from 0). Emptying the three columns of a marker field makes it missing.
inline std::string WithColumn(const std::string& text, int line, int column, const std::string& value) {
  size_t at = 0;
  for (int l = 0; l < line; ++l) at = text.find('\n', at) + 1;
  for (int c = 0; c < column; ++c) at = text.find('\t', at) + 1;
  const size_t end = text.find_first_of("\t\n", at);
  return text.substr(0, at) + value + text.substr(end);
}

using text_file::TempFile;
using text_file::WithCrLf;

}  // namespace tracker_text

#endif
