#include "meshmodel.h"

#include <algorithm>

namespace {
// GL refuses a specular exponent outside 0..128 and keeps the previous one;
// some materials are modelled with more, so they get GL's sharpest instead.
constexpr float maxShininess = 128.0f;
} // namespace

GLuint MeshModel::compileList() const
{
    const GLuint name = glGenLists(1);
    int runFacesLeft = 0;
    int nextRun = 0;
    glNewList(name, GL_COMPILE);
    // The first face always starts a run, so this first batch stays empty.
    glBegin(GL_TRIANGLES);
    for (int f = 0; f < m_tables.faceCount; ++f) {
        if (runFacesLeft == 0) {
            const MaterialRun &run = m_tables.runs[nextRun++];
            selectMaterial(run.material);
            runFacesLeft = run.faceCount;
        }
        --runFacesLeft;
        const MeshFace &face = m_tables.faces[f];
        for (int c = 0; c < 3; ++c) {
            const float *normal = m_tables.normals[face.normal[c]];
            const float *texCoord = m_tables.texCoords[face.texCoord[c]];
            const float *vertex = m_tables.vertices[face.vertex[c]];
            glNormal3f(normal[0], normal[1], normal[2]);
            glTexCoord2f(texCoord[0], texCoord[1]);
            glVertex3f(vertex[0], vertex[1], vertex[2]);
        }
    }
    glEnd();
    glEndList();
    return name;
}

void MeshModel::selectMaterial(int index) const
{
    glEnd();
    const MeshMaterial &m = m_tables.materials[index];
    setMaterialColor(GL_AMBIENT, m.ambient, m.alpha);
    setMaterialColor(GL_DIFFUSE, m.diffuse, m.alpha);
    setMaterialColor(GL_SPECULAR, m.specular, m.alpha);
    setMaterialColor(GL_EMISSION, m.emission, m.alpha);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(m.shininess, 0.0f, maxShininess));
    glBegin(GL_TRIANGLES);
}

void MeshModel::setMaterialColor(GLenum parameter, const float *rgb, float alpha)
{
    const GLfloat colour[4] = {rgb[0], rgb[1], rgb[2], alpha};
    glMaterialfv(GL_FRONT_AND_BACK, parameter, colour);
}
