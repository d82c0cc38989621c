#include "core/Version.h"
#include "app/TFPrincipal.h"
#include "chart/CalendarChart.h"
#include "app/QtTranslations.h"
#include "app/widgets_factory.h"
#include "core/Dates.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

// The pictures live in a resource file compiled into this static library; a
// program linking it must register them before the first use.
static void registerAssets()
{
    Q_INIT_RESOURCE(assets);
    Q_INIT_RESOURCE(screen_pixels);
}

TFPrincipal::TFPrincipal(const QLocale &regional, QWidget *parent)
    : QWidget(parent), regional_(regional), numbers_(regional.decimalPoint().isEmpty()
                                                         ? QLatin1Char('.')
                                                         : regional.decimalPoint().at(0))
{
    registerAssets();
    // A program or test that builds the window without main() sees the
    // same Portuguese dialogs.
    installQtTranslations();
    setObjectName(QStringLiteral("FPrincipal"));
    setWindowTitle(QStringLiteral("Tuberon - %1  -  Indicação  para Adubação da Cultura da Mandioca ")
                       .arg(QLatin1String(tuberon::shortVersion)));
    // Tahoma is rarely installed here; Liberation Sans keeps the same look and
    // size. Naming it outright when Tahoma is missing spares a lookup of the
    // missing family and of its fallbacks, some million instructions at start.
    // Whether it is installed is read from the list of families: asking
    // hasFamily() would first run fontconfig's substitution rules on the name.
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"));
    const bool tahoma = QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive);
    setFont(QFont(tahoma ? QStringLiteral("Tahoma") : QStringLiteral("Liberation Sans"), 8));
    resize(1184, 689);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(4, 4, 1176, 648);

    buildEntryTab();
    buildLimingTab();
    buildDosesTab();
    buildFertilizationTab();
    buildCalendarTab();
    buildReportTab();
    buildAboutTab();
    PageControl1->setCurrentIndex(0);

    BitBtn1 = ui::button(this, QStringLiteral("BitBtn1"), QStringLiteral("&Fechar"), 8, 658, 90, 26);
    BitBtn1->setIcon(ui::closeGlyph());
    connect(BitBtn1, &QPushButton::clicked, this, &QWidget::close);

    DateTimePicker3 = new QDateEdit(QDate::currentDate(), this);
    DateTimePicker3->setObjectName(QStringLiteral("DateTimePicker3"));
    DateTimePicker3->setLocale(dates::portuguese(regional_));
    DateTimePicker3->setDisplayFormat(dates::portuguese(regional_).dateFormat(QLocale::LongFormat));
    DateTimePicker3->setCalendarPopup(true);
    DateTimePicker3->setGeometry(940, 660, 236, 22);

    setTabOrder(PageControl1, BitBtn1);
    setTabOrder(BitBtn1, DateTimePicker3);

    wireHandlers();
    wireWorking();
    wireKeyboard();
    buildCaseButtons();
    buildImportButton();
    buildLeastCostButton();
    buildCasesButton();

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    // What "Novo" brings back before the start-up steps run again.
    startState_ = caseState();
}

TFPrincipal::~TFPrincipal() = default;

void TFPrincipal::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    startOnce();
}

// The window paints itself first; its children follow and the frame goes to
// the screen before the queued call runs.
void TFPrincipal::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!painted_) {
        painted_ = true;
        QMetaObject::invokeMethod(this, &TFPrincipal::afterFirstFrame, Qt::QueuedConnection);
    }
}

void TFPrincipal::afterFirstFrame()
{
    takeUnmodifiedOnce();
    calendarChart->complete();
    // The six sizes of the icon are decoded and handed to the window system
    // here, not before the window is first seen.
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/assets/icon_%1.bmp").arg(size), QSize(size, size));
    setWindowIcon(icon);
}
