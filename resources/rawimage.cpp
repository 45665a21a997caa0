// Build-time helper: decodes a picture once, when the program is built, and
// writes its pixels as premultiplied 32-bit ARGB words in this machine's byte
// order, the form a pixmap holds them in. The program then makes its window
// icon from these bytes without decoding a PNG at every start.
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
    const QImage image = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QFile output(QString::fromLocal8Bit(argv[2]));
    if (image.isNull() || !output.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    // 32-bit rows carry no padding: the rows follow each other directly.
    const qint64 size = image.sizeInBytes();
    return output.write(reinterpret_cast<const char *>(image.constBits()), size) == size ? 0 : 1;
}
