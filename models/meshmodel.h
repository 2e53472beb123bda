#pragma once

#include "meshtable.h"

#include <GL/gl.h>

// A model drawn from constant mesh tables: compiles them into one display list
// of lit triangles with the material changes recorded in it. The helicopter
// and the airfield differ only in their tables.
class MeshModel
{
public:
    explicit MeshModel(const MeshTables &tables)
        : m_tables(tables)
    {
    }

    // Records the whole model into a new list in the current context and
    // returns its name; the caller owns the list.
    GLuint compileList() const;

    // Ends the open triangle batch, makes material `index` current for both
    // faces and opens the next batch. Only for use while compiling.
    void selectMaterial(int index) const;

    // Sets one material colour for both faces, with `alpha` as its fourth part.
    static void setMaterialColor(GLenum parameter, const float *rgb, float alpha);

    const MeshTables &tables() const { return m_tables; }

private:
    MeshTables m_tables;
};
