// Preloaded into a program started by the benchmark (LD_PRELOAD): ends the
// process right after its first frame has been painted and handed to the
// display, without tearing anything down, so that a profiler counts exactly
// the start-up. The program itself is not changed.
//   TUBERON_FIRST_FRAME_PEAK=1     writes "peak <KiB>" (VmHWM) to standard output
//   TUBERON_FIRST_FRAME_SHOT=file  saves the screen as it is after that frame
//   TUBERON_FIRST_FRAME_MAPS=1     writes /proc/self/maps (what is loaded by then)
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

long peakKib()
{
    FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long kib = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmHWM:", 6) == 0)
            kib = std::atol(line + 6);
    std::fclose(status);
    return kib;
}

void copyMaps()
{
    FILE *maps = std::fopen("/proc/self/maps", "r");
    if (!maps)
        return;
    char block[4096];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, maps)) > 0;)
        (void)!::write(STDOUT_FILENO, block, n);
    std::fclose(maps);
}

class FirstFrame : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Expose || !watched->isWindowType()
            || !static_cast<QWindow *>(watched)->isExposed())
            return false;
        // Let the window paint and flush this frame now, then stop.
        watched->event(event);
        if (const char *shot = std::getenv("TUBERON_FIRST_FRAME_SHOT"); shot && *shot)
            if (QScreen *screen = QGuiApplication::primaryScreen())
                screen->grabWindow(0).save(QString::fromLocal8Bit(shot));
        if (std::getenv("TUBERON_FIRST_FRAME_PEAK")) {
            char text[64];
            const int n = std::snprintf(text, sizeof text, "peak %ld\n", peakKib());
            (void)!::write(STDOUT_FILENO, text, n);
        }
        if (std::getenv("TUBERON_FIRST_FRAME_MAPS"))
            copyMaps();
        ::_exit(0);
    }
};

void watchFirstFrame()
{
    QCoreApplication::instance()->installEventFilter(new FirstFrame);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchFirstFrame)
