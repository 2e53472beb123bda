#pragma once

#include "frametransform.h"
#include "scenestate.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <QOpenGLWidget>
#include <optional>

// One OpenGL view of the scene. It owns a private copy of the whole scene
// state, its own display lists and a 1 ms timer; every timer event runs one
// tick: count, report, move, repaint, then update camera and lights for the
// next tick.
class myGL : public QOpenGLWidget
{
    Q_OBJECT

public:
    myGL(QWidget *parent = nullptr, const char *name = nullptr);
    ~myGL() override;

    const SceneState &state() const { return m_state; }
    SceneState &state() { return m_state; }

    // One tick, exactly as a timer event runs it.
    void tick();

    // The display lists, for inspection; 0 until the view's GL is set up.
    GLuint heliList() const { return m_heliList; }
    GLuint crossList() const { return m_crossList; }
    GLuint gridList() const { return m_gridList; }
    GLuint airfieldList() const { return m_airfieldList; }
    GLuint groundList() const { return m_groundList; }
    // The ground picture's texture object, bound by the ground list and shared
    // with the window's other views; 0 when the GL refused the picture.
    GLuint groundTexture() const { return m_groundTexture; }
    GLuint fontListBase() const { return m_fontListBase; }

    // The ground picture every view loads from its working directory.
    static const char *const groundImageFile;

public Q_SLOTS:
    void rotateCam(int degrees);
    void rotateCamV(int);
    void setRotateCam();
    void setCam();
    void changeCam(int mode);
    void fov(int degrees);
    void panUp();
    void panDn();
    void panLt();
    void panRt();
    void startEng();
    void zoomCam();
    void setAngle();
    void moveCam();
    void setMoveCam();
    void setZoom(int mode);
    void lookCam();
    void velocity(int faster);
    void objMoveV();
    void objRotate();
    void bhawkdown();
    void moveLeft();
    void moveRight();
    void moveForward();
    void moveBack();
    void moveUp();
    void moveDown();
    void gposX(int value);
    void gposY(int value);
    void gposZ(int value);
    void grotZ(int value);
    void gfov(int value);
    void gfps(int value);
    void lightPos();
    void drawWing();
    void drawFont();
    void drawLight();
    void turnLight();

Q_SIGNALS:
    void valueChanged(int posX);
    void valuePosY(int posY);
    void valuePosZ(int posZ);
    void valueRotZ(int heading);
    void valueFov(int zoomFov);
    void valueFPS(int ticksPerSecond);

protected:
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

    virtual GLuint makeCrossList();
    virtual GLuint makeGridList();

private:
    void releaseGL();
    void drawScene();

    SceneState m_state;

    GLuint m_heliList = 0;
    GLuint m_crossList = 0;
    GLuint m_gridList = 0;
    GLuint m_airfieldList = 0;
    GLuint m_groundList = 0;
    GLuint m_groundTexture = 0;
    // Views of one window share list names, so each view keeps its own base.
    GLuint m_fontListBase = 0;
    int m_pixelScale = 0; // device pixels per glyph pixel in the font lists
    GLUquadric *m_quadric = nullptr;
    bool m_glReady = false;

    // The transform the latest camera update set, and the one the next frame
    // is drawn with: what was in force when the latest tick began. Before the
    // first tick a frame is drawn as the toolkit's own resize left it.
    FrameTransform m_camera {};
    std::optional<FrameTransform> m_frameTransform;
};

// The GL format every view needs: a compatibility context with depth, no
// version asked for (a version of 3.0 or more gives a core context on GLX).
// Must run before the QApplication is created.
void useLegacyGLFormat();
