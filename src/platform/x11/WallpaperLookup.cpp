#include "platform/x11/WallpaperLookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>

namespace wallpaper {
namespace {

bool desktopIs(const QString& current, std::initializer_list<const char*> names) {
    for (const QString& part : current.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        for (const char* name : names)
            if (part.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
    return false;
}

std::optional<QString> fromGsettings(const Environment& env, const QString& schema, const QString& key) {
    if (!env.run) return std::nullopt;
    const auto out = env.run(QStringLiteral("gsettings"), {QStringLiteral("get"), schema, key});
    return out ? parseGsettingsValue(*out) : std::nullopt;
}

std::optional<QString> fromFile(const Environment& env, const QString& path,
                                std::optional<QString> (*parse)(const QByteArray&)) {
    if (!env.readFile) return std::nullopt;
    const auto bytes = env.readFile(path);
    return bytes ? parse(*bytes) : std::nullopt;
}

// Shell words of one line, with single quotes, double quotes and backslashes undone.
QStringList shellWords(const QString& line) {
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar ch = line[i];
        if (ch == QLatin1Char('\'')) {
            const qsizetype end = line.indexOf(QLatin1Char('\''), i + 1);
            if (end < 0) return {};
            word += line.mid(i + 1, end - i - 1);
            inWord = true;
            i = end;
        } else if (ch == QLatin1Char('"')) {
            qsizetype j = i + 1;
            for (; j < line.size() && line[j] != QLatin1Char('"'); ++j) {
                if (line[j] == QLatin1Char('\\') && j + 1 < line.size()) ++j;
                word += line[j];
            }
            if (j >= line.size()) return {};
            inWord = true;
            i = j;
        } else if (ch == QLatin1Char('\\') && i + 1 < line.size()) {
            word += line[++i];
            inWord = true;
        } else if (ch.isSpace()) {
            if (inWord) words << word;
            word.clear();
            inWord = false;
        } else if (ch == QLatin1Char('#') && !inWord) {
            break;
        } else {
            word += ch;
            inWord = true;
        }
    }
    if (inWord) words << word;
    return words;
}

} // namespace

std::optional<QString> parseGsettingsValue(const QString& output) {
    QString v = output.trimmed();
    if (v.size() >= 2 && (v.startsWith(QLatin1Char('\'')) || v.startsWith(QLatin1Char('"'))) &&
        v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    if (v.isEmpty()) return std::nullopt;
    if (v.startsWith(QLatin1String("file:"))) {
        const QString local = QUrl(v).toLocalFile();
        return local.isEmpty() ? std::nullopt : std::optional<QString>(local);
    }
    if (v.startsWith(QLatin1Char('/'))) return v;
    return std::nullopt; // another URI scheme, or a value that is no file
}

std::optional<QString> parseFehbg(const QByteArray& script) {
    for (const QString& line : QString::fromUtf8(script).split(QLatin1Char('\n'))) {
        const QStringList words = shellWords(line);
        if (words.isEmpty() || QFileInfo(words.front()).fileName() != QLatin1String("feh")) continue;
        for (qsizetype i = 1; i < words.size(); ++i) {
            if (!words[i].startsWith(QLatin1String("--bg-"))) continue;
            // Options may follow the mode; the first word that is no option is the image.
            for (qsizetype j = i + 1; j < words.size(); ++j)
                if (!words[j].startsWith(QLatin1Char('-'))) return words[j];
        }
    }
    return std::nullopt;
}

std::optional<QString> parseNitrogen(const QByteArray& config) {
    for (const QByteArray& raw : config.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith("file=") && line.size() > 5) return QString::fromUtf8(line.mid(5));
    }
    return std::nullopt;
}

std::optional<QString> parseXfceDesktop(const QByteArray& xml, const QString& monitorName) {
    QXmlStreamReader reader(xml);
    QStringList path;
    std::optional<QString> preferred, first;
    const QString wantedMonitor = QStringLiteral("monitor") + monitorName;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement && reader.name() == QLatin1String("property")) {
            const auto attributes = reader.attributes();
            path << attributes.value(QLatin1String("name")).toString();
            if (path.back() == QLatin1String("last-image") || path.back() == QLatin1String("image-path")) {
                const QString value = attributes.value(QLatin1String("value")).toString();
                if (!value.isEmpty()) {
                    if (!first) first = value;
                    if (!monitorName.isEmpty() && path.contains(wantedMonitor) && !preferred &&
                        path.contains(QLatin1String("workspace0")))
                        preferred = value;
                }
            }
        } else if (token == QXmlStreamReader::EndElement && reader.name() == QLatin1String("property")) {
            if (!path.isEmpty()) path.removeLast();
        }
    }
    if (reader.hasError() && !first) return std::nullopt;
    return preferred ? preferred : first;
}

std::optional<QString> lookup(const Environment& env, const QString& monitorName) {
    std::optional<QString> found;
    const QString& desktop = env.currentDesktop;
    if (desktopIs(desktop, {"GNOME", "Unity", "Budgie", "Pantheon", "ubuntu"})) {
        found =
            fromGsettings(env, QStringLiteral("org.gnome.desktop.background"), QStringLiteral("picture-uri"));
    } else if (desktopIs(desktop, {"X-Cinnamon", "Cinnamon"})) {
        found = fromGsettings(env, QStringLiteral("org.cinnamon.desktop.background"),
                              QStringLiteral("picture-uri"));
    } else if (desktopIs(desktop, {"MATE"})) {
        found = fromGsettings(env, QStringLiteral("org.mate.background"), QStringLiteral("picture-filename"));
    } else if (desktopIs(desktop, {"XFCE"}) && env.readFile) {
        const QString file =
            env.configDir + QStringLiteral("/xfce4/xfconf/xfce-perchannel-xml/xfce4-desktop.xml");
        if (const auto xml = env.readFile(file)) found = parseXfceDesktop(*xml, monitorName);
    }
    if (!found) found = fromFile(env, env.homeDir + QStringLiteral("/.fehbg"), parseFehbg);
    if (!found)
        found = fromFile(env, env.configDir + QStringLiteral("/nitrogen/bg-saved.cfg"), parseNitrogen);
    if (found && env.fileExists && !env.fileExists(*found)) return std::nullopt;
    return found;
}

Environment systemEnvironment(int timeoutMs) {
    Environment env;
    env.currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    env.homeDir = QDir::homePath();
    env.configDir = qEnvironmentVariable("XDG_CONFIG_HOME", env.homeDir + QStringLiteral("/.config"));
    env.run = [timeoutMs](const QString& program, const QStringList& args) -> std::optional<QString> {
        const QString executable = QStandardPaths::findExecutable(program);
        if (executable.isEmpty()) return std::nullopt;
        QProcess process;
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(executable, args, QIODevice::ReadOnly);
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished(200);
            return std::nullopt;
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) return std::nullopt;
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    env.readFile = [](const QString& path) -> std::optional<QByteArray> {
        QFile f(path);
        // Settings files are small; anything larger is not one.
        if (!f.open(QIODevice::ReadOnly) || f.size() > (1 << 20)) return std::nullopt;
        return f.readAll();
    };
    env.fileExists = [](const QString& path) { return QFileInfo(path).isFile(); };
    return env;
}

} // namespace wallpaper
