// Chunked object data for the scene file.
#include "scene_chunks.h"

#include <cstring>

namespace headless::detail {

void ChunkWriter::BeginChunk(USHORT id) {
  std::vector<Chunk>& siblings = open.empty() ? top : open.back()->children;
  siblings.push_back(Chunk{id, {}, {}});
  open.push_back(&siblings.back());
}

void ChunkWriter::EndChunk() {
  if (open.empty())
    failed = true;
  else
    open.pop_back();
}

IOResult ChunkWriter::Write(const void* buf, ULONG nbytes, ULONG* nwrit) {
  if (nwrit) *nwrit = 0;
  if (open.empty()) {
    failed = true;
    return IO_ERROR;
  }
  if (nbytes) open.back()->data.append(static_cast<const char*>(buf), nbytes);
  if (nwrit) *nwrit = nbytes;
  return IO_OK;
}

IOResult ChunkWriter::WriteCString(const char* str) {
  ULONG written = 0;
  const char* text = str ? str : "";
  return Write(text, static_cast<ULONG>(std::strlen(text) + 1), &written);
}

bool ChunkWriter::Finish(std::vector<Chunk>& out) {
  out = top;
  return !failed && open.empty();
}

ChunkReader::ChunkReader(const std::vector<Chunk>& chunks,
                         std::vector<std::unique_ptr<PostLoadCallback>>& callbacks)
    : levels{{&chunks, 0}}, callbacks(callbacks) {}

IOResult ChunkReader::OpenChunk() {
  Level& level = levels.back();
  if (level.next >= level.chunks->size()) return IO_END;
  const Chunk& chunk = (*level.chunks)[level.next++];
  open.push_back({&chunk, 0});
  levels.push_back({&chunk.children, 0});
  return IO_OK;
}

IOResult ChunkReader::CloseChunk() {
  if (open.empty()) return IO_ERROR;
  open.pop_back();
  levels.pop_back();
  return IO_OK;
}

USHORT ChunkReader::PeekNextChunkID() {
  const Level& level = levels.back();
  return level.next < level.chunks->size() ? (*level.chunks)[level.next].id : 0;
}

IOResult ChunkReader::Read(void* buf, ULONG nbytes, ULONG* nread) {
  if (nread) *nread = 0;
  if (open.empty()) return IO_ERROR;
  Open& current = open.back();
  size_t left = current.chunk->data.size() - current.pos;
  size_t n = nbytes < left ? nbytes : left;
  if (n) std::memcpy(buf, current.chunk->data.data() + current.pos, n);
  current.pos += n;
  if (nread) *nread = static_cast<ULONG>(n);
  return n == nbytes ? IO_OK : IO_ERROR;
}

IOResult ChunkReader::ReadCStringChunk(char** buf) {
  if (open.empty()) return IO_ERROR;
  const std::string& data = open.back().chunk->data;
  // The text ends at its first zero, or with the chunk.
  strings.emplace_back(data.c_str());
  *buf = &strings.back()[0];
  return IO_OK;
}

void ChunkReader::RegisterPostLoadCallback(PostLoadCallback* cb) {
  if (cb) callbacks.emplace_back(cb);
}

std::string ToHex(const std::string& bytes) {
  if (bytes.empty()) return "-";
  static const char digits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    text += digits[c >> 4];
    text += digits[c & 15];
  }
  return text;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool FromHex(const std::string& text, std::string& bytes) {
  bytes.clear();
  if (text == "-") return true;
  if (text.size() % 2) return false;
  for (size_t i = 0; i < text.size(); i += 2) {
    int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes += static_cast<char>(high * 16 + low);
  }
  return true;
}

}  // namespace headless::detail
