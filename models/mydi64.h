#pragma once

#include "di64mesh.h"
#include "meshmodel.h"

// The attack helicopter: nose toward +x, +z up, one unit long.
class myDi64 : public MeshModel
{
public:
    myDi64()
        : MeshModel(di64::tables())
    {
    }
};
