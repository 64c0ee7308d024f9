#include "association/DesktopRegistration.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <algorithm>
#include <optional>

namespace {
constexpr qint64 MaximumMimeappsSize = 4 * 1024 * 1024;
const int HicolorSizes[] = {16, 22, 24, 32, 48, 64, 96, 128, 256, 512};
const QString DefaultApplications = QStringLiteral("[Default Applications]");

enum class WriteResult { Unchanged, Written, Failed };

// On a failure, reason says which file and why.
WriteResult writeIfChanged(const QString &path, const QByteArray &bytes, QString *reason)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.size() == bytes.size() && existing.readAll() == bytes)
        return WriteResult::Unchanged;
    existing.close();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        *reason = QStringLiteral("Cannot make the folder ") + QDir::toNativeSeparators(folder);
        return WriteResult::Failed;
    }
    // Unbuffered, so that a full disk fails the write itself: a buffered QSaveFile would find out
    // only in commit(), which still replaces the file (QTBUG-75077).
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size()
        || !file.flush() || !file.commit()) {
        *reason = QStringLiteral("Cannot write ") + QDir::toNativeSeparators(path) + QStringLiteral(": ")
            + file.errorString();
        return WriteResult::Failed;
    }
    return WriteResult::Written;
}

// The square pictures of the icon file in the icon theme's sizes, as PNG files by their size. Qt's
// image plugins read Windows icons; anything else they read is taken as one picture.
QList<std::pair<int, QByteArray>> iconPictures(const QString &iconPath)
{
    QList<std::pair<int, QByteArray>> pictures;
    if (iconPath.isEmpty())
        return pictures;
    QImageReader reader(iconPath);
    for (int index = 0; index < std::max(1, reader.imageCount()); ++index) {
        if (index > 0 && !reader.jumpToImage(index))
            break;
        const QImage image = reader.read();
        const int side = image.width();
        if (image.isNull() || image.height() != side || !std::ranges::count(HicolorSizes, side)
            || std::ranges::any_of(pictures, [side](const auto &picture) { return picture.first == side; }))
            continue;
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        if (image.save(&png, "PNG"))
            pictures.append({side, png.data()});
    }
    return pictures;
}

std::optional<QByteArray> readSmallFile(const QString &path, qint64 limit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > limit)
        return std::nullopt;
    return file.read(limit);
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
    QString result = m_type.typeKey.toLower();
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
    if (!m_type.description.isEmpty())
        writer.writeTextElement(QStringLiteral("comment"), m_type.description);
    if (withIcon) {
        writer.writeEmptyElement(QStringLiteral("icon"));
        writer.writeAttribute(QStringLiteral("name"), name());
    }
    if (isPlainExtension(m_type.extension)) {
        writer.writeEmptyElement(QStringLiteral("glob"));
        writer.writeAttribute(QStringLiteral("pattern"), QStringLiteral("*.") + m_type.extension);
    }
    writer.writeEndDocument();
    return xml;
}

QByteArray DesktopRegistration::desktopEntry(bool withIcon) const
{
    QString entry = QStringLiteral("[Desktop Entry]\n"
                                   "Type=Application\n");
    entry += QStringLiteral("Name=") + escapeValue(m_type.typeKey) + QLatin1Char('\n');
    if (!m_type.description.isEmpty())
        entry += QStringLiteral("Comment=") + escapeValue(m_type.description) + QLatin1Char('\n');
    entry += QStringLiteral("Exec=") + escapeValue(execLine(m_type.program)) + QLatin1Char('\n');
    if (withIcon)
        entry += QStringLiteral("Icon=") + name() + QLatin1Char('\n');
    entry += QStringLiteral("MimeType=") + mimeType() + QStringLiteral(";\n");
    // Like the file types' keys, the registration opens files; it adds nothing to the menus.
    entry += QStringLiteral("NoDisplay=true\n"
                            "Terminal=false\n");
    return entry.toUtf8();
}

QString DesktopRegistration::execLine(const QString &program)
{
    return execArgument(program) + QStringLiteral(" %f");
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

DesktopRegistration::Installed DesktopRegistration::install(const Folders &folders) const
{
    Installed installed;
    if (m_type.typeKey.isEmpty() || m_type.program.isEmpty() || folders.dataHome.isEmpty()
        || folders.configHome.isEmpty()) {
        installed.reason = QStringLiteral("No file type or program to register");
        return installed;
    }
    const QDir dataHome(folders.dataHome);
    QString reason;
    const auto fail = [&] {
        installed.reason = reason;
        return installed;
    };

    bool withIcon = false;
    for (const auto &[side, png] : iconPictures(m_type.iconPath)) {
        const QString path = dataHome.filePath(QStringLiteral("icons/hicolor/%1x%1/apps/%2.png").arg(side).arg(name()));
        if (writeIfChanged(path, png, &reason) == WriteResult::Failed)
            return fail();
        withIcon = true;
    }

    const QString mimeFolder = dataHome.filePath(QStringLiteral("mime"));
    const WriteResult mime = writeIfChanged(mimeFolder + QStringLiteral("/packages/") + name() + QStringLiteral(".xml"),
                                            mimePackage(withIcon), &reason);
    if (mime == WriteResult::Failed)
        return fail();
    if (mime == WriteResult::Written)
        installed.tools.append({QStringLiteral("update-mime-database"), mimeFolder});

    const QString applications = dataHome.filePath(QStringLiteral("applications"));
    const WriteResult desktop = writeIfChanged(applications + QLatin1Char('/') + desktopFileName(),
                                               desktopEntry(withIcon), &reason);
    if (desktop == WriteResult::Failed)
        return fail();
    if (desktop == WriteResult::Written)
        installed.tools.append({QStringLiteral("update-desktop-database"), applications});

    // A mimeapps.list that exists but cannot be read is left alone rather than replaced.
    const QString mimeappsPath = QDir(folders.configHome).filePath(QStringLiteral("mimeapps.list"));
    std::optional<QByteArray> mimeapps = QByteArray();
    if (QFileInfo::exists(mimeappsPath))
        mimeapps = readSmallFile(mimeappsPath, MaximumMimeappsSize);
    if (!mimeapps) {
        reason = QStringLiteral("Cannot read ") + QDir::toNativeSeparators(mimeappsPath);
        return fail();
    }
    if (writeIfChanged(mimeappsPath, withDefaultApplication(*mimeapps, mimeType(), desktopFileName()), &reason)
        == WriteResult::Failed)
        return fail();
    installed.ok = true;
    return installed;
}
