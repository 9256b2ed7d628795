// The files a glTF document names by relative URI (buffers, images), which
// must lie beside it wherever it is written: copied beside the output when
// that is in another folder than the document read, so that the output
// reads them as the original did.
#ifndef MIROVA_CLI_GLTF_RESOURCES_H
#define MIROVA_CLI_GLTF_RESOURCES_H
#include <ostream>
#include <string>

#include "gltf_document.h"

namespace cli {

// Copies each file doc names by a relative URI from doc's folder to the
// same place beside output (a folder made where missing), each whole or not
// at all. Nothing is copied where the two places hold the same file, a file
// already there has the same bytes, or output is not a regular file (a
// device); a URI that climbs out of the folder ("..") is not copied, and err
// says the output's reference may not reach it. False, with *problem, when
// a file cannot be read or copied, or one already there holds other bytes
// (it is not written over).
bool CopyResources(const GltfDocument& doc, const std::string& output, std::ostream& err, std::string* problem);

}  // namespace cli

#endif
