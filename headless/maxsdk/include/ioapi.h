// Stand-in: what the host hands an object while a scene is saved or loaded.
// An object's own data is a sequence of chunks, each a 16-bit id with either
// bytes or nested chunks. The host keeps the object's references itself.
#ifndef HEADLESS_IOAPI_H
#define HEADLESS_IOAPI_H
#include <ref.h>

// Win32's USHORT (a repeated typedef of the same type is allowed).
typedef unsigned short USHORT;

class ILoad;

// Work that must wait until the whole scene is read (every reference is in
// place), such as upgrading an old parameter block.
class PostLoadCallback {
 public:
  virtual ~PostLoadCallback() = default;
  virtual void proc(ILoad* iload) = 0;
  // Lower runs first.
  virtual int Priority() { return 5; }
};

class ISave {
 public:
  virtual void BeginChunk(USHORT id) = 0;
  virtual void EndChunk() = 0;
  virtual int CurChunkDepth() = 0;
  virtual IOResult Write(const void* buf, ULONG nbytes, ULONG* nwrit) = 0;
  // The text and its terminating zero.
  virtual IOResult WriteCString(const char* str) = 0;

 protected:
  ~ISave() = default;
};

class ILoad {
 public:
  // Opens the next chunk at the current depth: IO_OK, or IO_END when there is
  // none left.
  virtual IOResult OpenChunk() = 0;
  virtual USHORT CurChunkID() = 0;
  virtual ULONG CurChunkLength() = 0;
  virtual int CurChunkDepth() = 0;
  // Closes the open chunk, skipping what was not read.
  virtual IOResult CloseChunk() = 0;
  // The id of the next chunk at the current depth, 0 when there is none.
  virtual USHORT PeekNextChunkID() = 0;
  // Reads up to nbytes of the open chunk: IO_ERROR when fewer were left.
  virtual IOResult Read(void* buf, ULONG nbytes, ULONG* nread) = 0;
  // The open chunk's bytes as text; the loader owns *buf.
  virtual IOResult ReadCStringChunk(char** buf) = 0;
  // cb runs once the scene is read. Stand-in: the loader then deletes it
  // (where the host's callbacks delete themselves).
  virtual void RegisterPostLoadCallback(PostLoadCallback* cb) = 0;

 protected:
  ~ILoad() = default;
};

#endif
