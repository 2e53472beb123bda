#pragma once

#include "meshtable.h"

// The airfield's tables. They are written by the mesh generator at build
// time; the sizes here are fixed, so a generator that drifts fails to compile.
namespace airfield {
inline constexpr int faceCount = 1739;
inline constexpr int vertexCount = 2234;
inline constexpr int normalCount = 1470;
inline constexpr int materialCount = 13;
inline constexpr int runCount = 13;

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
} // namespace airfield
