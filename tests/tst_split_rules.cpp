#include "core/NumberText.h"
#include "agronomy/Split.h"

#include <QtTest>

// The split of N and K2O over planting and the three top-dressings: shares by
// percentage, the potash limit at planting and the texts it is written with.
class TstSplitRules : public QObject {
    Q_OBJECT
private slots:
    void byPercentage_data();
    void byPercentage();
    void potash_data();
    void potash();
    void potashTexts_data();
    void potashTexts();
    void byOptionalPercentage_data();
    void byOptionalPercentage();
};

void TstSplitRules::byPercentage_data()
{
    QTest::addColumn<double>("dose");
    QTest::addColumn<double>("percent");
    QTest::addColumn<double>("share");
    QTest::newRow("15 % of 120") << 120.0 << 15.0 << 18.0;
    QTest::newRow("35 % of 120") << 120.0 << 35.0 << 42.0;
    QTest::newRow("percentages above 100 are applied as they are") << 80.0 << 150.0 << 120.0;
    QTest::newRow("negative dose passes through") << -50.0 << 20.0 << -10.0;
    QTest::newRow("no percentage") << 120.0 << 0.0 << 0.0;
}

void TstSplitRules::byPercentage()
{
    QFETCH(double, dose);
    QFETCH(double, percent);
    QFETCH(double, share);
    QCOMPARE(split::byPercentage(dose, percent), share);
}

void TstSplitRules::potash_data()
{
    QTest::addColumn<double>("dose");
    QTest::addColumn<double>("planting");
    QTest::addColumn<std::optional<double>>("first");
    QTest::newRow("100: 40 at planting, 60 at the first top-dressing") << 100.0 << 40.0 << std::optional(60.0);
    QTest::newRow("exactly 40 fits at planting") << 40.0 << 40.0 << std::optional<double>();
    QTest::newRow("just above 40") << 40.004 << 40.0 << std::optional(40.004 - 40);
    QTest::newRow("below 40") << 27.5 << 27.5 << std::optional<double>();
    QTest::newRow("no dose") << 0.0 << 0.0 << std::optional<double>();
}

void TstSplitRules::potash()
{
    QFETCH(double, dose);
    QFETCH(double, planting);
    QFETCH(std::optional<double>, first);
    const split::Potash s = split::potash(dose);
    QCOMPARE(s.planting, planting);
    QCOMPARE(s.firstTopDressing, first);
}

void TstSplitRules::potashTexts_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<double>("dose");
    QTest::addColumn<QStringList>("texts");
    const QChar comma(u','), point(u'.'), arabic(u'\u066B');
    QTest::newRow("comma, above the limit") << comma << 100.0 << QStringList{"40,00", "60,00", "", ""};
    QTest::newRow("point, above the limit") << point << 100.0 << QStringList{"40.00", "60.00", "", ""};
    // The held-back planting share is a fixed text: a comma under any other separator.
    QTest::newRow("other separator, above the limit")
        << arabic << 85.5 << QStringList{"40,00", QStringLiteral("45\u066B50"), "", ""};
    QTest::newRow("other separator, at the limit") << arabic << 40.0 << QStringList{QStringLiteral("40\u066B00"), "", "", ""};
    QTest::newRow("comma, within the limit") << comma << 27.5 << QStringList{"27,50", "", "", ""};
    QTest::newRow("just above the limit leaves 0,00") << comma << 40.004 << QStringList{"40,00", "0,00", "", ""};
}

void TstSplitRules::potashTexts()
{
    QFETCH(QChar, separator);
    QFETCH(double, dose);
    QFETCH(QStringList, texts);
    const auto written = split::potashTexts(split::potash(dose), NumberText(separator));
    QCOMPARE(QStringList(written.begin(), written.end()), texts);
}

void TstSplitRules::byOptionalPercentage_data()
{
    QTest::addColumn<double>("dose");
    QTest::addColumn<std::optional<double>>("percent");
    QTest::addColumn<std::optional<double>>("share");
    QTest::newRow("a percentage gives its share") << 100.0 << std::optional(50.0) << std::optional(50.0);
    QTest::newRow("no percentage gives nothing, not 0") << 100.0 << std::optional<double>() << std::optional<double>();
    QTest::newRow("0 % gives 0") << 100.0 << std::optional(0.0) << std::optional(0.0);
}

void TstSplitRules::byOptionalPercentage()
{
    QFETCH(double, dose);
    QFETCH(std::optional<double>, percent);
    QFETCH(std::optional<double>, share);
    QCOMPARE(split::byOptionalPercentage(dose, percent), share);
}

QTEST_APPLESS_MAIN(TstSplitRules)
#include "tst_split_rules.moc"
