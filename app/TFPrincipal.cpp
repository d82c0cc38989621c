#include "core/Version.h"
#include "app/TFPrincipal.h"
#include "chart/CalendarChart.h"
#include "app/QtTranslations.h"
#include "app/widgets_factory.h"
#include "core/Dates.h"
#include "app/tabs/AboutTab.h"
#include "app/tabs/CalendarTab.h"
#include "app/tabs/LimingTab.h"

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
    host_ = new HandlerHost(this, numbers_);
    working_ = std::make_unique<WorkingLedger>([this](const Place &place) { return placeName(place); });
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
    // The liming choice follows the clay content last interpreted.
    liming_ = new LimingTab(PageControl1, *host_, *working_, Edit1, [this] { return worksheet_.argila; });
    TabSheet2 = liming_;
    const std::pair<QLineEdit **, QLineEdit *> limingFields[] = {
        {&Edit13, liming_->Edit13}, {&Edit14, liming_->Edit14}, {&Edit16, liming_->Edit16},
        {&Edit17, liming_->Edit17}, {&Edit18, liming_->Edit18}, {&Edit19, liming_->Edit19},
        {&Edit20, liming_->Edit20}, {&Edit21, liming_->Edit21}, {&Edit22, liming_->Edit22},
        {&Edit26, liming_->Edit26}, {&Edit27, liming_->Edit27}, {&Edit28, liming_->Edit28},
        {&Edit29, liming_->Edit29}, {&Edit61, liming_->Edit61}, {&Edit23, liming_->Edit23},
        {&Edit24, liming_->Edit24}, {&Edit25, liming_->Edit25}};
    for (const auto &[alias, field] : limingFields)
        *alias = field;
    Memo1 = liming_->Memo1;
    Button1 = liming_->Button1;
    Button2 = liming_->Button2;
    buildDosesTab();
    buildFertilizationTab();
    calendar_ = new CalendarTab(PageControl1, regional_, *host_);
    calendarTab = calendar_;
    Chart1 = calendar_->Chart1;
    calendarChart = calendar_->calendarChart;
    DateTimePicker2 = calendar_->DateTimePicker2;
    CheckBox1 = calendar_->CheckBox1;
    CheckBox2 = calendar_->CheckBox2;
    CheckBox3 = calendar_->CheckBox3;
    CheckBox4 = calendar_->CheckBox4;
    RadioButton7 = calendar_->RadioButton7;
    RadioButton8 = calendar_->RadioButton8;
    buildReportTab();
    about_ = new AboutTab(PageControl1);
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
