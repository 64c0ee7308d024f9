#include "association/IconFile.h"

#include <QtEndian>

#include <array>
#include <optional>

namespace {
const QByteArray PngSignature("\x89PNG\r\n\x1a\n", 8);
constexpr qsizetype DirectoryEntrySize = 16;
constexpr qsizetype BitmapHeaderSize = 40;
constexpr int MaximumSide = 1024;

quint16 readU16(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 readU32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint32 crc32(const QByteArray &bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> result{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            result[n] = c;
        }
        return result;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (const char byte : bytes)
        c = table[(c ^ quint8(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void appendU32(QByteArray &bytes, quint32 value)
{
    char buffer[4];
    qToBigEndian(value, buffer);
    bytes.append(buffer, 4);
}

void appendChunk(QByteArray &png, const char *kind, const QByteArray &data)
{
    appendU32(png, quint32(data.size()));
    const QByteArray body = QByteArray(kind, 4) + data;
    png.append(body);
    appendU32(png, crc32(body));
}

// rgba holds height rows of width pixels, top row first.
QByteArray encodePng(int width, int height, const QByteArray &rgba)
{
    QByteArray raw;
    raw.reserve(qsizetype(height) * (qsizetype(width) * 4 + 1));
    for (int row = 0; row < height; ++row) {
        raw.append('\0');   // no filter
        raw.append(rgba.constData() + qsizetype(row) * width * 4, qsizetype(width) * 4);
    }
    QByteArray header;
    appendU32(header, quint32(width));
    appendU32(header, quint32(height));
    header.append("\x08\x06\x00\x00\x00", 5);   // 8 bits per channel, RGBA, no interlace
    // qCompress puts the length before the zlib stream that PNG wants.
    const QByteArray zlib = qCompress(raw, 9).mid(4);

    QByteArray png = PngSignature;
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", zlib);
    appendChunk(png, "IEND", QByteArray());
    return png;
}

bool pngSize(const QByteArray &png, int *width, int *height)
{
    if (png.size() < 24 || !png.startsWith(PngSignature) || png.mid(12, 4) != "IHDR")
        return false;
    const quint32 w = qFromBigEndian<quint32>(png.constData() + 16);
    const quint32 h = qFromBigEndian<quint32>(png.constData() + 20);
    if (w == 0 || h == 0 || w > MaximumSide || h > MaximumSide)
        return false;
    *width = int(w);
    *height = int(h);
    return true;
}

// A 32-bit bitmap as icons store it: the header, the colour rows bottom up, then the mask rows.
std::optional<IconFile::Image> fromBitmap(const QByteArray &bitmap)
{
    if (bitmap.size() < BitmapHeaderSize || readU32(bitmap, 0) < BitmapHeaderSize)
        return std::nullopt;
    const auto headerSize = qsizetype(readU32(bitmap, 0));
    const auto width = qint32(readU32(bitmap, 4));
    const auto doubledHeight = qint32(readU32(bitmap, 8));
    const quint16 bitCount = readU16(bitmap, 14);
    const quint32 compression = readU32(bitmap, 16);
    if (bitCount != 32 || compression != 0 || width <= 0 || width > MaximumSide || doubledHeight <= 0
        || doubledHeight > 2 * MaximumSide)
        return std::nullopt;
    const int height = doubledHeight / 2;
    const qsizetype colourRow = qsizetype(width) * 4;
    const qsizetype maskRow = ((qsizetype(width) + 31) / 32) * 4;
    const qsizetype colourStart = headerSize;
    const qsizetype maskStart = colourStart + colourRow * height;
    if (height <= 0 || maskStart > bitmap.size())
        return std::nullopt;
    const bool hasMask = maskStart + maskRow * height <= bitmap.size();

    QByteArray rgba(colourRow * height, Qt::Uninitialized);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const char *source = bitmap.constData() + colourStart + colourRow * (height - 1 - y);
        char *target = rgba.data() + colourRow * y;
        for (int x = 0; x < width; ++x) {
            target[4 * x] = source[4 * x + 2];
            target[4 * x + 1] = source[4 * x + 1];
            target[4 * x + 2] = source[4 * x];
            target[4 * x + 3] = source[4 * x + 3];
            anyAlpha = anyAlpha || source[4 * x + 3] != 0;
        }
    }
    // Old icons leave the alpha bytes empty and say what is transparent in the mask.
    if (!anyAlpha) {
        for (int y = 0; y < height; ++y) {
            const char *mask = bitmap.constData() + maskStart + maskRow * (height - 1 - y);
            for (int x = 0; x < width; ++x) {
                const bool transparent = hasMask && (quint8(mask[x / 8]) & (0x80 >> (x % 8)));
                rgba[colourRow * y + 4 * x + 3] = transparent ? '\0' : char(0xFF);
            }
        }
    }
    return IconFile::Image{width, height, encodePng(width, height, rgba)};
}
}

QList<IconFile::Image> IconFile::pngImages(const QByteArray &file)
{
    QList<Image> images;
    int width = 0;
    int height = 0;
    if (pngSize(file, &width, &height)) {
        images.append({width, height, file});
        return images;
    }
    if (file.size() < 6 || readU16(file, 0) != 0 || readU16(file, 2) != 1)
        return images;
    const int count = readU16(file, 4);
    for (int index = 0; index < count; ++index) {
        const qsizetype entry = 6 + DirectoryEntrySize * index;
        if (entry + DirectoryEntrySize > file.size())
            break;
        const quint32 size = readU32(file, entry + 8);
        const quint32 offset = readU32(file, entry + 12);
        if (offset > quint32(file.size()) || size > quint32(file.size()) - offset)
            continue;
        const QByteArray picture = file.mid(offset, size);
        if (pngSize(picture, &width, &height)) {
            images.append({width, height, picture});
        } else if (std::optional<Image> image = fromBitmap(picture)) {
            images.append(*image);
        }
    }
    return images;
}
