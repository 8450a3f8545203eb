#pragma once

// Driving an EditorCanvasView as the user would: left-button presses, drags and releases sent to
// the widget in Qt's top-left widget coordinates, with the undo groups of each gesture closed the
// way the event loop closes them.
#include "capture/CapturedImage.h"
#include "editor/EditorCanvasView.h"
#include "editor/EditorUndoManager.h"
#include "platform/fake/FakePlatform.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace canvastest {

// A white image of the given size in points with a grey square in its top-left quarter, so that
// upside-down or shifted drawing shows.
inline CapturedImage capture(int widthPt, int heightPt, double scale = 1.0) {
    QImage image(qRound(widthPt * scale), qRound(heightPt * scale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, image.width() / 4, image.height() / 4), QColor(128, 128, 128));
    return CapturedImage{image, scale};
}

inline void sendMouse(QWidget* target, QEvent::Type type, const QPointF& at, Qt::MouseButton button,
                      Qt::MouseButtons held) {
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

inline void press(QWidget* w, const QPointF& at) {
    sendMouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}
inline void moveTo(QWidget* w, const QPointF& at) {
    sendMouse(w, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
}
// Releases and lets the event loop run once, which ends the undo group of the gesture.
inline void release(QWidget* w, const QPointF& at) {
    sendMouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
}

// Press at `from`, a few moves, release at `to`; widget coordinates.
inline void drag(QWidget* w, const QPointF& from, const QPointF& to, int steps = 4) {
    press(w, from);
    QApplication::processEvents();
    for (int i = 1; i <= steps; ++i)
        moveTo(w, from + (to - from) * (double(i) / steps));
    release(w, to);
}

inline void click(QWidget* w, const QPointF& at) {
    press(w, at);
    release(w, at);
}

// The widget position of a bottom-left view point at the canvas's magnification.
inline QPointF widgetPoint(const EditorCanvasView& canvas, const QPointF& view) {
    const double m = canvas.magnification();
    return QPointF(view.x() * m, (canvas.pointSize().height() - view.y()) * m);
}

// What the canvas paints, at its widget size.
inline QImage grab(EditorCanvasView& canvas) {
    QImage out(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    canvas.render(&out);
    return out;
}

// A canvas with an undo manager, on a fresh fake platform.
class CanvasTest : public ::testing::Test {
  protected:
    void SetUp() override { FakePlatform::installNew(); }
    void TearDown() override { QApplication::processEvents(); }

    EditorCanvasView& make(const CapturedImage& image) {
        canvas = std::make_unique<EditorCanvasView>(image);
        canvas->setUndoManager(&undo);
        return *canvas;
    }

    EditorUndoManager undo;
    std::unique_ptr<EditorCanvasView> canvas;
};

} // namespace canvastest
