// The common open-file dialog, answered by the headless user.
#include <commdlg.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "recorder.h"

namespace {

std::vector<std::string> FilterEntries(LPCSTR filter) {
  std::vector<std::string> entries;
  for (const char* p = filter; p && *p; p += std::strlen(p) + 1) entries.push_back(p);
  return entries;
}

void RecordRequest(const OPENFILENAMEA& ofn, headless::OpenDialogRecord& r) {
  r.owner = ofn.hwndOwner;
  r.filter = FilterEntries(ofn.lpstrFilter);
  r.filterIndex = ofn.nFilterIndex;
  r.hasTitle = ofn.lpstrTitle != nullptr;
  r.title = ofn.lpstrTitle ? ofn.lpstrTitle : "";
  r.hasDefaultExtension = ofn.lpstrDefExt != nullptr;
  r.defaultExtension = ofn.lpstrDefExt ? ofn.lpstrDefExt : "";
  r.flags = ofn.Flags;
  r.maxFile = ofn.nMaxFile;
  if (ofn.lpstrFile && ofn.nMaxFile > 0) r.initialFile.assign(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile));
  r.hasInitialDir = ofn.lpstrInitialDir != nullptr;
  r.initialDir = ofn.lpstrInitialDir ? ofn.lpstrInitialDir : "";
}

size_t FileOffset(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

// The dialog hands back full paths; a name typed without an extension gets
// the default one.
std::string FullPath(std::string path, const OPENFILENAMEA& ofn) {
  if (!path.empty() && path[0] != '/') {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) path = std::string(cwd) + "/" + path;
  }
  if (ofn.lpstrDefExt && *ofn.lpstrDefExt &&
      path.find('.', FileOffset(path)) == std::string::npos)
    path += std::string(".") + ofn.lpstrDefExt;
  return path;
}

bool Acceptable(const std::string& path, DWORD flags) {
  struct stat st;
  if (flags & OFN_FILEMUSTEXIST) return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
  if (flags & OFN_PATHMUSTEXIST) {
    std::string folder = path.substr(0, FileOffset(path));
    return folder.empty() || (stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
  }
  return true;
}

// Copies the choice into the program's buffers; false when it does not fit.
bool HandBack(const std::string& path, OPENFILENAMEA& ofn) {
  if (!ofn.lpstrFile || path.size() + 1 > ofn.nMaxFile) {
    if (ofn.lpstrFile && ofn.nMaxFile >= 2) {  // the size needed, as Windows reports it
      WORD needed = static_cast<WORD>(path.size() + 1);
      std::memcpy(ofn.lpstrFile, &needed, sizeof needed);
    }
    return false;
  }
  std::memcpy(ofn.lpstrFile, path.c_str(), path.size() + 1);
  size_t offset = FileOffset(path);
  size_t dot = path.find_last_of('.');
  ofn.nFileOffset = static_cast<WORD>(offset);
  ofn.nFileExtension =
      static_cast<WORD>(dot == std::string::npos || dot < offset ? path.size() : dot + 1);
  if (ofn.lpstrFileTitle && ofn.nMaxFileTitle > 0) {
    std::string title = path.substr(offset).substr(0, ofn.nMaxFileTitle - 1);
    std::memcpy(ofn.lpstrFileTitle, title.c_str(), title.size() + 1);
  }
  return true;
}

BOOL Close(headless::OpenDialogRecord& record, BOOL result) {
  auto& records = headless::detail::Records();
  records.openDialogs.push_back(record);
  if (records.openDialogObserver) records.openDialogObserver(records.openDialogs.back());
  return result;
}

}  // namespace

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) {
  auto& records = headless::detail::Records();
  records.commonDialogError = 0;
  headless::OpenDialogRecord record;
  RecordRequest(*ofn, record);
  while (!records.openDialogAnswers.empty()) {
    headless::detail::OpenDialogAnswer answer = records.openDialogAnswers.front();
    records.openDialogAnswers.pop_front();
    if (answer.cancel) break;
    std::string path = FullPath(answer.path, *ofn);
    if (!Acceptable(path, ofn->Flags)) {
      record.turnedDown.push_back(path);
      continue;
    }
    if (!HandBack(path, *ofn)) {
      records.commonDialogError = FNERR_BUFFERTOOSMALL;
      return Close(record, FALSE);
    }
    record.cancelled = false;
    record.chosen = path;
    return Close(record, TRUE);
  }
  return Close(record, FALSE);
}

DWORD CommDlgExtendedError() { return headless::detail::Records().commonDialogError; }
