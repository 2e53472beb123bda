#pragma once

#include <cstdint>

// Layout of the constant mesh tables that the models are compiled from.
// Every index is zero-based; every float is single precision.

// One triangle: three vertex, three normal and three texture-coordinate
// indices. Corners are sent to GL in the order 0, 1, 2, which fixes the winding.
struct MeshFace
{
    std::int16_t vertex[3];
    std::int16_t normal[3];
    std::int16_t texCoord[3];
};

struct MeshMaterial
{
    float ambient[3];
    float diffuse[3];
    float specular[3];
    float emission[3];
    float alpha; // fourth component of all four colours
    float shininess; // specular exponent as modelled; GL accepts 0..128
    std::int32_t texture; // -1: none; nothing reads it
};

// A run of consecutive faces drawn with one material.
struct MaterialRun
{
    std::int32_t material;
    std::int32_t faceCount;
};

// The six tables of one model, as handed to the list compiler and the tests.
struct MeshTables
{
    const float (*vertices)[3];
    int vertexCount;
    const float (*normals)[3];
    int normalCount;
    const float (*texCoords)[2];
    int texCoordCount;
    const MeshFace *faces;
    int faceCount;
    const MeshMaterial *materials;
    int materialCount;
    const MaterialRun *runs;
    int runCount;
};
