#include "platform/Symbols.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>
#include <optional>

namespace {

using Painter = std::function<void(QPainter&, double)>; // draws into a 0..s square

QPen strokePen(const QColor& c, double s) {
    QPen pen(c, std::max(1.0, s / 12.0));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void drawCircleGlyph(QPainter& p, double s, const QColor& c, const std::function<void(QPainter&)>& inner) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    inner(p);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

struct Glyph {
    const char* themeName; // freedesktop name, may be empty
    std::function<void(QPainter&, double, const QColor&)> draw;
};

// The editor's toolbar: its tools and the actions that leave it with a result.
void addEditorGlyphs(QHash<QString, Glyph>& t) {
    t["cursorarrow"] = {"", [](QPainter& p, double s, const QColor& c) {
                            p.setPen(Qt::NoPen);
                            p.setBrush(c);
                            p.drawPolygon(QPolygonF({{s * 0.3, s * 0.12},
                                                     {s * 0.72, s * 0.54},
                                                     {s * 0.52, s * 0.56},
                                                     {s * 0.64, s * 0.82},
                                                     {s * 0.55, s * 0.86},
                                                     {s * 0.43, s * 0.6},
                                                     {s * 0.3, s * 0.74}}));
                        }};
    t["arrow.up.right"] = {
        "", [](QPainter& p, double s, const QColor& c) {
            p.setPen(strokePen(c, s * 1.2));
            p.drawLine(QPointF(s * 0.2, s * 0.8), QPointF(s * 0.78, s * 0.22));
            p.drawPolyline(QPolygonF({{s * 0.4, s * 0.22}, {s * 0.78, s * 0.22}, {s * 0.78, s * 0.6}}));
        }};
    t["line.diagonal"] = {"", [](QPainter& p, double s, const QColor& c) {
                              p.setPen(strokePen(c, s * 1.2));
                              p.drawLine(QPointF(s * 0.18, s * 0.82), QPointF(s * 0.82, s * 0.18));
                          }};
    t["rectangle"] = {"", [](QPainter& p, double s, const QColor& c) {
                          p.setPen(strokePen(c, s));
                          p.drawRoundedRect(QRectF(s * 0.1, s * 0.22, s * 0.8, s * 0.56), s * 0.05, s * 0.05);
                      }};
    t["circle"] = {"", [](QPainter& p, double s, const QColor& c) {
                       p.setPen(strokePen(c, s));
                       p.drawEllipse(QPointF(s * 0.5, s * 0.5), s * 0.38, s * 0.38);
                   }};
    t["highlighter"] = {
        "", [](QPainter& p, double s, const QColor& c) {
            p.setPen(strokePen(c, s));
            p.drawPolygon(QPolygonF(
                {{s * 0.56, s * 0.12}, {s * 0.86, s * 0.42}, {s * 0.5, s * 0.78}, {s * 0.2, s * 0.48}}));
            p.drawLine(QPointF(s * 0.12, s * 0.9), QPointF(s * 0.5, s * 0.9));
        }};
    t["pencil.tip"] = {
        "", [](QPainter& p, double s, const QColor& c) {
            p.setPen(strokePen(c, s));
            p.drawPolygon(QPolygonF({{s * 0.5, s * 0.88}, {s * 0.3, s * 0.34}, {s * 0.7, s * 0.34}}));
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawPolygon(QPolygonF({{s * 0.5, s * 0.88}, {s * 0.42, s * 0.66}, {s * 0.58, s * 0.66}}));
            p.drawRect(QRectF(s * 0.3, s * 0.12, s * 0.4, s * 0.16));
        }};
    t["textformat"] = {
        "", [](QPainter& p, double s, const QColor& c) {
            p.setPen(strokePen(c, s * 1.2));
            p.drawPolyline(QPolygonF({{s * 0.12, s * 0.82}, {s * 0.36, s * 0.18}, {s * 0.6, s * 0.82}}));
            p.drawLine(QPointF(s * 0.21, s * 0.58), QPointF(s * 0.51, s * 0.58));
            p.drawEllipse(QPointF(s * 0.76, s * 0.68), s * 0.12, s * 0.14);
            p.drawLine(QPointF(s * 0.88, s * 0.5), QPointF(s * 0.88, s * 0.82));
        }};
    t["1.circle"] = {
        "", [](QPainter& p, double s, const QColor& c) {
            p.setPen(strokePen(c, s));
            p.drawEllipse(QPointF(s * 0.5, s * 0.5), s * 0.38, s * 0.38);
            p.drawPolyline(QPolygonF({{s * 0.42, s * 0.38}, {s * 0.52, s * 0.3}, {s * 0.52, s * 0.7}}));
        }};
    t["drop.halffull"] = {"", [](QPainter& p, double s, const QColor& c) {
                              QPainterPath drop;
                              drop.moveTo(s * 0.5, s * 0.1);
                              drop.cubicTo(s * 0.5, s * 0.1, s * 0.82, s * 0.48, s * 0.82, s * 0.62);
                              drop.arcTo(QRectF(s * 0.18, s * 0.3, s * 0.64, s * 0.62), 0, -180);
                              drop.cubicTo(s * 0.18, s * 0.48, s * 0.5, s * 0.1, s * 0.5, s * 0.1);
                              p.setPen(strokePen(c, s));
                              p.drawPath(drop);
                              p.save();
                              p.setClipRect(QRectF(s * 0.5, 0, s * 0.5, s));
                              p.fillPath(drop, c);
                              p.restore();
                          }};
    t["crop"] = {
        "", [](QPainter& p, double s, const QColor& c) {
            p.setPen(strokePen(c, s * 1.2));
            p.drawPolyline(QPolygonF({{s * 0.28, s * 0.08}, {s * 0.28, s * 0.72}, {s * 0.92, s * 0.72}}));
            p.drawPolyline(QPolygonF({{s * 0.08, s * 0.28}, {s * 0.72, s * 0.28}, {s * 0.72, s * 0.92}}));
        }};
    t["doc.on.doc"] = {
        "edit-copy", [](QPainter& p, double s, const QColor& c) {
            p.setPen(strokePen(c, s));
            p.drawRoundedRect(QRectF(s * 0.14, s * 0.1, s * 0.48, s * 0.62), s * 0.06, s * 0.06);
            p.drawRoundedRect(QRectF(s * 0.38, s * 0.28, s * 0.48, s * 0.62), s * 0.06, s * 0.06);
        }};
    auto tray = [](QPainter& p, double s, const QColor& c, bool filled) {
        p.setPen(strokePen(c, s));
        const QRectF box(s * 0.14, s * 0.36, s * 0.72, s * 0.54);
        if (filled) {
            p.setBrush(c);
            p.drawRoundedRect(box, s * 0.06, s * 0.06);
            p.setCompositionMode(QPainter::CompositionMode_Clear);
        } else {
            p.drawPolyline(QPolygonF({{s * 0.34, s * 0.36},
                                      {s * 0.14, s * 0.36},
                                      {s * 0.14, s * 0.9},
                                      {s * 0.86, s * 0.9},
                                      {s * 0.86, s * 0.36},
                                      {s * 0.66, s * 0.36}}));
        }
        // The arrow is cut out of the filled tray, drawn over the open one.
        p.setPen(strokePen(filled ? QColor(Qt::black) : c, s * 1.1));
        p.drawLine(QPointF(s * 0.5, s * 0.08), QPointF(s * 0.5, s * 0.66));
        p.drawPolyline(QPolygonF({{s * 0.36, s * 0.52}, {s * 0.5, s * 0.66}, {s * 0.64, s * 0.52}}));
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    };
    t["square.and.arrow.down"] = {"document-save",
                                  [tray](QPainter& p, double s, const QColor& c) { tray(p, s, c, false); }};
    t["square.and.arrow.down.fill"] = {
        "document-save", [tray](QPainter& p, double s, const QColor& c) { tray(p, s, c, true); }};
    t["pin"] = {"", [](QPainter& p, double s, const QColor& c) {
                    p.setPen(strokePen(c, s * 1.1));
                    p.drawLine(QPointF(s * 0.5, s * 0.56), QPointF(s * 0.5, s * 0.92));
                    p.setPen(Qt::NoPen);
                    p.setBrush(c);
                    p.drawEllipse(QPointF(s * 0.5, s * 0.32), s * 0.24, s * 0.24);
                }};
}

// The preferences window's tabs and its help mark.
void addPreferencesGlyphs(QHash<QString, Glyph>& t) {
    t["keyboard"] = {
        "input-keyboard", [](QPainter& p, double s, const QColor& c) {
            p.setPen(strokePen(c, s));
            p.drawRoundedRect(QRectF(s * 0.08, s * 0.26, s * 0.84, s * 0.5), s * 0.06, s * 0.06);
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            for (int row = 0; row < 2; ++row)
                for (int i = 0; i < 5; ++i)
                    p.drawRect(QRectF(s * (0.18 + 0.13 * i), s * (0.35 + 0.12 * row), s * 0.07, s * 0.07));
            p.drawRect(QRectF(s * 0.3, s * 0.6, s * 0.4, s * 0.06));
        }};
    t["icloud.and.arrow.up"] = {
        "cloud-upload", [](QPainter& p, double s, const QColor& c) {
            p.setPen(strokePen(c, s));
            QPainterPath cloud;
            cloud.moveTo(s * 0.28, s * 0.78);
            cloud.arcTo(QRectF(s * 0.06, s * 0.44, s * 0.34, s * 0.34), 270, -180);
            cloud.arcTo(QRectF(s * 0.24, s * 0.2, s * 0.46, s * 0.46), 160, -150);
            cloud.arcTo(QRectF(s * 0.6, s * 0.44, s * 0.34, s * 0.34), 90, -180);
            cloud.closeSubpath();
            p.drawPath(cloud);
            p.drawLine(QPointF(s * 0.5, s * 0.7), QPointF(s * 0.5, s * 0.42));
            p.drawPolyline(QPolygonF({{s * 0.4, s * 0.52}, {s * 0.5, s * 0.42}, {s * 0.6, s * 0.52}}));
        }};
    t["wand.and.stars"] = {
        "tools-wizard", [](QPainter& p, double s, const QColor& c) {
            p.setPen(strokePen(c, s * 1.4));
            p.drawLine(QPointF(s * 0.14, s * 0.86), QPointF(s * 0.62, s * 0.38));
            p.setPen(strokePen(c, s * 0.8));
            for (const QPointF& star :
                 {QPointF(s * 0.74, s * 0.2), QPointF(s * 0.42, s * 0.16), QPointF(s * 0.84, s * 0.54)}) {
                p.drawLine(star - QPointF(s * 0.07, 0), star + QPointF(s * 0.07, 0));
                p.drawLine(star - QPointF(0, s * 0.07), star + QPointF(0, s * 0.07));
            }
        }};
    auto circled = [](QPainter& p, double s, const QColor& c) {
        p.setPen(strokePen(c, s));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(s * 0.5, s * 0.5), s * 0.4, s * 0.4);
    };
    t["info.circle"] = {"help-about", [circled](QPainter& p, double s, const QColor& c) {
                            circled(p, s, c);
                            p.setPen(strokePen(c, s * 1.2));
                            p.drawLine(QPointF(s * 0.5, s * 0.46), QPointF(s * 0.5, s * 0.72));
                            p.setPen(Qt::NoPen);
                            p.setBrush(c);
                            p.drawEllipse(QPointF(s * 0.5, s * 0.32), s * 0.055, s * 0.055);
                        }};
    t["questionmark.circle"] = {"help-contents", [circled](QPainter& p, double s, const QColor& c) {
                                    circled(p, s, c);
                                    p.setPen(strokePen(c, s * 1.1));
                                    QPainterPath hook;
                                    hook.moveTo(s * 0.38, s * 0.4);
                                    hook.arcTo(QRectF(s * 0.38, s * 0.26, s * 0.24, s * 0.22), 180, -240);
                                    hook.lineTo(s * 0.5, s * 0.6);
                                    p.drawPath(hook);
                                    p.setPen(Qt::NoPen);
                                    p.setBrush(c);
                                    p.drawEllipse(QPointF(s * 0.5, s * 0.72), s * 0.05, s * 0.05);
                                }};
}

const QHash<QString, Glyph>& glyphs() {
    static const QHash<QString, Glyph> table = [] {
        QHash<QString, Glyph> t;
        auto corners = [](QPainter& p, double s, const QColor& c) {
            p.setPen(strokePen(c, s));
            const double a = s * 0.12, b = s * 0.88, l = s * 0.22;
            p.drawPolyline(QPolygonF({{a, a + l}, {a, a}, {a + l, a}}));
            p.drawPolyline(QPolygonF({{b - l, a}, {b, a}, {b, a + l}}));
            p.drawPolyline(QPolygonF({{b, b - l}, {b, b}, {b - l, b}}));
            p.drawPolyline(QPolygonF({{a + l, b}, {a, b}, {a, b - l}}));
        };
        t["camera.viewfinder"] = {"camera-photo", [corners](QPainter& p, double s, const QColor& c) {
                                      corners(p, s, c);
                                      p.setPen(Qt::NoPen);
                                      p.setBrush(c);
                                      p.drawRoundedRect(QRectF(s * 0.28, s * 0.36, s * 0.44, s * 0.32),
                                                        s * 0.05, s * 0.05);
                                      p.drawRect(QRectF(s * 0.42, s * 0.31, s * 0.16, s * 0.06));
                                      p.setBrush(Qt::NoBrush);
                                      p.setPen(strokePen(Qt::transparent, s));
                                      p.setCompositionMode(QPainter::CompositionMode_Clear);
                                      p.setBrush(Qt::black);
                                      p.drawEllipse(QPointF(s * 0.5, s * 0.52), s * 0.09, s * 0.09);
                                      p.setCompositionMode(QPainter::CompositionMode_SourceOver);
                                  }};
        t["checkmark.circle.fill"] = {
            "emblem-ok-symbolic", [](QPainter& p, double s, const QColor& c) {
                drawCircleGlyph(p, s, c, [s](QPainter& q) {
                    q.setPen(strokePen(Qt::black, s * 1.4));
                    q.drawPolyline(
                        QPolygonF({{s * 0.3, s * 0.52}, {s * 0.45, s * 0.66}, {s * 0.7, s * 0.36}}));
                });
            }};
        t["xmark.circle.fill"] = {"window-close-symbolic", [](QPainter& p, double s, const QColor& c) {
                                      drawCircleGlyph(p, s, c, [s](QPainter& q) {
                                          q.setPen(strokePen(Qt::black, s * 1.3));
                                          const double a = s * 0.34, b = s * 0.66;
                                          q.drawLine(QPointF(a, a), QPointF(b, b));
                                          q.drawLine(QPointF(b, a), QPointF(a, b));
                                      });
                                  }};
        auto warning = [](QPainter& p, double s, const QColor& c) {
            QPainterPath tri;
            tri.moveTo(s * 0.5, s * 0.08);
            tri.lineTo(s * 0.95, s * 0.9);
            tri.lineTo(s * 0.05, s * 0.9);
            tri.closeSubpath();
            p.setPen(Qt::NoPen);
            p.fillPath(tri, c);
            p.setCompositionMode(QPainter::CompositionMode_Clear);
            p.setBrush(Qt::black);
            p.drawRect(QRectF(s * 0.46, s * 0.34, s * 0.08, s * 0.32));
            p.drawEllipse(QPointF(s * 0.5, s * 0.76), s * 0.05, s * 0.05);
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        };
        t["exclamationmark.triangle.fill"] = {"dialog-warning", warning};
        t["exclamationmark.shield.fill"] = {"security-medium", warning};
        auto rectDashed = [](QPainter& p, double s, const QColor& c) {
            QPen pen = strokePen(c, s);
            pen.setDashPattern({2.0, 2.0});
            p.setPen(pen);
            p.drawRect(QRectF(s * 0.12, s * 0.22, s * 0.76, s * 0.56));
        };
        t["rectangle.dashed"] = {"", rectDashed};
        t["rectangle.dashed.badge.record"] = {"", rectDashed};
        auto window = [](QPainter& p, double s, const QColor& c) {
            p.setPen(strokePen(c, s));
            p.drawRoundedRect(QRectF(s * 0.1, s * 0.18, s * 0.8, s * 0.64), s * 0.06, s * 0.06);
            p.drawLine(QPointF(s * 0.1, s * 0.34), QPointF(s * 0.9, s * 0.34));
        };
        t["macwindow"] = {"window-new", window};
        t["macwindow.on.rectangle"] = {"", window};
        t["macwindow.badge.plus"] = {"", window};
        auto doc = [](QPainter& p, double s, const QColor& c) {
            p.setPen(strokePen(c, s));
            p.drawRoundedRect(QRectF(s * 0.22, s * 0.1, s * 0.56, s * 0.8), s * 0.06, s * 0.06);
            p.drawLine(QPointF(s * 0.34, s * 0.36), QPointF(s * 0.66, s * 0.36));
            p.drawLine(QPointF(s * 0.34, s * 0.52), QPointF(s * 0.66, s * 0.52));
            p.drawLine(QPointF(s * 0.34, s * 0.68), QPointF(s * 0.56, s * 0.68));
        };
        t["doc"] = {"document-open", doc};
        t["doc.on.clipboard"] = {"edit-paste", doc};
        t["arrow.down.doc"] = {"go-down", doc};
        t["arrow.up.doc"] = {"go-up", doc};
        auto text = [corners](QPainter& p, double s, const QColor& c) {
            corners(p, s, c);
            p.setPen(strokePen(c, s));
            p.drawLine(QPointF(s * 0.32, s * 0.38), QPointF(s * 0.68, s * 0.38));
            p.drawLine(QPointF(s * 0.32, s * 0.5), QPointF(s * 0.68, s * 0.5));
            p.drawLine(QPointF(s * 0.32, s * 0.62), QPointF(s * 0.56, s * 0.62));
        };
        t["text.viewfinder"] = {"", text};
        t["qrcode.viewfinder"] = {"", [corners](QPainter& p, double s, const QColor& c) {
                                      corners(p, s, c);
                                      p.setPen(Qt::NoPen);
                                      p.setBrush(c);
                                      for (int i = 0; i < 3; ++i)
                                          for (int j = 0; j < 3; ++j)
                                              if ((i + j) % 2 == 0)
                                                  p.drawRect(QRectF(s * (0.3 + 0.14 * i),
                                                                    s * (0.3 + 0.14 * j), s * 0.12,
                                                                    s * 0.12));
                                  }};
        t["text.magnifyingglass"] = {"edit-find", [](QPainter& p, double s, const QColor& c) {
                                         p.setPen(strokePen(c, s * 1.3));
                                         p.drawEllipse(QPointF(s * 0.42, s * 0.42), s * 0.26, s * 0.26);
                                         p.drawLine(QPointF(s * 0.62, s * 0.62), QPointF(s * 0.88, s * 0.88));
                                     }};
        t["link.badge.plus"] = {
            "insert-link", [](QPainter& p, double s, const QColor& c) {
                p.setPen(strokePen(c, s * 1.2));
                p.drawRoundedRect(QRectF(s * 0.08, s * 0.36, s * 0.5, s * 0.28), s * 0.14, s * 0.14);
                p.drawRoundedRect(QRectF(s * 0.42, s * 0.36, s * 0.5, s * 0.28), s * 0.14, s * 0.14);
            }};
        t["gearshape"] = {"preferences-system", [](QPainter& p, double s, const QColor& c) {
                              p.setPen(strokePen(c, s * 1.6));
                              for (int i = 0; i < 8; ++i) {
                                  p.save();
                                  p.translate(s * 0.5, s * 0.5);
                                  p.rotate(45.0 * i);
                                  p.drawLine(QPointF(0, s * 0.28), QPointF(0, s * 0.42));
                                  p.restore();
                              }
                              p.drawEllipse(QPointF(s * 0.5, s * 0.5), s * 0.24, s * 0.24);
                          }};
        t["timer"] = {"chronometer", [](QPainter& p, double s, const QColor& c) {
                          p.setPen(strokePen(c, s));
                          p.drawEllipse(QPointF(s * 0.5, s * 0.55), s * 0.36, s * 0.36);
                          p.drawLine(QPointF(s * 0.5, s * 0.55), QPointF(s * 0.5, s * 0.32));
                          p.drawLine(QPointF(s * 0.42, s * 0.1), QPointF(s * 0.58, s * 0.1));
                      }};
        t["ellipsis"] = {"view-more-horizontal", [](QPainter& p, double s, const QColor& c) {
                             p.setPen(Qt::NoPen);
                             p.setBrush(c);
                             for (int i = 0; i < 3; ++i)
                                 p.drawEllipse(QPointF(s * (0.22 + 0.28 * i), s * 0.5), s * 0.08, s * 0.08);
                         }};
        t["arrow.uturn.forward.square"] = {
            "view-refresh", [](QPainter& p, double s, const QColor& c) {
                p.setPen(strokePen(c, s));
                p.drawRoundedRect(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8), s * 0.12, s * 0.12);
                p.drawArc(QRectF(s * 0.3, s * 0.34, s * 0.4, s * 0.4), 180 * 16, -180 * 16);
                p.drawPolyline(QPolygonF({{s * 0.6, s * 0.5}, {s * 0.7, s * 0.56}, {s * 0.78, s * 0.46}}));
            }};
        addEditorGlyphs(t);
        addPreferencesGlyphs(t);
        return t;
    }();
    return table;
}

// The theme icon of the symbol, else its drawings at the usual icon sizes.
QIcon resolvedIcon(const QString& name) {
    const auto it = glyphs().constFind(name);
    if (*it->themeName && QIcon::hasThemeIcon(QString::fromLatin1(it->themeName)))
        return QIcon::fromTheme(QString::fromLatin1(it->themeName));
    QIcon result;
    for (int size : {16, 22, 32, 48, 64})
        result.addPixmap(Symbols::drawn(name, size, QColor(40, 40, 40)));
    return result;
}

// Looks the symbol up in the icon theme, or draws it, only when the icon is first painted or
// measured. The first theme lookup reads the themes' index files and probes their folders, a few
// milliseconds that would otherwise come before the tray icon and every menu can be shown.
class ResolvedOnFirstUse : public QIconEngine {
  public:
    explicit ResolvedOnFirstUse(const QString& name) : m_name(name) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        resolved().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return resolved().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return resolved().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return resolved().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return resolved().availableSizes(mode, state);
    }
    QString iconName() override { return resolved().name(); }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("pictro.symbol"); }
    QIconEngine* clone() const override { return new ResolvedOnFirstUse(*this); }

  private:
    const QIcon& resolved() {
        if (!m_icon) m_icon = resolvedIcon(m_name);
        return *m_icon;
    }

    QString m_name;
    std::optional<QIcon> m_icon;
};

} // namespace

namespace Symbols {

bool isKnown(const QString& name) {
    return glyphs().contains(name);
}

QPixmap drawn(const QString& name, int pixelSize, const QColor& color) {
    const auto it = glyphs().constFind(name);
    if (it == glyphs().constEnd() || pixelSize <= 0) return {};
    QPixmap pixmap(pixelSize, pixelSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    it->draw(p, pixelSize, color);
    return pixmap;
}

QIcon icon(const QString& name) {
    if (!glyphs().contains(name)) return {};
    return QIcon(new ResolvedOnFirstUse(name));
}

} // namespace Symbols
