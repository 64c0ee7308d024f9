#pragma once

#include <QByteArray>
#include <QList>

// The pictures of a Windows icon file as PNG files, for desktops that take icons as PNG only.
namespace IconFile {
struct Image
{
    int width = 0;
    int height = 0;
    QByteArray png;
};

// Every picture of an icon file that is stored as PNG or as a 32-bit bitmap; a PNG file gives
// itself. Pictures in other forms, and anything that is not an icon, give nothing.
QList<Image> pngImages(const QByteArray &file);
}
