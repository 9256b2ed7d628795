#include "gltf_resources.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <set>

#include "file_names.h"
#include "json_file.h"
#include "output_file.h"

namespace cli {

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// A URI naming a file by a path relative to the document: no data URI, no
// scheme ("http:", "file:"), no absolute path.
bool RelativeFileUri(const std::string& uri) {
  if (uri.empty() || uri[0] == '/') return false;
  for (char c : uri) {
    if (c == ':') return false;
    if (c == '/' || c == '?' || c == '#') break;
  }
  return true;
}

int HexDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c))    ? c - '0'
         : std::isxdigit(static_cast<unsigned char>(c)) ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                                                        : -1;
}

// The file path a relative URI names: "%20" is a space.
std::string PathOfUri(const std::string& uri) {
  std::string path;
  for (size_t i = 0; i < uri.size(); ++i) {
    const int hi = i + 2 < uri.size() && uri[i] == '%' ? HexDigit(uri[i + 1]) : -1;
    const int lo = hi >= 0 ? HexDigit(uri[i + 2]) : -1;
    if (lo >= 0) {
      path += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      path += uri[i];
    }
  }
  return path;
}

bool ClimbsOut(const std::string& path) {
  return path == ".." || path.rfind("../", 0) == 0 || path.find("/../") != std::string::npos ||
         (path.size() >= 3 && path.compare(path.size() - 3, 3, "/..") == 0);
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Makes the folders of path (relative) below base, which exists.
bool MakeFolders(const std::string& base, const std::string& path, std::string* problem) {
  for (size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
    const std::string part = base + "/" + path.substr(0, slash);
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
      *problem = "cannot make the folder " + Printable(part) + ": " + std::strerror(errno);
      return false;
    }
  }
  return true;
}

// Copies from to to, whole or not at all; a file already at to is kept when
// it holds the same bytes, refused when it holds others.
bool CopyOne(const std::string& from, const std::string& to, std::ostream& err, std::string* problem) {
  std::string bytes, there;
  if (!ReadFileBytes(from, kMaxGltfBytes, &bytes, problem)) return false;
  struct stat st;
  if (stat(to.c_str(), &st) == 0) {
    if (ReadFileBytes(to, kMaxGltfBytes, &there, problem) && there == bytes) return true;
    *problem =
        Printable(to) + " is there already and holds other bytes than " + Printable(from) + "; it is not written over";
    return false;
  }
  OutputFile file(to);
  file.Stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (file.Commit(err)) return true;
  *problem = "cannot copy " + Printable(from) + " beside the output";
  return false;
}

}  // namespace

bool CopyResources(const GltfDocument& doc, const std::string& output, std::ostream& err, std::string* problem) {
  struct stat st;
  if (stat(output.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return true;
  const std::string from = FolderOf(doc.path), to = FolderOf(output);
  // A folder that is not there is the output's to report.
  if (SameFile(from, to) || stat(to.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return true;
  std::set<std::string> uris;
  for (const char* list : {"buffers", "images"})
    for (const Json& item : Items(doc.json, list))
      if (item.is_object() && item.contains("uri") && item["uri"].is_string())
        uris.insert(item["uri"].get<std::string>());
  for (const std::string& uri : uris) {
    if (!RelativeFileUri(uri)) continue;
    const std::string path = PathOfUri(uri), source = from + "/" + path, copy = to + "/" + path;
    if (SameFile(source, copy)) continue;
    if (ClimbsOut(path)) {
      err << "mirova: " << Printable(uri) << " lies outside the folder of " << Printable(doc.path)
          << ", so it is not copied; " << Printable(output) << " may not find it\n";
      continue;
    }
    if (!MakeFolders(to, path, problem) || !CopyOne(source, copy, err, problem)) return false;
  }
  return true;
}

}  // namespace cli
