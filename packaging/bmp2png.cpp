// Build-time helper: the window's icon is kept as uncompressed bitmaps for a
// fast start, while the desktop's icon theme wants PNG. Converting here keeps
// one source for both.
#include <QImage>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "uso: %s ENTRADA.bmp SAIDA.png\n", argv[0]);
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull()) {
        std::fprintf(stderr, "%s: não é uma imagem legível\n", argv[1]);
        return 1;
    }
    // Keep the alpha channel: the icon's corners are transparent.
    if (!image.convertToFormat(QImage::Format_ARGB32).save(QString::fromLocal8Bit(argv[2]), "PNG", 9)) {
        std::fprintf(stderr, "%s: não foi possível gravar\n", argv[2]);
        return 1;
    }
    return 0;
}
