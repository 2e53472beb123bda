#pragma once

#include <GL/gl.h>
#include <QString>

class QOpenGLContext;

// The ground picture as one texture object for all views whose contexts share
// objects, as Qt's GL views of one window do. The first view of such a group
// reads the picture and uploads it, the others take the same name, and the
// last to let go deletes it; a view in another group (another window) gets a
// texture of its own. GUI thread only.
namespace sharedGround {

// With `context` current: the ground texture of its group, read from `file`
// if the group has none yet; 0 when the GL refused the picture. Every view
// that asks while the file can't be read warns, as reading it would.
GLuint take(QOpenGLContext *context, const QString &file);

// With `context` current: it no longer uses its group's texture.
void release(QOpenGLContext *context);

} // namespace sharedGround
