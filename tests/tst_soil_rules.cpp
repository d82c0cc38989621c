#include "agronomy/Doses.h"
#include "agronomy/SoilClasses.h"

#include <QtTest>

Q_DECLARE_METATYPE(soil::Limits)

// Soil interpretation and NPK doses without a window: the clay and CTC bands at
// their edges, the class rule, and the dose tables with their caps.
class TstSoilRules : public QObject {
    Q_OBJECT
private slots:
    void clayBands_data();
    void clayBands();
    void ctcBands_data();
    void ctcBands();
    void nutrientClass_data();
    void nutrientClass();
    void nitrogen_data();
    void nitrogen();
    void potash_data();
    void potash();
    void phosphate_data();
    void phosphate();
    void veryHighPhosphorus_data();
    void veryHighPhosphorus();
};

namespace {
QList<double> asList(const soil::Limits &l) { return {l.l1, l.l2, l.l3, l.l4}; }
} // namespace

void TstSoilRules::clayBands_data()
{
    QTest::addColumn<double>("argila");
    QTest::addColumn<QString>("clayClass");
    QTest::addColumn<QList<double>>("pLimits");
    QTest::addColumn<QString>("factorComma");
    QTest::addColumn<QString>("factorPoint");
    const QList<double> c1{1.5, 3.0, 4.5, 9.0}, c2{2.0, 4.0, 6.0, 12.0}, c3{3.0, 6.0, 9.0, 18.0},
        c4{5.0, 10.0, 15.0, 30.0};
    QTest::newRow("60 is the clayiest band") << 60.0 << "Classe 1" << c1 << "2,0" << "2.0";
    QTest::newRow("59,9") << 59.9 << "Classe 2" << c2 << "2,0" << "2.0";
    QTest::newRow("40,01") << 40.01 << "Classe 2" << c2 << "2,0" << "2.0";
    QTest::newRow("40") << 40.0 << "Classe 3" << c3 << "2,0" << "2.0";
    QTest::newRow("20,1") << 20.1 << "Classe 3" << c3 << "2,0" << "2.0";
    QTest::newRow("20 is sandy") << 20.0 << "Classe 4" << c4 << "1,2" << "1.2";
    QTest::newRow("negative clay") << -5.0 << "Classe 4" << c4 << "1,2" << "1.2";
}

void TstSoilRules::clayBands()
{
    QFETCH(double, argila);
    QFETCH(QString, clayClass);
    QFETCH(QList<double>, pLimits);
    QFETCH(QString, factorComma);
    QFETCH(QString, factorPoint);
    QCOMPARE(soil::clayClass(argila), clayClass);
    QCOMPARE(asList(soil::phosphorusLimits(argila)), pLimits);
    QCOMPARE(soil::aluminiumFactorText(argila, QLatin1Char(',')), std::optional<QString>(factorComma));
    QCOMPARE(soil::aluminiumFactorText(argila, QLatin1Char('.')), std::optional<QString>(factorPoint));
    QCOMPARE(soil::aluminiumFactorText(argila, QChar(0x066B)), std::nullopt);
}

void TstSoilRules::ctcBands_data()
{
    QTest::addColumn<double>("ctc");
    QTest::addColumn<QString>("ctcClass");
    QTest::addColumn<QList<double>>("kLimits");
    const QList<double> baixa{20, 40, 60, 120}, media{30, 60, 90, 180}, alta{40, 80, 120, 240},
        muitoAlta{45, 90, 135, 270};
    QTest::newRow("0") << 0.0 << "Baixa" << baixa;
    QTest::newRow("7,5") << 7.5 << "Baixa" << baixa;
    QTest::newRow("7,51") << 7.51 << "Média" << media;
    QTest::newRow("15") << 15.0 << "Média" << media;
    QTest::newRow("15,01") << 15.01 << "Alta" << alta;
    QTest::newRow("30") << 30.0 << "Alta" << alta;
    QTest::newRow("30,01") << 30.01 << "Muito Alta" << muitoAlta;
}

void TstSoilRules::ctcBands()
{
    QFETCH(double, ctc);
    QFETCH(QString, ctcClass);
    QFETCH(QList<double>, kLimits);
    QCOMPARE(soil::ctcClass(ctc), ctcClass);
    QCOMPARE(asList(soil::potassiumLimits(ctc)), kLimits);
}

void TstSoilRules::nutrientClass_data()
{
    // Judged against the limits the soil's own band chooses, as the window does.
    QTest::addColumn<double>("value");
    QTest::addColumn<soil::Limits>("limits");
    QTest::addColumn<QString>("klass");
    const soil::Limits p30 = soil::phosphorusLimits(30); // 3 / 6 / 9 / 18
    const soil::Limits k75 = soil::potassiumLimits(7.5);  // 20 / 40 / 60 / 120
    const soil::Limits k751 = soil::potassiumLimits(7.51); // 30 / 60 / 90 / 180
    const soil::Limits k10 = soil::potassiumLimits(10);
    QTest::newRow("P 0 on clay 30") << 0.0 << p30 << "Muito baixo";
    QTest::newRow("P 3 on clay 30") << 3.0 << p30 << "Muito baixo";
    QTest::newRow("P 3,01 on clay 30") << 3.01 << p30 << "Baixo";
    QTest::newRow("P 6 on clay 30") << 6.0 << p30 << "Baixo";
    QTest::newRow("P 6,01 on clay 30") << 6.01 << p30 << "Médio";
    QTest::newRow("P 9 on clay 30") << 9.0 << p30 << "Médio";
    QTest::newRow("P 9,01 on clay 30") << 9.01 << p30 << "Alto";
    QTest::newRow("P 18 on clay 30") << 18.0 << p30 << "Alto";
    QTest::newRow("P 18,01 on clay 30") << 18.01 << p30 << "Muito alto";
    QTest::newRow("P negative") << -1.0 << p30 << "Muito baixo";
    QTest::newRow("K 40 on CTC 7,5") << 40.0 << k75 << "Baixo";
    QTest::newRow("K 40 on CTC 7,51") << 40.0 << k751 << "Baixo";
    QTest::newRow("K 30 on CTC 10") << 30.0 << k10 << "Muito baixo";
    QTest::newRow("K 120 on CTC 7,5") << 120.0 << k75 << "Alto";
    QTest::newRow("K 120,5 on CTC 7,5") << 120.5 << k75 << "Muito alto";
}

void TstSoilRules::nutrientClass()
{
    QFETCH(double, value);
    QFETCH(soil::Limits, limits);
    QFETCH(QString, klass);
    QCOMPARE(soil::nutrientClass(value, limits), klass);
}

void TstSoilRules::nitrogen_data()
{
    QTest::addColumn<double>("mo");
    QTest::addColumn<double>("yield");
    QTest::addColumn<double>("dose");
    QTest::newRow("MO 2,5 at 25 t/ha") << 2.5 << 25.0 << 70.0;
    QTest::newRow("MO 2,6") << 2.6 << 25.0 << 50.0;
    QTest::newRow("MO 4,99") << 4.99 << 25.0 << 50.0;
    QTest::newRow("MO 5") << 5.0 << 25.0 << 25.0;
    QTest::newRow("20 t/ha as 25") << 2.0 << 20.0 << 70.0;
    QTest::newRow("MO 2 at 40 t/ha") << 2.0 << 40.0 << 92.5;
    QTest::newRow("MO 3 at 40 t/ha capped at 70") << 3.0 << 40.0 << 70.0;
    QTest::newRow("MO 6 at 40 t/ha") << 6.0 << 40.0 << 47.5;
    QTest::newRow("MO 2 at 60 t/ha capped at 100") << 2.0 << 60.0 << 100.0;
    QTest::newRow("MO 6 at 60 t/ha capped at 50") << 6.0 << 60.0 << 50.0;
    QTest::newRow("MO 2,5 at 45 t/ha reaches the cap") << 2.5 << 45.0 << 100.0;
}

void TstSoilRules::nitrogen()
{
    QFETCH(double, mo);
    QFETCH(double, yield);
    QFETCH(double, dose);
    QCOMPARE(doses::nitrogen(mo, yield), dose);
}

void TstSoilRules::potash_data()
{
    QTest::addColumn<QString>("klass");
    QTest::addColumn<double>("yield");
    QTest::addColumn<double>("dose");
    QTest::newRow("Muito baixo") << "Muito baixo" << 25.0 << 110.0;
    QTest::newRow("Baixo") << "Baixo" << 25.0 << 70.0;
    QTest::newRow("Médio") << "Médio" << 25.0 << 50.0;
    QTest::newRow("Alto") << "Alto" << 25.0 << 30.0;
    QTest::newRow("Muito alto") << "Muito alto" << 25.0 << 10.0;
    QTest::newRow("Médio at 40 t/ha") << "Médio" << 40.0 << 87.5;
    QTest::newRow("Muito baixo at 65 t/ha, no cap") << "Muito baixo" << 65.0 << 210.0;
    QTest::newRow("Alto at 20 t/ha as 25") << "Alto" << 20.0 << 30.0;
    QTest::newRow("not yet classed") << "" << 40.0 << 0.0;
    QTest::newRow("lower case") << "muito baixo" << 25.0 << 0.0;
    QTest::newRow("without accent") << "Medio" << 25.0 << 0.0;
    QTest::newRow("trailing blank") << "Baixo " << 25.0 << 0.0;
}

void TstSoilRules::potash()
{
    QFETCH(QString, klass);
    QFETCH(double, yield);
    QFETCH(double, dose);
    QCOMPARE(doses::potash(klass, doses::yieldExcess(yield)), dose);
}

void TstSoilRules::phosphate_data()
{
    QTest::addColumn<QString>("klass");
    QTest::addColumn<double>("dose");
    QTest::newRow("Muito baixo") << "Muito baixo" << 105.0;
    QTest::newRow("Baixo") << "Baixo" << 65.0;
    QTest::newRow("Médio") << "Médio" << 45.0;
    QTest::newRow("Alto") << "Alto" << 25.0;
    QTest::newRow("Muito alto") << "Muito alto" << 15.0;
    QTest::newRow("not yet classed") << "" << 0.0;
    QTest::newRow("typed over") << "alto" << 0.0;
}

void TstSoilRules::phosphate()
{
    QFETCH(QString, klass);
    QFETCH(double, dose);
    QCOMPARE(doses::phosphate(klass), dose);
}

void TstSoilRules::veryHighPhosphorus_data()
{
    // Three times the upper limit of "Alto" of the soil's clay band.
    QTest::addColumn<double>("argila");
    QTest::addColumn<double>("p");
    QTest::addColumn<bool>("warned");
    QTest::newRow("Classe 1, P 27") << 70.0 << 27.0 << false;
    QTest::newRow("Classe 1, P 27,1") << 70.0 << 27.1 << true;
    QTest::newRow("Classe 2, P 36") << 50.0 << 36.0 << false;
    QTest::newRow("Classe 2, P 36,1") << 50.0 << 36.1 << true;
    QTest::newRow("Classe 3, P 54") << 30.0 << 54.0 << false;
    QTest::newRow("Classe 3, P 54,1") << 30.0 << 54.1 << true;
    QTest::newRow("Classe 4, P 90") << 10.0 << 90.0 << false;
    QTest::newRow("Classe 4, P 90,1") << 10.0 << 90.1 << true;
}

void TstSoilRules::veryHighPhosphorus()
{
    QFETCH(double, argila);
    QFETCH(double, p);
    QFETCH(bool, warned);
    QCOMPARE(doses::phosphorusVeryHigh(p, soil::phosphorusLimits(argila).l4), warned);
}

QTEST_APPLESS_MAIN(TstSoilRules)
#include "tst_soil_rules.moc"
