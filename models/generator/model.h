#pragma once

#include "mesh.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Material
{
    Vec3 ambient, diffuse, specular;
    double shininess;
};

// What one run must be: its material, its face count and the box its
// vertices stay in.
struct RunPlan
{
    int material;
    int faces;
    Vec3 lo, hi;
    const char *what; // for the report
};

struct Run
{
    RunPlan plan;
    std::vector<Part> parts;
};

struct Model
{
    std::string name; // C++ namespace of the tables
    std::string header; // header that declares them
    int vertexCount = 0, normalCount = 0; // required totals
    Vec3 halfExtent; // required top corner of the box (x is 0.5)
    std::vector<Material> materials;
    std::vector<Run> runs;
};

// The six tables, flattened from the parts in run order.
struct Tables
{
    std::vector<std::array<float, 3>> vertices, normals;
    struct Face
    {
        std::int16_t v[3], n[3];
    };
    std::vector<Face> faces;
};

Tables assemble(Model &model);

// Checks the tables against the model's plan and the table invariants;
// returns a list of problems (empty when all is well).
std::vector<std::string> check(const Model &model, const Tables &tables);

// Per-run counts for people: faces, vertices and normals per run and part.
std::string report(const Model &model);

// The C++ source that defines the model's six tables.
std::string writeSource(const Model &model, const Tables &tables);

Model buildHelicopter();
Model buildAirfield();
