// Build-time helper: decodes a picture once, when the program is built, and
// writes it as its width and height (two 32-bit words) followed by its pixels
// as non-premultiplied 32-bit ARGB words, all in this machine's byte order:
// the form a decoded PNG with transparency takes in memory. The program makes
// its icons and its cursor from these bytes in place instead of decoding a
// PNG at every start.
// Usage: vargorin_rawimage INPUT.png OUTPUT.argb
#include <QFile>
#include <QImage>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INPUT OUTPUT\n", argv[0]);
        return 2;
    }
    const QImage image = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
    QFile output(QString::fromLocal8Bit(argv[2]));
    if (image.isNull() || !output.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    const quint32 size[2] = {quint32(image.width()), quint32(image.height())};
    // 32-bit rows carry no padding: the rows follow each other directly.
    const qint64 pixelBytes = image.sizeInBytes();
    const bool written = output.write(reinterpret_cast<const char *>(size), sizeof size) == qint64(sizeof size)
        && output.write(reinterpret_cast<const char *>(image.constBits()), pixelBytes) == pixelBytes;
    return written ? 0 : 1;
}
