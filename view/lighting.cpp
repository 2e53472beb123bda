#include "lighting.h"

#include "mygl.h"

namespace {
const GLfloat white[] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat markerRed[] = {1.0f, 0.0f, 0.0f, 1.0f};
} // namespace

void setUpFixedLights()
{
    static const GLfloat light0Position[] = {47.0f, 0.0f, 1.0f, 1.0f};
    static const GLfloat light1Position[] = {0.0f, 0.0f, 3.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_POSITION, light0Position);
    glLightfv(GL_LIGHT1, GL_POSITION, light1Position);

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
}

void myGL::lightPos()
{
    glEnable(GL_LIGHT2);
    glEnable(GL_LIGHT3);
    glEnable(GL_LIGHT4);
    // Light 2 lights, light 3 only adds every material's ambient colour, light
    // 4 only adds highlights.
    glLightfv(GL_LIGHT2, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT3, GL_AMBIENT, white);
    glLightfv(GL_LIGHT4, GL_SPECULAR, white);

    for (int i = 0; i < 3; ++i) {
        const LightOffset &o = helicopterLightOffsets[i];
        const GLfloat position[]
            = {m_state.posX + o.x, m_state.posY + o.y, m_state.posZ + o.z, 1.0f};
        glLightfv(helicopterLights[i], GL_POSITION, position);
    }
}

void myGL::drawLight()
{
    glPushMatrix();
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, markerRed);
    gluSphere(m_quadric, 0.02, 30, 10);
    glPopMatrix();
}
