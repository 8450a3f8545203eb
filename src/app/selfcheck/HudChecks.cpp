#include "app/selfcheck/SelfChecks.h"

#include "hud/HudPlacement.h"
#include "hud/ThumbnailView.h"
#include "hud/ToastHUD.h"
#include "hud/ToastWindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <cmath>
#include <memory>

namespace selfchecks {
namespace {

struct QtScreen {
    ScreenInfo info;
    geometry::SpaceConverter converter;
};

std::optional<QtScreen> primaryScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    QtScreen s{{}, geometry::SpaceConverter(QRectF(screen->geometry()))};
    s.info.frame = s.converter.qtToBottomLeft(QRectF(screen->geometry()));
    s.info.visibleFrame = s.converter.qtToBottomLeft(QRectF(screen->availableGeometry()));
    s.info.scale = screen->devicePixelRatio();
    return s;
}

QString rectText(const QRect& r) {
    return QStringLiteral("(%1, %2, %3 × %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

std::optional<QString> checkOneToast(const QtScreen& screen, const QString& message, int expectedLines,
                                     const QDir& out, const QString& fileName) {
    std::unique_ptr<ToastWindow> toast(ToastHUD::build(message, QStringLiteral("checkmark.circle.fill"),
                                                       screen.info, screen.converter, true));
    const auto& layout = toast->layout();
    if (layout.lines.size() != expectedLines)
        return mismatch(QStringLiteral("lines of \"%1\"").arg(message.left(24)),
                        QString::number(expectedLines), QString::number(layout.lines.size()));
    if (expectedLines == 2 && !layout.lines.last().endsWith(QChar(0x2026)))
        return mismatch(QStringLiteral("second line"), QStringLiteral("an ellipsis at its end"),
                        layout.lines.last());
    if (layout.size.width() > 14 + 16 + 8 + 320 + 16 || layout.size.height() < 36)
        return QStringLiteral("toast size %1 × %2 is outside the layout's bounds")
            .arg(layout.size.width())
            .arg(layout.size.height());

    const QRect panel = toast->panelGeometry();
    const QRect visible = screen.converter.bottomLeftToQt(screen.info.visibleFrame).toAlignedRect();
    if (panel.size() != layout.size.toSize())
        return mismatch(QStringLiteral("window size"), rectText(QRect(QPoint(), layout.size.toSize())),
                        rectText(panel));
    if (!visible.contains(panel))
        return mismatch(QStringLiteral("placement"), QStringLiteral("within ") + rectText(visible),
                        rectText(panel));
    if (std::abs((panel.left() + panel.width() / 2.0) - (visible.left() + visible.width() / 2.0)) > 1.0)
        return QStringLiteral("toast %1 is not centred on %2").arg(rectText(panel), rectText(visible));
    // QRect::bottom() is one short of the edge on both rectangles, so the difference is exact.
    if (const int above = visible.bottom() - panel.bottom(); above != 60)
        return mismatch(QStringLiteral("distance above the bottom"), QStringLiteral("60"),
                        QString::number(above));

    QImage image(toast->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(120, 140, 170));
    toast->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    if (image.pixelColor(toast->shadowMargin() + 4, toast->height() / 2).lightness() > 60)
        return QStringLiteral("the toast's panel is not dark");
    if (!image.save(out.filePath(fileName))) return QStringLiteral("cannot write %1").arg(fileName);
    return std::nullopt;
}

std::optional<QString> checkToast(const QDir& out) {
    const auto screen = primaryScreen();
    if (!screen) return QStringLiteral("no screen");
    if (auto failure = checkOneToast(*screen, QStringLiteral("Copied to clipboard"), 1, out,
                                     QStringLiteral("toast.png")))
        return failure;
    const QString longMessage = QStringLiteral("Screenshot saved ") +
                                QStringLiteral("Pictro 2024-05-01 at 10.00.00 ").repeated(6) +
                                QStringLiteral(".png");
    return checkOneToast(*screen, longMessage, 2, out, QStringLiteral("toast-long.png"));
}

std::optional<QString> checkThumbnail(const QDir& out) {
    QImage capture(2880, 1800, QImage::Format_RGB32);
    capture.fill(QColor(236, 238, 242));
    {
        QPainter p(&capture);
        p.fillRect(QRect(0, 0, 2880, 90), QColor(60, 64, 72));
        p.fillRect(QRect(300, 300, 1200, 900), QColor(40, 120, 220));
    }
    const QSizeF size = hudplacement::thumbnailSize(QSizeF(1440, 900));
    if (size != QSizeF(260, 162.5))
        return mismatch(QStringLiteral("thumbnail of 1440 × 900 pt"), QStringLiteral("260 × 162.5"),
                        QStringLiteral("%1 × %2").arg(size.width()).arg(size.height()));
    ThumbnailView view(CapturedImage{capture, 2.0}, {}, {}, true);
    view.resize(size.toSize());
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    view.render(&image);
    if (qAlpha(image.pixel(0, 0)) > 128) return QStringLiteral("the thumbnail's corner is not rounded");
    if (!image.save(out.filePath(QStringLiteral("thumbnail.png"))))
        return QStringLiteral("cannot write thumbnail.png");
    return std::nullopt;
}

} // namespace

std::vector<SelfCheck> hudChecks() {
    return {{QStringLiteral("toast"), checkToast}, {QStringLiteral("thumbnail"), checkThumbnail}};
}

} // namespace selfchecks
