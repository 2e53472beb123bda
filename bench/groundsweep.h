#pragma once

#include "benchwindows.h"

#include <QString>

// Runs the viewer window once in this process and prints its figures on one
// line for the sweep to read (the sweep's child side).
int runSceneOnce(double seconds);

// For each ground picture size, makes a picture of that size in a temporary
// folder and runs `program` there as a child process of its own (so that its
// peak memory is the picture's), `rounds` times, sizes alternating; prints tick
// rate, CPU per tick and resident memory for each size.
int runGroundSweep(const QString &program, double seconds, int rounds);

// The hidden argument that makes the benchmark run as the sweep's child.
inline constexpr const char *sceneOnceArgument = "--scene-once";
