#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>

// A picture like a desktop screenshot: flat panels, window chrome, buttons and a lot of text in
// two sizes; no noise. Deterministic for a given size.
inline QImage screenshotLikeImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(236, 238, 241));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const int panel = height / 30;
    p.fillRect(0, 0, width, panel, QColor(40, 42, 48));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(panel / 2);
    p.setFont(small);
    p.setPen(Qt::white);
    p.drawText(QRect(panel / 2, 0, width / 3, panel), Qt::AlignVCenter,
               QStringLiteral("Activities   Files   Terminal"));
    const QColor accents[] = {QColor(53, 132, 228), QColor(46, 194, 126), QColor(229, 165, 10),
                              QColor(192, 28, 40)};
    int seed = 7;
    auto next = [&seed] { return seed = (seed * 1103515245 + 12345) & 0x7fffffff; };
    for (int w = 0; w < 4; ++w) {
        const QRect win(width / 40 + w * width / 5, panel * 2 + w * height / 14, width / 2, height * 2 / 3);
        p.setPen(QColor(200, 200, 205));
        p.setBrush(Qt::white);
        p.drawRoundedRect(win, 8, 8);
        p.fillRect(QRect(win.x(), win.y(), win.width(), panel), QColor(246, 245, 244));
        p.setPen(QColor(30, 30, 30));
        p.drawText(win.adjusted(panel, 0, 0, 0).topLeft() + QPoint(0, panel * 2 / 3),
                   QStringLiteral("Document %1 — Editor").arg(w + 1));
        p.fillRect(QRect(win.x(), win.y() + panel, win.width() / 5, win.height() - panel),
                   QColor(250, 250, 250));
        for (int b = 0; b < 6; ++b) {
            p.setBrush(accents[(w + b) % 4]);
            p.setPen(Qt::NoPen);
            p.drawRoundedRect(
                QRect(win.x() + panel / 2, win.y() + panel * (2 + b * 2), win.width() / 6, panel), 4, 4);
        }
        QFont body(QStringLiteral("DejaVu Sans"));
        body.setPixelSize(qMax(9, panel * 2 / 5));
        p.setFont(body);
        p.setPen(QColor(50, 50, 55));
        const int line = body.pixelSize() * 3 / 2;
        for (int y = win.y() + panel * 2; y < win.bottom() - line; y += line) {
            QString text;
            const int words = 6 + next() % 10;
            for (int i = 0; i < words; ++i) {
                const int len = 2 + next() % 9;
                for (int c = 0; c < len; ++c)
                    text += QChar('a' + next() % 26);
                text += QLatin1Char(' ');
            }
            p.drawText(win.x() + win.width() / 5 + panel / 2, y, text);
        }
    }
    return image;
}

// A screen full of small text, as a terminal or a code editor shows it: every row of the screen
// is covered by lines of monospaced text in a few syntax colours, beside a file list in a
// proportional font. Compresses far less than screenshotLikeImage; deterministic for a given size.
inline QImage textHeavyScreenImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 250));
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    const int px = qMax(11, height / 80);
    const int line = px * 3 / 2;
    const int sidebar = width / 6;
    p.fillRect(0, 0, sidebar, height, QColor(238, 240, 243));
    const QColor syntax[] = {QColor(36, 41, 46),  QColor(215, 58, 73),  QColor(0, 92, 197),
                             QColor(34, 134, 58), QColor(111, 66, 193), QColor(106, 115, 125)};
    unsigned seed = 11;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    QFont side(QStringLiteral("DejaVu Sans"));
    side.setPixelSize(px);
    p.setFont(side);
    p.setPen(QColor(60, 60, 66));
    for (int y = line; y < height; y += line) {
        QString name;
        const int len = 4 + next() % 14;
        for (int c = 0; c < len; ++c)
            name += QChar('a' + next() % 26);
        p.drawText(px + (next() % 3) * px, y, name + QStringLiteral(".cpp"));
    }
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPixelSize(px);
    p.setFont(mono);
    const int advance = QFontMetrics(mono).horizontalAdvance(QLatin1Char('m'));
    for (int y = line, row = 1; y < height; y += line, ++row) {
        p.setPen(syntax[5]);
        p.drawText(sidebar + px / 2, y, QString::number(row).rightJustified(5));
        int x = sidebar + 7 * advance + (next() % 6) * 4 * advance;
        while (x < width - 10 * advance) {
            QString word;
            const int len = 1 + next() % 10;
            for (int c = 0; c < len; ++c)
                word += QChar("abcdefghijklmnopqrstuvwxyz_(){};=<>0123456789"[next() % 46]);
            p.setPen(syntax[next() % 5]);
            p.drawText(x, y, word);
            x += (len + 1) * advance;
            if (next() % 9 == 0) break;
        }
    }
    return image;
}
