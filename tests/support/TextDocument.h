#pragma once

#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>

namespace testsupport {

// A PDF of `pages` pages of `pagePoints` points, as long documents look: a heading on each page and
// text lines a line apart under it, each one different, so no two stretches of the page are alike.
inline void writeTextDocument(const QString& path, QSize pagePoints, int pages = 1) {
    QPdfWriter pdf(path);
    pdf.setResolution(72);
    pdf.setPageSize(QPageSize(QSizeF(pagePoints), QPageSize::Point));
    pdf.setPageMargins(QMarginsF());
    QPainter painter(&pdf);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    painter.setFont(font);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1) pdf.newPage();
        painter.drawText(QPointF(24, 40), QStringLiteral("Chapter %1").arg(page));
        for (int line = 1; line * 22 + 60 < pagePoints.height() - 20; ++line)
            painter.drawText(QPointF(24, 60 + line * 22), QStringLiteral("Line %1 of page %2: %3")
                                                              .arg(line)
                                                              .arg(page)
                                                              .arg(QString(line * 7 % 23, u'x')));
    }
    painter.end();
}

} // namespace testsupport
