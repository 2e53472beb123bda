#pragma once

#include "meshtable.h"

// The helicopter's tables. They are written by the mesh generator at build
// time; the sizes here are fixed, so a generator that drifts fails to compile.
namespace di64 {
inline constexpr int faceCount = 9597;
inline constexpr int vertexCount = 5595;
inline constexpr int normalCount = 5738;
inline constexpr int materialCount = 11;
inline constexpr int runCount = 14;

extern const float meshVertices[vertexCount][3];
extern const float meshNormals[normalCount][3];
extern const float meshTexCoords[1][2];
extern const MeshFace meshFaces[faceCount];
extern const MeshMaterial meshMaterials[materialCount];
extern const MaterialRun materialRuns[runCount];

inline MeshTables tables()
{
    return {meshVertices, vertexCount, meshNormals, normalCount, meshTexCoords, 1, meshFaces,
        faceCount, meshMaterials, materialCount, materialRuns, runCount};
}
} // namespace di64
