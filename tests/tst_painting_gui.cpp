#include "app/TFPrincipal.h"
#include "gui_helpers.h"
#include "app/widgets_factory.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QStyleFactory>

#include <memory>

// What the window paints its own way for a faster first frame gives exactly
// the pixels of the ordinary way: groups (their frame's middle filled plainly
// under Fusion) and the plant picture (stored as the screen's pixels).
namespace {

enum class Background { None, Menu, Cream };

// A page holding one group, painted to an image: the window's group or a
// plain QGroupBox made alike.
QImage paintedGroup(bool windowGroup, const QString &caption, const QSize &size, Background background,
                    const QString &style)
{
    // A widget does not own the style it is given: the style outlives the page.
    const std::unique_ptr<QStyle> owned(QStyleFactory::create(style));
    QWidget page;
    page.setStyle(owned.get());
    page.resize(size + QSize(20, 20));
    ui::setBackground(&page, ui::colour::menu);
    QGroupBox *group = windowGroup ? ui::group(&page, QStringLiteral("g"), caption, 10, 10, size.width(), size.height())
                                   : new QGroupBox(caption, &page);
    group->setStyle(page.style());
    group->setGeometry(10, 10, size.width(), size.height());
    if (background == Background::Menu)
        ui::setBackground(group, ui::colour::menu);
    else if (background == Background::Cream)
        ui::setBackground(group, ui::colour::cream);
    return page.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TstPaintingGui : public QObject {
    Q_OBJECT
private slots:
    void groupsAsTheStylePaintsThem_data();
    void groupsAsTheStylePaintsThem();
    void plantPictureAsStored();
};

void TstPaintingGui::groupsAsTheStylePaintsThem_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("background");
    for (const char *style : {"Fusion", "Windows"}) {
        const auto row = [style](const char *what, const char *caption, QSize size, Background background) {
            QTest::addRow("%s, %s", style, what)
                << QString::fromLatin1(style) << QString::fromUtf8(caption) << size << int(background);
        };
        row("page-filling group", "", {1176, 624}, Background::Menu);
        row("captioned group over the page", "Dados da Análise do Solo", {440, 352}, Background::None);
        row("coloured top-dressing block", "Adubação na 1ª Cobertura", {602, 204}, Background::Cream);
        row("group too small for a plain middle", "Faltante", {300, 40}, Background::None);
        row("caption-less group, no background", "", {200, 120}, Background::None);
    }
}

void TstPaintingGui::groupsAsTheStylePaintsThem()
{
    QFETCH(QString, style);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(int, background);
    const QImage ours = paintedGroup(true, caption, size, Background(background), style);
    const QImage plain = paintedGroup(false, caption, size, Background(background), style);
    QCOMPARE(ours.size(), plain.size());
    QVERIFY(ours == plain);
}

// The first tab's picture is plant.bmp, pixel for pixel, at its own size.
void TstPaintingGui::plantPictureAsStored()
{
    const TFPrincipal w{gui::comma()};
    const QImage shown = w.Image2->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage stored = QImage(QStringLiteral(TUBERON_ASSETS "/plant.bmp")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(stored.size(), QSize(677, 509));
    QCOMPARE(shown.size(), stored.size());
    QVERIFY(shown == stored);
}

QTEST_MAIN(TstPaintingGui)
#include "tst_painting_gui.moc"
