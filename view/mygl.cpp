#include "mygl.h"

#include "font.h"
#include "lighting.h"
#include "myairfield.h"
#include "mydi64.h"
#include "myground.h"
#include "pixelscale.h"
#include "sharedground.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>

namespace {
constexpr int timerInterval = 1; // ms: ask for as many ticks as the event loop can deliver
constexpr int nominalWidth = 350; // the frame size the tick's camera update assumes
constexpr int nominalHeight = 230;
} // namespace

const char *const myGL::groundImageFile = "ground.bmp";

void useLegacyGLFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
}

myGL::myGL(QWidget *parent, const char *name)
    : QOpenGLWidget(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    startTimer(timerInterval);
}

myGL::~myGL() { releaseGL(); }

void myGL::releaseGL()
{
    if (!m_glReady)
        return;
    makeCurrent();
    glDeleteLists(m_heliList, 1);
    glDeleteLists(m_crossList, 1);
    glDeleteLists(m_gridList, 3);
    glDeleteLists(m_airfieldList, 1);
    glDeleteLists(m_groundList, 1);
    sharedGround::release(context());
    glDeleteLists(m_fontListBase, fontListCount);
    gluDeleteQuadric(m_quadric);
    m_quadric = nullptr;
    m_heliList = m_crossList = m_gridList = m_airfieldList = m_groundList = m_fontListBase = 0;
    m_groundTexture = 0;
    m_glReady = false;
    m_frameTransform.reset(); // a new context starts from the toolkit's resize again
    doneCurrent();
    disconnect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &myGL::releaseGL);
}

// --- GL hooks ---

void myGL::initializeGL()
{
    // The context is new, but a widget moved to another window gets a new one:
    // let go of whatever the old one held first.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &myGL::releaseGL,
        Qt::UniqueConnection);

    setUpFixedLights();

    // The picture goes to the GL once for all views of the window.
    m_groundTexture = sharedGround::take(context(), QString::fromLatin1(groundImageFile));

    glClearColor(0.3f, 0.7f, 0.8f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    m_crossList = makeCrossList();
    m_gridList = makeGridList();
    m_heliList = myDi64().compileList();
    m_airfieldList = myAirfield().compileList();
    m_quadric = gluNewQuadric();
    m_groundList = myGround().buildList(m_groundTexture);
    m_pixelScale = pixelScale(devicePixelRatioF());
    m_fontListBase = buildFontLists(m_pixelScale);
    m_glReady = true;
}

void myGL::resizeGL(int w, int h)
{
    if (h == 0)
        h = 1;
    const float aspect = static_cast<float>(w * 1.0 / h);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(0, 0, w, h);
    // Pan before the perspective shifts the finished picture.
    glTranslatef(m_state.panX, m_state.panY, m_state.panZ);

    m_state.cameraUpdate();
    // Still in projection mode: the lights go through the modelview matrix of
    // the previous update, that is last tick's camera.
    lightPos();

    gluPerspective(m_state.fovY, aspect, m_state.zNear, SceneState::farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(m_state.eyeX, m_state.eyeY, m_state.eyeZ, m_state.centerX, m_state.centerY,
        m_state.centerZ, 0.0, 0.0, 1.0);
    m_camera = FrameTransform::current(QSize(w, h));
}

void myGL::paintGL()
{
    // Qt has just set a viewport of the widget's own size; from the first tick
    // on the frame is drawn as that tick found the camera, and the latest
    // camera is put back for the next update to build on.
    if (m_frameTransform)
        m_frameTransform->apply(devicePixelRatioF());
    // Glyphs and lines count device pixels: a window moved to a screen of
    // another pixel density gets them made again to its scale.
    const int scale = pixelScale(devicePixelRatioF());
    if (scale != m_pixelScale) {
        compileFontLists(m_fontListBase, scale);
        m_pixelScale = scale;
    }
    glLineWidth(GLfloat(scale));
    drawScene();
    if (m_frameTransform)
        m_camera.apply(devicePixelRatioF());
}

void myGL::drawScene()
{
    const SceneState &s = m_state;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1); // glyph rows are single bytes
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // Helicopter, and its rotors in their own frame.
    glPushMatrix();
    glTranslatef(s.posX, s.posY, s.posZ);
    glRotatef(s.rotX, 1.0f, 0.0f, 0.0f);
    glRotatef(s.rotY, 0.0f, 1.0f, 0.0f);
    glRotatef(s.rotZ, 0.0f, 0.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, 0.1f);
    glCallList(m_heliList);
    glRotatef(180.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(-0.15f, 0.0f, 0.1f);
    glScalef(0.2f, 0.2f, 0.2f);
    if (s.engineOn == 1)
        drawWing();
    glPopMatrix();

    // The airfield, 80 times its model size, its buildings 14.4 units out along +X.
    glPushMatrix();
    glScalef(80.0f, 80.0f, 80.0f);
    glTranslatef(0.18f, 0.0f, 0.005f);
    glCallList(m_airfieldList);
    glPopMatrix();

    glPushMatrix();
    glCallList(m_gridList);
    glPopMatrix();

    // The cross marks the look-at point and turns with the heading.
    glPushMatrix();
    glTranslatef(s.centerX, s.centerY, s.centerZ);
    glRotatef(s.rotZ, 0.0f, 0.0f, 1.0f);
    glCallList(m_crossList);
    glPopMatrix();

    glPushMatrix();
    drawFont();
    glPopMatrix();

    // Texturing only for the ground; its white material is modulated by the picture.
    static const GLfloat white[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -0.08f);
    glEnable(GL_TEXTURE_2D);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, white);
    glCallList(m_groundList);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();

    if (s.showLightMarkers != 0) {
        for (const LightOffset &offset : helicopterLightOffsets) {
            glPushMatrix();
            glTranslatef(s.posX + offset.x, s.posY + offset.y, s.posZ + offset.z);
            drawLight();
            glPopMatrix();
        }
    }
}

// --- the tick ---

void myGL::timerEvent(QTimerEvent *) { tick(); }

void myGL::tick()
{
    if (const std::optional<int> ticks = m_state.countTick(QTime::currentTime()))
        gfps(*ticks);
    m_state.advanceRotors();

    // The readouts show the state before this tick's motion.
    const SceneState::Readouts r = m_state.readouts();
    gposX(r.posX);
    gposY(r.posY);
    gposZ(r.posZ);
    grotZ(r.rotZ);
    gfov(r.zoomFov);

    objMoveV();
    objRotate();
    bhawkdown();

    // Schedule the repaint so that all views of the window are composed into
    // one swap. The frame shows this tick's motion with the camera and lights
    // as they stand now; then they are prepared for the next tick.
    update();
    if (m_glReady) {
        makeCurrent();
        m_frameTransform = m_camera;
        resizeGL(nominalWidth, nominalHeight);
    } else {
        m_state.cameraUpdate(); // no context yet: only the rules, no GL
    }
}

// --- mouse: a press switches drag turning, every drag move turns 1 degree ---

void myGL::mousePressEvent(QMouseEvent *) { m_state.mousePress(); }

void myGL::mouseReleaseEvent(QMouseEvent *) { }

void myGL::mouseMoveEvent(QMouseEvent *) { m_state.mouseMove(); }

// --- slots: the rules live in SceneState ---

void myGL::rotateCam(int degrees) { m_state.rotateCam(degrees); }
void myGL::rotateCamV(int) { }
void myGL::setRotateCam() { m_state.setRotateCam(); }
void myGL::setCam() { m_state.setCam(); }
void myGL::changeCam(int mode) { m_state.changeCam(mode); }
void myGL::fov(int degrees) { m_state.fov(degrees); }
void myGL::panUp() { m_state.panUp(); }
void myGL::panDn() { m_state.panDn(); }
void myGL::panLt() { m_state.panLt(); }
void myGL::panRt() { m_state.panRt(); }
void myGL::startEng() { m_state.startEng(); }
void myGL::zoomCam() { m_state.zoomCam(); }
void myGL::setAngle() { m_state.setAngle(); }
void myGL::moveCam() { m_state.moveCam(); }
void myGL::setMoveCam() { m_state.setMoveCam(); }
void myGL::setZoom(int mode) { m_state.setZoom(mode); }
void myGL::lookCam() { m_state.lookCam(); }
void myGL::velocity(int faster) { m_state.velocity(faster); }
void myGL::objMoveV() { m_state.objMoveV(); }
void myGL::objRotate() { m_state.objRotate(); }
void myGL::bhawkdown() { m_state.bhawkdown(); }
void myGL::moveLeft() { m_state.moveLeft(); }
void myGL::moveRight() { m_state.moveRight(); }
void myGL::moveForward() { m_state.moveForward(); }
void myGL::moveBack() { m_state.moveBack(); }
void myGL::moveUp() { m_state.moveUp(); }
void myGL::moveDown() { m_state.moveDown(); }
void myGL::turnLight() { m_state.turnLight(); }

void myGL::gposX(int value) { Q_EMIT valueChanged(value); }
void myGL::gposY(int value) { Q_EMIT valuePosY(value); }
void myGL::gposZ(int value) { Q_EMIT valuePosZ(value); }
void myGL::grotZ(int value) { Q_EMIT valueRotZ(value); }
void myGL::gfov(int value) { Q_EMIT valueFov(value); }
void myGL::gfps(int value) { Q_EMIT valueFPS(value); }
