#include "core/Failure.h"
#include "agronomy/Liming.h"

#include <QtTest>

// The liming criteria, the choice between them by the soil's buffering power,
// the 2 t/ha cap and the PRNT correction.
class TstLimingRules : public QObject {
    Q_OBJECT
private slots:
    void baseSaturation_data();
    void baseSaturation();
    void lowBuffering_data();
    void lowBuffering();
    void aluminium_data();
    void aluminium();
    void recommendation_data();
    void recommendation();
    void commercialQuantity_data();
    void commercialQuantity();
    void noCommercialPrnt();
};

void TstLimingRules::baseSaturation_data()
{
    QTest::addColumn<double>("ctc");
    QTest::addColumn<double>("v1");
    QTest::addColumn<double>("v2");
    QTest::addColumn<double>("nc");
    QTest::newRow("raise 30 to 40 % on CTC 12") << 12.0 << 40.0 << 30.0 << 1.2;
    QTest::newRow("raise 20 to 60 % on CTC 8,5") << 8.5 << 60.0 << 20.0 << 3.4;
    QTest::newRow("already at the target") << 12.0 << 40.0 << 40.0 << 0.0;
    QTest::newRow("above the target") << 12.0 << 40.0 << 55.0 << 0.0;
}

void TstLimingRules::baseSaturation()
{
    QFETCH(double, ctc);
    QFETCH(double, v1);
    QFETCH(double, v2);
    QFETCH(double, nc);
    QCOMPARE(liming::baseSaturation(ctc, v1, v2), nc);
}

void TstLimingRules::lowBuffering_data()
{
    QTest::addColumn<double>("mo");
    QTest::addColumn<double>("al");
    QTest::addColumn<double>("nc");
    QTest::newRow("no organic matter, no aluminium is negative") << 0.0 << 0.0 << -0.653;
    QTest::newRow("organic matter only") << 2.5 << 0.0 << 0.547;
    QTest::newRow("organic matter and aluminium") << 1.5 << 0.4 << 0.8418;
}

void TstLimingRules::lowBuffering()
{
    QFETCH(double, mo);
    QFETCH(double, al);
    QFETCH(double, nc);
    QVERIFY2(qAbs(liming::lowBuffering(mo, al) - nc) < 1e-12, qPrintable(QString::number(liming::lowBuffering(mo, al))));
}

void TstLimingRules::aluminium_data()
{
    QTest::addColumn<double>("al");
    QTest::addColumn<double>("f");
    QTest::addColumn<double>("caMg");
    QTest::addColumn<double>("nc");
    QTest::newRow("Ca+Mg exactly 2 adds nothing") << 0.5 << 2.0 << 2.0 << 1.0;
    QTest::newRow("Ca+Mg 1,5 adds the missing 0,5") << 0.5 << 2.0 << 1.5 << 1.5;
    QTest::newRow("Ca+Mg 2,5 adds nothing") << 0.5 << 2.0 << 2.5 << 1.0;
    QTest::newRow("sandy factor, no aluminium, Ca+Mg 0") << 0.0 << 1.2 << 0.0 << 2.0;
}

void TstLimingRules::aluminium()
{
    QFETCH(double, al);
    QFETCH(double, f);
    QFETCH(double, caMg);
    QFETCH(double, nc);
    QCOMPARE(liming::aluminium(al, f, caMg), nc);
}

void TstLimingRules::recommendation_data()
{
    using C = liming::Criterion;
    QTest::addColumn<double>("argila");
    QTest::addColumn<double>("ctc");
    QTest::addColumn<double>("mo");
    QTest::addColumn<double>("nc1");
    QTest::addColumn<double>("nc2");
    QTest::addColumn<C>("criterion");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("capped");
    // Bounds are inclusive on the side of the base saturation criterion.
    QTest::newRow("all three at their bounds") << 15.0 << 10.0 << 2.0 << 1.1 << 0.3 << C::BaseSaturation << 1.1 << false;
    QTest::newRow("clay 14,9") << 14.9 << 12.0 << 3.0 << 1.1 << 0.3 << C::LowBuffering << 0.3 << false;
    QTest::newRow("CTC 9,99") << 30.0 << 9.99 << 3.0 << 1.1 << 0.3 << C::LowBuffering << 0.3 << false;
    QTest::newRow("MO 1,99") << 30.0 << 12.0 << 1.99 << 1.1 << 0.3 << C::LowBuffering << 0.3 << false;
    QTest::newRow("exactly 2 is not capped") << 30.0 << 12.0 << 3.0 << 2.0 << 0.3 << C::BaseSaturation << 2.0 << false;
    QTest::newRow("2,001 is capped") << 30.0 << 12.0 << 3.0 << 2.001 << 0.3 << C::BaseSaturation << 2.0 << true;
    QTest::newRow("cap after the low buffering choice") << 10.0 << 5.0 << 1.0 << 0.0 << 3.5 << C::LowBuffering << 2.0
                                                       << true;
    QTest::newRow("negative need means no lime") << 10.0 << 5.0 << 0.0 << 0.0 << -0.653 << C::LowBuffering << 0.0
                                                 << false;
    QTest::newRow("the other criterion's value does not leak") << 30.0 << 12.0 << 3.0 << 0.0 << 5.0
                                                               << C::BaseSaturation << 0.0 << false;
}

void TstLimingRules::recommendation()
{
    QFETCH(double, argila);
    QFETCH(double, ctc);
    QFETCH(double, mo);
    QFETCH(double, nc1);
    QFETCH(double, nc2);
    QFETCH(liming::Criterion, criterion);
    QFETCH(double, value);
    QFETCH(bool, capped);
    const liming::Recommendation r = liming::recommend(argila, ctc, mo, nc1, nc2);
    QCOMPARE(r.criterion, criterion);
    QCOMPARE(r.value, value);
    QCOMPARE(r.capped, capped);
}

void TstLimingRules::commercialQuantity_data()
{
    QTest::addColumn<double>("need");
    QTest::addColumn<double>("prnt");
    QTest::addColumn<double>("quantity");
    QTest::newRow("PRNT 80") << 2.0 << 80.0 << 2.5;
    QTest::newRow("PRNT 100 keeps the need") << 1.23 << 100.0 << 1.23;
    QTest::newRow("PRNT above 100 needs less") << 1.5 << 125.0 << 1.2;
}

void TstLimingRules::commercialQuantity()
{
    QFETCH(double, need);
    QFETCH(double, prnt);
    QFETCH(double, quantity);
    QCOMPARE(liming::commercialQuantity(need, prnt), quantity);
}

void TstLimingRules::noCommercialPrnt()
{
    try {
        liming::commercialQuantity(2.0, 0.0);
        QFAIL("a PRNT of 0 must fail");
    } catch (const Failure &failure) {
        QCOMPARE(failure.message(), QStringLiteral("Floating point division by zero"));
    }
}

QTEST_APPLESS_MAIN(TstLimingRules)
#include "tst_liming_rules.moc"
