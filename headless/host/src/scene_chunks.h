// The chunks an object's Save writes and its Load reads, kept in memory while
// a scene file is written or read (internal to the headless stand-in).
#ifndef HEADLESS_SCENE_CHUNKS_H
#define HEADLESS_SCENE_CHUNKS_H
#include <ioapi.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace headless::detail {

struct Chunk {
  USHORT id = 0;
  std::string data;  // bytes
  std::vector<Chunk> children;
};

// The ISave given to an object's Save: collects its chunks.
class ChunkWriter : public ISave {
 public:
  void BeginChunk(USHORT id) override;
  void EndChunk() override;
  int CurChunkDepth() override { return static_cast<int>(open.size()); }
  IOResult Write(const void* buf, ULONG nbytes, ULONG* nwrit) override;
  IOResult WriteCString(const char* str) override;

  // The chunks written; false when a chunk was left open or data was written
  // outside any chunk.
  bool Finish(std::vector<Chunk>& out);

 private:
  std::vector<Chunk> top;
  std::vector<Chunk*> open;
  bool failed = false;
};

// The ILoad given to an object's Load: reads back its chunks and collects
// the post-load callbacks it registers.
class ChunkReader : public ILoad {
 public:
  ChunkReader(const std::vector<Chunk>& chunks, std::vector<std::unique_ptr<PostLoadCallback>>& callbacks);

  IOResult OpenChunk() override;
  USHORT CurChunkID() override { return open.empty() ? 0 : open.back().chunk->id; }
  ULONG CurChunkLength() override {
    return open.empty() ? 0 : static_cast<ULONG>(open.back().chunk->data.size());
  }
  int CurChunkDepth() override { return static_cast<int>(open.size()); }
  IOResult CloseChunk() override;
  USHORT PeekNextChunkID() override;
  IOResult Read(void* buf, ULONG nbytes, ULONG* nread) override;
  IOResult ReadCStringChunk(char** buf) override;
  void RegisterPostLoadCallback(PostLoadCallback* cb) override;

 private:
  struct Level {
    const std::vector<Chunk>* chunks;
    size_t next;
  };
  struct Open {
    const Chunk* chunk;
    size_t pos;
  };
  std::vector<Level> levels;
  std::vector<Open> open;
  std::deque<std::string> strings;
  std::vector<std::unique_ptr<PostLoadCallback>>& callbacks;
};

// Bytes as lowercase hex ("-" for none), and back; false for bad text.
std::string ToHex(const std::string& bytes);
bool FromHex(const std::string& text, std::string& bytes);

}  // namespace headless::detail

#endif
