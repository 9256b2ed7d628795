// Test helpers for the glTF files the command line writes: the Khronos glTF
// Validator's verdict (tests/gltf/validate.js under Node), and the file read
// back with TinyGLTF's loader.
#ifndef TESTS_GLTF_CHECK_H
#define TESTS_GLTF_CHECK_H

#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace gltf_check {

// Success when the validator reports no error in the file; its report is the
// failure message otherwise (warnings are printed too).
inline testing::AssertionResult PassesValidator(const std::string& path) {
  std::string command =
      "node '" MIROVA_SOURCE_DIR "/tests/gltf/validate.js' '" + path + "' 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return testing::AssertionFailure() << "cannot run " << command;
  std::string report;
  char chunk[512];
  while (size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) report.append(chunk, n);
  int status = pclose(pipe);
  if (status != 0) return testing::AssertionFailure() << "the glTF Validator says:\n" << report;
  if (!report.empty()) std::printf("%s", report.c_str());
  return testing::AssertionSuccess();
}

// Reads a .glb or .gltf file; the loader's error is the failure message.
inline testing::AssertionResult Load(const std::string& path, tinygltf::Model* model) {
  tinygltf::TinyGLTF loader;
  std::string error, warning;
  bool binary = path.size() > 4 && path.compare(path.size() - 4, 4, ".glb") == 0;
  bool ok = binary ? loader.LoadBinaryFromFile(model, &error, &warning, path)
                   : loader.LoadASCIIFromFile(model, &error, &warning, path);
  if (ok) return testing::AssertionSuccess();
  return testing::AssertionFailure() << path << ": " << error << warning;
}

// The floats an accessor holds, components of each element in a row.
inline std::vector<float> Floats(const tinygltf::Model& model, int accessorIndex) {
  const tinygltf::Accessor& accessor = model.accessors.at(static_cast<size_t>(accessorIndex));
  const tinygltf::BufferView& view = model.bufferViews.at(static_cast<size_t>(accessor.bufferView));
  const tinygltf::Buffer& buffer = model.buffers.at(static_cast<size_t>(view.buffer));
  EXPECT_EQ(accessor.componentType, TINYGLTF_COMPONENT_TYPE_FLOAT);
  size_t n = accessor.count * static_cast<size_t>(tinygltf::GetNumComponentsInType(accessor.type));
  std::vector<float> values(n);
  size_t start = view.byteOffset + accessor.byteOffset;
  if (start + n * sizeof(float) <= buffer.data.size())
    std::memcpy(values.data(), buffer.data.data() + start, n * sizeof(float));
  else
    ADD_FAILURE() << "accessor " << accessorIndex << " runs past its buffer";
  return values;
}

}  // namespace gltf_check

#endif
