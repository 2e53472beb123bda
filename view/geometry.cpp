// Geometry made by code rather than tables: the look-at cross, the unit grid
// and the two rotors. None of them sets a colour or a normal; they are lit
// with whatever the drawing before them left.

#include "mygl.h"

namespace {
// One blade is a triangle from the hub out to a tip 0.4 wide; four blades a
// quarter turn apart, each its own batch.
void drawBlades(float length)
{
    const float tips[4][2][2] = {
        {{length, -0.2f}, {length, 0.2f}},
        {{-length, -0.2f}, {-length, 0.2f}},
        {{0.2f, length}, {-0.2f, length}},
        {{0.2f, -length}, {-0.2f, -length}},
    };
    for (const auto &tip : tips) {
        glBegin(GL_TRIANGLES);
        glVertex3f(0.0f, 0.0f, 0.0f);
        glVertex3f(tip[0][0], tip[0][1], 0.0f);
        glVertex3f(tip[1][0], tip[1][1], 0.0f);
        glEnd();
    }
}
} // namespace

GLuint myGL::makeCrossList()
{
    const GLuint id = glGenLists(1);
    glNewList(id, GL_COMPILE);
    glPushMatrix();
    glBegin(GL_LINES);
    glVertex3f(-0.05f, 0.0f, 0.0f);
    glVertex3f(0.05f, 0.0f, 0.0f);
    glVertex3f(0.0f, -0.05f, 0.0f);
    glVertex3f(0.0f, 0.05f, 0.0f);
    glVertex3f(0.0f, 0.0f, -0.05f);
    glVertex3f(0.0f, 0.0f, 0.05f);
    glEnd();
    glPopMatrix();
    glEndList();
    return id;
}

GLuint myGL::makeGridList()
{
    // Three names are reserved and only the first is used; all three are
    // released together.
    const GLuint id = glGenLists(3);
    glNewList(id, GL_COMPILE);
    glPushMatrix();
    glBegin(GL_LINES);
    for (int i = 0; i <= 5; ++i) {
        const float y = i * 0.2f;
        glVertex3f(0.0f, y, 0.0f);
        glVertex3f(1.0f, y, 0.0f);
    }
    for (int i = 0; i <= 5; ++i) {
        const float x = i * 0.2f;
        glVertex3f(x, 0.0f, 0.0f);
        glVertex3f(x, 1.0f, 0.0f);
    }
    glEnd();
    glPopMatrix();
    glEndList();
    return id;
}

void myGL::drawWing()
{
    // Main rotor: the disc tilts 6 degrees about Y.
    glPushMatrix();
    glRotatef(-6.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(m_state.rotorAngle, 0.0f, 0.0f, 1.0f);
    drawBlades(2.4f);
    glPopMatrix();

    // Tail rotor: upright in the X-Z plane, behind and beside the main hub.
    glPushMatrix();
    glTranslatef(2.8f, -0.25f, 0.0f);
    glScalef(0.6f, 0.6f, 0.6f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glPushMatrix();
    glRotatef(m_state.tailRotorAngle, 0.0f, 0.0f, 1.0f);
    drawBlades(1.0f);
    glPopMatrix();
    glPopMatrix();
}
