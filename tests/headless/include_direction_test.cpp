// The shape of the tree: includes point one way only. Inside the headless stand-in,
// win32 <- maxsdk <- host, each layer reaching the ones below through their
// public headers; the library (source/) sees Win32 and the SDK as a plug-in
// does, never the host that drives it nor the headless user; the stand-in
// never includes a library header.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const layers[] = {"win32", "maxsdk", "host"};  // bottom to top

// Where a file lives: a headless layer's public or internal part, or the library.
struct Place {
  std::string layer;  // "win32", "maxsdk", "host", "source", or "" elsewhere
  bool internal = false;
};

int Rank(const std::string& layer) {
  for (int i = 0; i < 3; ++i)
    if (layer == layers[i]) return i;
  return -1;
}

Place PlaceOf(const fs::path& top, const fs::path& file) {
  const std::string relative = fs::relative(file, top).generic_string();
  if (relative.rfind("source/", 0) == 0) return {"source", false};
  for (const char* layer : layers) {
    const std::string prefix = std::string("headless/") + layer + "/";
    if (relative.rfind(prefix + "include/", 0) == 0) return {layer, false};
    if (relative.rfind(prefix, 0) == 0) return {layer, true};
  }
  return {};
}

// The file an include names, as the compiler finds it: a quoted name beside
// the includer first, then the layers' include folders; empty for a system
// header.
fs::path Resolve(const fs::path& top, const fs::path& includer, bool quoted, const std::string& name) {
  if (quoted && fs::exists(includer.parent_path() / name))
    return fs::weakly_canonical(includer.parent_path() / name);
  for (const char* layer : layers) {
    const fs::path candidate = top / "headless" / layer / "include" / name;
    if (fs::exists(candidate)) return fs::weakly_canonical(candidate);
  }
  return {};
}

// The header an #include line names, and whether it names it in quotes;
// false for any other line.
bool ParseInclude(const std::string& line, std::string& name, bool& quoted) {
  size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos || line[i] != '#') return false;
  i = line.find_first_not_of(" \t", i + 1);
  if (i == std::string::npos || line.compare(i, 7, "include") != 0) return false;
  i = line.find_first_not_of(" \t", i + 7);
  if (i == std::string::npos || (line[i] != '<' && line[i] != '"')) return false;
  quoted = line[i] == '"';
  const size_t end = line.find(quoted ? '"' : '>', i + 1);
  if (end == std::string::npos) return false;
  name = line.substr(i + 1, end - i - 1);
  return true;
}

// Why includer may not include target, or empty when it may.
std::string Wrong(const Place& includer, const Place& target, const std::string& name) {
  if (target.layer == "source")
    return includer.layer == "source" ? "" : "the headless stand-in includes a library header";
  if (target.layer.empty()) return "";
  if (target.internal && target.layer != includer.layer) return "another layer's internals";
  if (includer.layer == "source") {
    if (target.layer == "host") return "the library sees the host";
    if (name.rfind("headless", 0) == 0) return "the library sees the headless user";
    return "";
  }
  return Rank(target.layer) > Rank(includer.layer) ? "a layer above" : "";
}

// Every wrong include of file (whose text is given), as "path:line: why".
std::vector<std::string> WrongIncludes(const fs::path& top, const fs::path& file, const std::string& text) {
  std::vector<std::string> wrong;
  const Place includer = PlaceOf(top, file);
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    std::string name;
    bool quoted = false;
    if (!ParseInclude(line, name, quoted)) continue;
    const fs::path target = Resolve(top, file, quoted, name);
    if (target.empty()) continue;
    const std::string why = Wrong(includer, PlaceOf(top, target), fs::path(name).filename().string());
    if (!why.empty())
      wrong.push_back(fs::relative(file, top).generic_string() + ":" + std::to_string(number) + ": " + name +
                      ": " + why);
  }
  return wrong;
}

const fs::path top = fs::weakly_canonical(MIROVA_SOURCE_DIR);

TEST(IncludeDirection, EveryIncludeOfThePlatformAndTheLibraryPointsDownward) {
  std::vector<std::string> wrong;
  for (const char* folder : {"headless", "source"}) {
    for (const auto& entry : fs::recursive_directory_iterator(top / folder)) {
      const std::string extension = entry.path().extension().string();
      if (extension != ".h" && extension != ".cpp") continue;
      std::ifstream file(entry.path());
      std::stringstream text;
      text << file.rdbuf();
      for (const std::string& w : WrongIncludes(top, fs::weakly_canonical(entry.path()), text.str()))
        wrong.push_back(w);
    }
  }
  for (const std::string& w : wrong) ADD_FAILURE() << w;
}

TEST(IncludeDirection, TheCheckTellsWrongIncludesFromRightOnes) {
  struct Case {
    const char* file;
    const char* include;
    bool wrong;
  } cases[] = {
      {"headless/win32/src/windows.cpp", "#include <windows.h>", false},
      {"headless/win32/src/windows.cpp", "#include \"window_table.h\"", false},
      {"headless/win32/src/windows.cpp", "#include <vector>", false},
      {"headless/win32/src/windows.cpp", "#include <maxtypes.h>", true},
      {"headless/win32/src/windows.cpp", "#include \"../../maxsdk/include/maxtypes.h\"", true},
      {"headless/win32/include/windows.h", "  #  include <headless_host.h>", true},
      {"headless/maxsdk/src/node.cpp", "#include <headless_win32.h>", false},
      {"headless/maxsdk/src/node.cpp", "#include <headless_scene.h>", true},
      {"headless/maxsdk/src/node.cpp", "#include \"../../win32/src/window_table.h\"", true},
      {"headless/maxsdk/src/node.cpp", "#include \"../../../source/mirovaobj.h\"", true},
      {"headless/host/src/host.cpp", "#include <headless_sdk.h>", false},
      {"headless/host/src/host.cpp", "#include \"../../maxsdk/src/records.h\"", true},
      {"source/mirovaobj.cpp", "#include <max.h>", false},
      {"source/mirovaobj.cpp", "#include \"mirovaobj_internal.h\"", false},
      {"source/mirovaobj.cpp", "#include <headless_host.h>", true},
      {"source/mirovaobj.cpp", "#include \"../headless/host/include/headless_viewport.h\"", true},
      {"source/mirovaobj.cpp", "#include <headless_win32.h>", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + ": " + c.include);
    const std::vector<std::string> wrong = WrongIncludes(top, top / c.file, std::string("// x\n") + c.include + "\n");
    ASSERT_EQ(wrong.size(), c.wrong ? 1u : 0u);
    if (c.wrong) {
      EXPECT_EQ(wrong[0].rfind(std::string(c.file) + ":2: ", 0), 0u) << wrong[0];
    }
  }
}

}  // namespace
