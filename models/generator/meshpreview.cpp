// meshpreview: renders the generated models to PNG pictures so that a person
// can look at them. Needs an X display (run it under xvfb-run).
//
//   meshpreview OUTPREFIX [di64|airfield] [cx cy cz halfsize]
//
// writes OUTPREFIX_<model>.png: four views side by side, from the side (-y),
// from above, from the front (+x) and from the front left above. The
// optional box zooms in on a centre and a half size in model units. Back
// faces are drawn magenta, so a hole or a face turned the wrong way shows.

#include "airfieldmesh.h"
#include "di64mesh.h"

#include <GL/glut.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int viewW = 640, viewH = 480;

MeshTables tables;
float centre[3] = {0, 0, 0};
float halfSize = 0.55f;

void drawModel()
{
    int run = 0, left = 0;
    glBegin(GL_TRIANGLES);
    for (int f = 0; f < tables.faceCount; ++f) {
        if (left == 0) {
            glEnd();
            const MeshMaterial &m = tables.materials[tables.runs[run].material];
            left = tables.runs[run].faceCount;
            ++run;
            const float a[4] = {m.ambient[0], m.ambient[1], m.ambient[2], 1};
            const float d[4] = {m.diffuse[0], m.diffuse[1], m.diffuse[2], 1};
            const float s[4] = {m.specular[0], m.specular[1], m.specular[2], 1};
            const float back[4] = {1, 0, 1, 1}, none[4] = {0, 0, 0, 1};
            glMaterialfv(GL_FRONT, GL_AMBIENT, a);
            glMaterialfv(GL_FRONT, GL_DIFFUSE, d);
            glMaterialfv(GL_FRONT, GL_SPECULAR, s);
            glMaterialf(GL_FRONT, GL_SHININESS, std::min(m.shininess, 128.0f));
            glMaterialfv(GL_BACK, GL_AMBIENT, back);
            glMaterialfv(GL_BACK, GL_DIFFUSE, none);
            glMaterialfv(GL_BACK, GL_SPECULAR, none);
            glBegin(GL_TRIANGLES);
        }
        --left;
        const MeshFace &face = tables.faces[f];
        for (int c = 0; c < 3; ++c) {
            glNormal3fv(tables.normals[face.normal[c]]);
            glVertex3fv(tables.vertices[face.vertex[c]]);
        }
    }
    glEnd();
}

void view(int slot, const float eye[3], const float up[3])
{
    glViewport((slot % 2) * viewW, (1 - slot / 2) * viewH, viewW, viewH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const float aspect = float(viewW) / viewH;
    glOrtho(-halfSize * aspect, halfSize * aspect, -halfSize, halfSize, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // sunlight from the front left, high up, the same for every view
    const float light[4] = {0.5f, -0.6f, 1.0f, 0};
    gluLookAt(centre[0] + eye[0], centre[1] + eye[1], centre[2] + eye[2], centre[0], centre[1],
        centre[2], up[0], up[1], up[2]);
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    drawModel();
}

void writePng(const std::string &path)
{
    const int w = 2 * viewW, h = 2 * viewH;
    std::vector<unsigned char> px(size_t(w) * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    const std::string ppm = path + ".ppm";
    FILE *f = std::fopen(ppm.c_str(), "wb");
    if (!f) {
        std::perror(ppm.c_str());
        std::exit(1);
    }
    std::fprintf(f, "P6\n%d %d\n255\n", w, h);
    for (int y = h - 1; y >= 0; --y)
        std::fwrite(&px[size_t(y) * w * 3], 1, size_t(w) * 3, f);
    std::fclose(f);
    const std::string cmd = "pnmtopng '" + ppm + "' > '" + path + "' && rm -f '" + ppm + "'";
    if (std::system(cmd.c_str()) != 0)
        std::fprintf(stderr, "meshpreview: pnmtopng failed, left %s\n", ppm.c_str());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: meshpreview OUTPREFIX [di64|airfield] [cx cy cz halfsize]\n");
        return 2;
    }
    const std::string model = argc > 2 ? argv[2] : "di64";
    tables = model == "airfield" ? airfield::tables() : di64::tables();
    if (argc > 6) {
        for (int k = 0; k < 3; ++k)
            centre[k] = float(std::atof(argv[3 + k]));
        halfSize = float(std::atof(argv[6]));
    }
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DEPTH | GLUT_SINGLE);
    glutInitWindowSize(2 * viewW, 2 * viewH);
    glutCreateWindow("meshpreview");

    glClearColor(0.55f, 0.62f, 0.70f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    const float ambient[4] = {0.35f, 0.35f, 0.35f, 1}, white[4] = {0.9f, 0.9f, 0.9f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);

    const float side[3] = {0, -3, 0}, top[3] = {0, 0, 3}, front[3] = {3, 0, 0},
                quarter[3] = {1.6f, -1.9f, 1.3f};
    const float zUp[3] = {0, 0, 1}, yUp[3] = {0, 1, 0};
    view(0, side, zUp);
    view(1, top, yUp);
    view(2, front, zUp);
    view(3, quarter, zUp);
    glFinish();
    writePng(std::string(argv[1]) + "_" + model + ".png");
    return 0;
}
