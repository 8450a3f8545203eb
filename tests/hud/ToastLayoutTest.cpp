#include "hud/ToastLayout.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

using namespace toastlayout;

namespace {

QString words(int count) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("word%1").arg(i);
    return list.join(QLatin1Char(' '));
}

} // namespace

TEST(ToastLayout, ShortMessageIsOneLineAtItsNaturalWidthWithTheInsets) {
    const QFont f = font();
    const Layout l = make(QStringLiteral("Copied to clipboard"), true, f);
    ASSERT_EQ(l.lines, QStringList{QStringLiteral("Copied to clipboard")});
    const double textWidth =
        std::ceil(QFontMetricsF(f).horizontalAdvance(QStringLiteral("Copied to clipboard")));
    EXPECT_DOUBLE_EQ(l.textRect.width(), textWidth);
    EXPECT_DOUBLE_EQ(l.size.width(), 14 + 16 + 8 + textWidth + 16);
    const double rowHeight = std::max(16.0, std::ceil(QFontMetricsF(f).height()));
    EXPECT_DOUBLE_EQ(l.size.height(), 10 + rowHeight + 10);
    EXPECT_EQ(l.iconRect, QRectF(14, 10 + (rowHeight - 16) / 2, 16, 16));
    EXPECT_DOUBLE_EQ(l.textRect.x(), 14 + 16 + 8);
}

TEST(ToastLayout, UnknownSymbolLeavesOutTheIconAndItsSpacing) {
    const Layout with = make(QStringLiteral("Saved"), true, font());
    const Layout without = make(QStringLiteral("Saved"), false, font());
    EXPECT_TRUE(without.iconRect.isEmpty());
    EXPECT_DOUBLE_EQ(with.size.width() - without.size.width(), 16 + 8);
    EXPECT_DOUBLE_EQ(without.textRect.x(), 14);
}

TEST(ToastLayout, LongMessageWrapsIntoTwoLinesWithinThe320PointWidth) {
    const QFont f = font();
    const QFontMetricsF m(f);
    // Grow the message until it just needs two lines.
    int n = 1;
    while (m.horizontalAdvance(words(n)) <= maxTextWidth)
        ++n;
    const Layout l = make(words(n), true, f);
    ASSERT_EQ(l.lines.size(), 2);
    EXPECT_FALSE(l.lines[1].endsWith(QChar(0x2026)));
    EXPECT_EQ(l.lines.join(QLatin1Char(' ')), words(n));
    EXPECT_LE(l.textRect.width(), maxTextWidth);
    EXPECT_DOUBLE_EQ(l.textRect.height(), std::ceil(2 * m.height()));
}

TEST(ToastLayout, MessageBeyondTwoLinesEndsTheSecondWithAnEllipsis) {
    const QFont f = font();
    const QFontMetricsF m(f);
    const QString message = words(80);
    const Layout l = make(message, true, f);
    ASSERT_EQ(l.lines.size(), 2);
    EXPECT_TRUE(l.lines[1].endsWith(QChar(0x2026))) << l.lines[1].toStdString();
    EXPECT_TRUE(message.startsWith(l.lines[0] + QLatin1Char(' ')));
    // The second line goes on where the first stops and fills the width before it is cut.
    const QString secondWithoutEllipsis = l.lines[1].chopped(1);
    EXPECT_TRUE(message.mid(l.lines[0].size() + 1).startsWith(secondWithoutEllipsis));
    EXPECT_LE(m.horizontalAdvance(l.lines[1]), maxTextWidth);
    EXPECT_GT(m.horizontalAdvance(l.lines[1]), maxTextWidth - m.horizontalAdvance(QStringLiteral("word00 ")));
    EXPECT_DOUBLE_EQ(l.textRect.width(),
                     std::ceil(std::max(m.horizontalAdvance(l.lines[0]), m.horizontalAdvance(l.lines[1]))));
    EXPECT_DOUBLE_EQ(l.size.width(), 14 + 16 + 8 + l.textRect.width() + 16);
}

TEST(ToastLayout, AWordLongerThanALineIsBrokenInsideIt) {
    const QString path =
        QStringLiteral("/home/user/Pictures/") + QString(200, QLatin1Char('x')) + QStringLiteral(".png");
    const Layout l = make(path, true, font());
    ASSERT_EQ(l.lines.size(), 2);
    EXPECT_TRUE(l.lines[0].startsWith(QStringLiteral("/home/user/Pictures/")));
    EXPECT_TRUE(l.lines[1].endsWith(QChar(0x2026)));
    for (const QString& line : l.lines)
        EXPECT_LE(QFontMetricsF(font()).horizontalAdvance(line), maxTextWidth);
}

TEST(ToastLayout, LineBreaksInTheMessageStartNewLines) {
    const Layout two = make(QStringLiteral("Screenshot saved\nPictro 1.png"), true, font());
    EXPECT_EQ(two.lines, (QStringList{QStringLiteral("Screenshot saved"), QStringLiteral("Pictro 1.png")}));
    const Layout three = make(QStringLiteral("a\nb\nc"), true, font());
    ASSERT_EQ(three.lines.size(), 2);
    EXPECT_EQ(three.lines[0], QStringLiteral("a"));
    EXPECT_EQ(three.lines[1], QStringLiteral("b") + QChar(0x2026));
}

TEST(ToastLayout, EmptyMessageKeepsTheIconRow) {
    const Layout l = make(QString(), true, font());
    EXPECT_TRUE(l.lines.isEmpty());
    EXPECT_DOUBLE_EQ(l.size.width(), 14 + 16 + 16);
    EXPECT_DOUBLE_EQ(l.size.height(), 10 + 16 + 10);
}
