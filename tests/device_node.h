// Test helper: a character device node of the test's own (needs the right to
// make one), so that a fault in the code under test can only replace that
// node, never the system's /dev/full or /dev/null.
#ifndef TESTS_DEVICE_NODE_H
#define TESTS_DEVICE_NODE_H

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <string>

namespace device_node {

const unsigned kNull = 3, kFull = 7;  // minor numbers of the memory devices

// Makes the node at path (replacing whatever is there); false when not allowed.
inline bool Make(const std::string& path, unsigned minor) {
  unlink(path.c_str());
  return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, minor)) == 0;
}

}  // namespace device_node

#endif
