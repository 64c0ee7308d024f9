#include "association/DesktopRegistration.h"

#include "association/IconFile.h"
#include "association/WindowsCommandLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QXmlStreamWriter>

#include <algorithm>

namespace {
// Icons bigger than this are not icons; reading stops there.
constexpr qint64 MaximumIconFileSize = 16 * 1024 * 1024;
constexpr qint64 MaximumMimeappsSize = 4 * 1024 * 1024;
// The desktop's database tools finish in milliseconds; a hung one must not hold the program up.
constexpr int ToolTimeoutMs = 5000;
const int HicolorSizes[] = {16, 22, 24, 32, 48, 64, 96, 128, 256, 512};
const QString DefaultApplications = QStringLiteral("[Default Applications]");

enum class WriteResult { Unchanged, Written, Failed };

WriteResult writeIfChanged(const QString &path, const QByteArray &bytes)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.size() == bytes.size() && existing.readAll() == bytes)
        return WriteResult::Unchanged;
    existing.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return WriteResult::Failed;
    // Unbuffered, so that a full disk fails the write itself: a buffered QSaveFile would find out
    // only in commit(), which still replaces the file (QTBUG-75077).
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size()
        || !file.flush() || !file.commit())
        return WriteResult::Failed;
    return WriteResult::Written;
}

std::optional<QByteArray> readSmallFile(const QString &path, qint64 limit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > limit)
        return std::nullopt;
    return file.read(limit);
}

// Silent: a missing or failing tool leaves the files, which the desktop reads on its next scan.
void runTool(const QString &program, const QString &folder)
{
    const QString executable = QStandardPaths::findExecutable(program);
    if (executable.isEmpty())
        return;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(executable, {folder});
    if (!process.waitForStarted(ToolTimeoutMs))
        return;
    if (!process.waitForFinished(ToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(ToolTimeoutMs);
    }
}

// The string escapes of a desktop entry value.
QString escapeValue(const QString &value)
{
    QString result;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\': result += QStringLiteral("\\\\"); break;
        case '\n': result += QStringLiteral("\\n"); break;
        case '\t': result += QStringLiteral("\\t"); break;
        case '\r': result += QStringLiteral("\\r"); break;
        default: result += c;
        }
    }
    return result;
}

QString execArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString result;
    bool needsQuotes = argument.isEmpty();
    for (const QChar c : argument) {
        needsQuotes = needsQuotes || reserved.contains(c);
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            result += QLatin1Char('\\');
        // A single % would start a field code.
        if (c == QLatin1Char('%'))
            result += QLatin1Char('%');
        result += c;
    }
    // Every character that takes a backslash is reserved, so an unquoted argument has none.
    return needsQuotes ? QLatin1Char('"') + result + QLatin1Char('"') : result;
}

bool isFilePlaceholder(const QString &argument)
{
    return argument == QLatin1String("%1") || argument.compare(QLatin1String("%L"), Qt::CaseInsensitive) == 0;
}

// An extension that makes a plain "*.ext" pattern: no pattern characters, no separators.
bool isPlainExtension(const QString &extension)
{
    static const QString special = QStringLiteral("*?[]/\\");
    if (extension.isEmpty())
        return false;
    for (const QChar c : extension) {
        if (special.contains(c) || c.isSpace() || !c.isPrint())
            return false;
    }
    return true;
}
}

DesktopRegistration::Folders DesktopRegistration::Folders::fromEnvironment()
{
    // The base directory rules: unset, empty or relative values are ignored.
    const auto folder = [](const char *variable, const QString &fallback) {
        const QString value = qEnvironmentVariable(variable);
        return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : QDir::homePath() + fallback;
    };
    return {folder("XDG_DATA_HOME", QStringLiteral("/.local/share")),
            folder("XDG_CONFIG_HOME", QStringLiteral("/.config"))};
}

QString DesktopRegistration::name() const
{
    QString result = typeKey.toLower();
    for (QChar &c : result) {
        const bool allowed = (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') || c == QLatin1Char('_')
            || c == QLatin1Char('+');
        if (!allowed)
            c = QLatin1Char('-');
    }
    return result;
}

QString DesktopRegistration::mimeType() const
{
    return QStringLiteral("application/x-") + name();
}

QByteArray DesktopRegistration::mimePackage(bool withIcon) const
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeDefaultNamespace(QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    writer.writeStartElement(QStringLiteral("mime-info"));
    writer.writeStartElement(QStringLiteral("mime-type"));
    writer.writeAttribute(QStringLiteral("type"), mimeType());
    if (!description.isEmpty())
        writer.writeTextElement(QStringLiteral("comment"), description);
    if (withIcon) {
        writer.writeEmptyElement(QStringLiteral("icon"));
        writer.writeAttribute(QStringLiteral("name"), name());
    }
    for (const QString &extension : extensions) {
        if (!isPlainExtension(extension))
            continue;
        writer.writeEmptyElement(QStringLiteral("glob"));
        writer.writeAttribute(QStringLiteral("pattern"), QStringLiteral("*.") + extension);
    }
    writer.writeEndDocument();
    return xml;
}

std::optional<QByteArray> DesktopRegistration::desktopEntry(bool withIcon) const
{
    const QStringList arguments = WindowsCommandLine::split(command);
    if (arguments.isEmpty() || arguments.constFirst().isEmpty())
        return std::nullopt;
    QString entry = QStringLiteral("[Desktop Entry]\n"
                                   "Type=Application\n");
    entry += QStringLiteral("Name=") + escapeValue(typeKey) + QLatin1Char('\n');
    if (!description.isEmpty())
        entry += QStringLiteral("Comment=") + escapeValue(description) + QLatin1Char('\n');
    entry += QStringLiteral("Exec=") + escapeValue(execLine(arguments)) + QLatin1Char('\n');
    if (withIcon)
        entry += QStringLiteral("Icon=") + name() + QLatin1Char('\n');
    entry += QStringLiteral("MimeType=") + mimeType() + QStringLiteral(";\n");
    // Like the file types' keys, the registration opens files; it adds nothing to the menus.
    entry += QStringLiteral("NoDisplay=true\n"
                            "Terminal=false\n");
    return entry.toUtf8();
}

QString DesktopRegistration::execLine(const QStringList &arguments)
{
    QStringList parts;
    for (const QString &argument : arguments)
        parts.append(isFilePlaceholder(argument) ? QStringLiteral("%f") : execArgument(argument));
    return parts.join(QLatin1Char(' '));
}

QByteArray DesktopRegistration::withDefaultApplication(const QByteArray &mimeapps, const QString &mimeType,
                                                       const QString &desktopFile)
{
    const QString entry = mimeType + QLatin1Char('=') + desktopFile + QLatin1Char(';');
    QStringList lines = QString::fromUtf8(mimeapps).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();

    qsizetype group = -1;
    for (qsizetype index = 0; index < lines.size(); ++index) {
        if (lines.at(index).trimmed() == DefaultApplications) {
            group = index;
            break;
        }
    }
    if (group < 0) {
        if (!lines.isEmpty() && !lines.constLast().trimmed().isEmpty())
            lines.append(QString());
        lines.append(DefaultApplications);
        lines.append(entry);
        return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    }

    qsizetype insertAt = group + 1;
    for (qsizetype index = group + 1; index < lines.size(); ++index) {
        const QString line = lines.at(index).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            break;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && line.left(equals).trimmed() == mimeType) {
            lines[index] = entry;
            return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
        }
        if (!line.isEmpty())
            insertAt = index + 1;
    }
    lines.insert(insertAt, entry);
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

bool DesktopRegistration::install(const Folders &folders) const
{
    if (typeKey.isEmpty() || folders.dataHome.isEmpty() || folders.configHome.isEmpty())
        return false;
    bool ok = true;
    const QDir dataHome(folders.dataHome);

    bool withIcon = false;
    if (!iconPath.isEmpty()) {
        const std::optional<QByteArray> icon = readSmallFile(iconPath, MaximumIconFileSize);
        const QList<IconFile::Image> images = icon ? IconFile::pngImages(*icon) : QList<IconFile::Image>();
        for (const IconFile::Image &image : images) {
            if (image.width != image.height || !std::ranges::count(HicolorSizes, image.width))
                continue;
            const QString path = dataHome.filePath(
                QStringLiteral("icons/hicolor/%1x%1/apps/%2.png").arg(image.width).arg(name()));
            if (writeIfChanged(path, image.png) == WriteResult::Failed)
                ok = false;
            else
                withIcon = true;
        }
    }

    const WriteResult mime = writeIfChanged(dataHome.filePath(QStringLiteral("mime/packages/") + name()
                                                              + QStringLiteral(".xml")),
                                            mimePackage(withIcon));
    if (mime == WriteResult::Failed)
        ok = false;
    if (mime == WriteResult::Written)
        runTool(QStringLiteral("update-mime-database"), dataHome.filePath(QStringLiteral("mime")));

    const std::optional<QByteArray> entry = desktopEntry(withIcon);
    if (!entry)
        return ok;
    const WriteResult desktop = writeIfChanged(dataHome.filePath(QStringLiteral("applications/") + desktopFileName()),
                                               *entry);
    if (desktop == WriteResult::Failed)
        return false;

    // A mimeapps.list that exists but cannot be read is left alone rather than replaced.
    const QString mimeappsPath = QDir(folders.configHome).filePath(QStringLiteral("mimeapps.list"));
    std::optional<QByteArray> mimeapps = QByteArray();
    if (QFileInfo::exists(mimeappsPath))
        mimeapps = readSmallFile(mimeappsPath, MaximumMimeappsSize);
    if (!mimeapps
        || writeIfChanged(mimeappsPath, withDefaultApplication(*mimeapps, mimeType(), desktopFileName()))
            == WriteResult::Failed)
        ok = false;

    if (desktop == WriteResult::Written)
        runTool(QStringLiteral("update-desktop-database"), dataHome.filePath(QStringLiteral("applications")));
    return ok;
}
