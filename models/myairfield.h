#pragma once

#include "airfieldmesh.h"
#include "meshmodel.h"

// The airfield: a thin slab in the x-y plane with its buildings near +x.
class myAirfield : public MeshModel
{
public:
    myAirfield()
        : MeshModel(airfield::tables())
    {
    }
};
