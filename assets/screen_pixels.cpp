// Build-time helper: a picture the window shows as it is, at start, written
// as the pixels the screen takes (32-bit RGB, rows top to bottom), after a
// 12-byte head: "RGB32\0\0\0", then width and height as 16-bit little-endian
// numbers. The window wraps those bytes in place, where decoding the 256-colour
// bitmap and converting it cost some 5 million instructions before the first
// frame. The bitmap stays the one source.
#include <QFile>
#include <QImage>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "uso: %s ENTRADA.bmp SAIDA.rgb32\n", argv[0]);
        return 2;
    }
    const QImage image = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (image.isNull() || image.width() > 0xffff || image.height() > 0xffff) {
        std::fprintf(stderr, "%s: não é uma imagem legível\n", argv[1]);
        return 1;
    }
    QByteArray bytes("RGB32\0\0\0", 8);
    for (const int size : {image.width(), image.height()}) {
        bytes.append(char(size & 0xff));
        bytes.append(char(size >> 8));
    }
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char *>(image.constScanLine(y)), qsizetype(image.width()) * 4);
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()) {
        std::fprintf(stderr, "%s: não foi possível gravar\n", argv[2]);
        return 1;
    }
    return 0;
}
