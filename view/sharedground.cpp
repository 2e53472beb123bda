#include "sharedground.h"

#include "groundimage.h"
#include "myground.h"

#include <QList>
#include <QOpenGLContext>
#include <algorithm>
#include <vector>

namespace {
struct GroupTexture
{
    QList<QOpenGLContext *> users; // each let go before it is destroyed
    GLuint name = 0;
    bool unreadable = false; // the file could not be read: the green picture
};

std::vector<GroupTexture> &textures()
{
    static std::vector<GroupTexture> all;
    return all;
}
} // namespace

namespace sharedGround {

GLuint take(QOpenGLContext *context, const QString &file)
{
    std::vector<GroupTexture> &all = textures();
    // Asked of the contexts, not assumed: a view's context shares objects with
    // those of its window's other views.
    const auto group = std::find_if(all.begin(), all.end(), [&](const GroupTexture &t) {
        return std::any_of(t.users.begin(), t.users.end(),
            [&](QOpenGLContext *user) { return QOpenGLContext::areSharing(context, user); });
    });
    if (group == all.end()) {
        bool unreadable = false;
        const GLuint name = myGround().uploadTexture(loadGroundImage(file, &unreadable));
        all.push_back({{context}, name, unreadable});
        return name;
    }
    if (group->unreadable)
        warnGroundUnreadable();
    if (!group->users.contains(context))
        group->users.append(context);
    return group->name;
}

void release(QOpenGLContext *context)
{
    std::vector<GroupTexture> &all = textures();
    const auto group = std::find_if(
        all.begin(), all.end(), [&](const GroupTexture &t) { return t.users.contains(context); });
    if (group == all.end())
        return;
    group->users.removeOne(context);
    if (group->users.isEmpty()) {
        glDeleteTextures(1, &group->name); // 0 is silently ignored
        all.erase(group);
    }
}

} // namespace sharedGround
