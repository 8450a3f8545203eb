#include "app/DeepLinks.h"

#include <QUrl>
#include <QUrlQuery>

namespace deeplinks {
namespace {

constexpr char scheme[] = "pictro";

// Scheme and host as written: URL parsing would lower-case them, and they must match exactly.
struct RawParts {
    QString scheme;
    QString host;
};

RawParts rawParts(const QString& link) {
    RawParts parts;
    const qsizetype colon = link.indexOf(QLatin1Char(':'));
    if (colon <= 0) return parts;
    parts.scheme = link.left(colon);
    if (link.mid(colon + 1, 2) != QLatin1String("//")) return parts;
    const qsizetype start = colon + 3;
    qsizetype end = start;
    while (end < link.size() && !QStringLiteral("/?#").contains(link[end]))
        ++end;
    QString authority = link.mid(start, end - start);
    const qsizetype at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) authority = authority.mid(at + 1);
    const qsizetype port = authority.indexOf(QLatin1Char(':'));
    parts.host = port >= 0 ? authority.left(port) : authority;
    return parts;
}

QString captureType(const QString& link) {
    const QUrl url(link, QUrl::TolerantMode);
    if (!url.isValid() || !url.hasQuery()) return QStringLiteral("area");
    const auto items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    for (const auto& [name, value] : items)
        if (name == QLatin1String("type")) return value.isEmpty() ? QStringLiteral("area") : value;
    return QStringLiteral("area");
}

Action captureAction(const QString& link) {
    const QString type = captureType(link);
    if (type == QLatin1String("fullscreen")) return Action::fullscreenCapture;
    if (type == QLatin1String("window")) return Action::windowCapture;
    if (type == QLatin1String("scrolling")) return Action::scrollingCapture;
    return Action::areaCapture;
}

} // namespace

std::optional<Action> parse(const QString& link) {
    const RawParts parts = rawParts(link);
    if (parts.scheme != QLatin1String(scheme)) return std::nullopt;
    if (parts.host == QLatin1String("capture")) return captureAction(link);
    if (parts.host == QLatin1String("ocr")) return Action::textRecognition;
    if (parts.host == QLatin1String("clipboard")) return Action::clipboardImage;
    return Action::nothing;
}

QString encodedText(const QString& link) {
    // Reserved URL characters and existing escapes stay as they are; everything else that is
    // not printable ASCII (line breaks, controls, spaces, other scripts) is percent-encoded.
    return QString::fromLatin1(QUrl::toPercentEncoding(link, "!#$&'()*+,/:;=?@[]~%"));
}

void handleRequest(const QStringList& links, bool schemeEnabled, const Target& target) {
    if (!schemeEnabled) {
        target.toast(QStringLiteral("URL scheme is disabled in Advanced settings"),
                     QStringLiteral("link.badge.plus"), 2.2);
        return;
    }
    for (const QString& link : links) {
        const auto action = parse(link);
        if (!action) continue;
        if (*action != Action::nothing) target.start(*action);
        target.log(QStringLiteral("url-handled ") + encodedText(link));
    }
}

} // namespace deeplinks
