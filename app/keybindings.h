#pragma once

#include <Qt>

// The keyboard table. Camera keys act on the main view only; helicopter,
// speed, following, zoom and light keys act on all four views in the order
// main, top, front, back, so that their copies of the helicopter stay in step.
// Only the key code counts: modifiers are not read. Returns false for a key
// that is not bound (and then does nothing). Escape is the window's business.
template <typename View> bool applyKey(int key, View &mainView, View *const (&allViews)[4])
{
    const auto onMain = [&](auto action) {
        action(mainView);
        return true;
    };
    const auto onAll = [&](auto action) {
        for (View *view : allViews)
            action(*view);
        return true;
    };

    switch (key) {
    case Qt::Key_0: return onMain([](View &v) { v.changeCam(0); });
    case Qt::Key_1: return onMain([](View &v) { v.changeCam(1); });
    case Qt::Key_2: return onMain([](View &v) { v.changeCam(2); });
    case Qt::Key_3: return onMain([](View &v) { v.changeCam(3); });
    case Qt::Key_4: return onMain([](View &v) { v.panLt(); });
    case Qt::Key_5: return onMain([](View &v) { v.panDn(); });
    case Qt::Key_6: return onMain([](View &v) { v.panRt(); });
    case Qt::Key_8: return onMain([](View &v) { v.panUp(); });
    case Qt::Key_A: return onAll([](View &v) { v.moveLeft(); });
    case Qt::Key_B: return onAll([](View &v) { v.velocity(0); });
    case Qt::Key_C: return onAll([](View &v) { v.setMoveCam(); });
    case Qt::Key_D: return onAll([](View &v) { v.moveRight(); });
    case Qt::Key_E:
        return onAll([](View &v) {
            v.moveRight();
            v.moveForward();
        });
    case Qt::Key_L: return onAll([](View &v) { v.turnLight(); });
    case Qt::Key_Q:
        return onAll([](View &v) {
            v.moveLeft();
            v.moveForward();
        });
    case Qt::Key_S: return onAll([](View &v) { v.moveBack(); });
    case Qt::Key_V: return onAll([](View &v) { v.velocity(1); });
    case Qt::Key_W: return onAll([](View &v) { v.moveForward(); });
    case Qt::Key_Z: return onAll([](View &v) { v.startEng(); });
    case Qt::Key_Up: return onAll([](View &v) { v.moveUp(); });
    case Qt::Key_Down: return onAll([](View &v) { v.moveDown(); });
    case Qt::Key_PageUp: return onAll([](View &v) { v.setZoom(1); });
    case Qt::Key_PageDown: return onAll([](View &v) { v.setZoom(2); });
    default: return false;
    }
}
