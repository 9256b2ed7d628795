// The material libraries an OBJ file names (mtllib), read through
// tinyobjloader: each material's name, diffuse colour, opacity and texture.
#ifndef MIROVA_CLI_OBJ_MATERIAL_H
#define MIROVA_CLI_OBJ_MATERIAL_H
#include <string>

#include "obj_file.h"

namespace cli {

// Reads into mesh.materials the materials the libraries named by mesh's
// mtllib lines define (the first of a name wins), each library found from
// the folder of the OBJ file at objPath, each texture from its library's
// folder. A library that cannot be read, and a usemtl naming a material no
// library defines, are said in mesh.warnings as "PATH:LINE: why": the mesh
// keeps its lines, so nothing is lost.
void ReadMaterialLibraries(const std::string& objPath, ObjMesh& mesh);

}  // namespace cli

#endif
