#include "agronomy/Doses.h"
#include "agronomy/Liming.h"
#include "agronomy/Recommendation.h"
#include "agronomy/SoilClasses.h"
#include "agronomy/Split.h"
#include "core/NumberText.h"
#include "core/Working.h"
#include "fertilizers/Closing.h"

#include <QtTest>

// What each rule says it used, at the bounds where its answer changes: the
// technician reads on which side of a limit a value fell, and why a value
// was held back.
class TstWorkingRules : public QObject {
    Q_OBJECT
private slots:
    void told_data();
    void told();
    void soilBands_data();
    void soilBands();
    void nutrientClass_data();
    void nutrientClass();
    void liming_data();
    void liming();
    void doses_data();
    void doses();
    void split_data();
    void split();
    void closing_data();
    void closing();
    void wholeCase();
};

namespace {
const NumberText comma(QLatin1Char(','));
const NumberText point(QLatin1Char('.'));
} // namespace

// The examples a technician reads whole, under both separators.
void TstWorkingRules::told_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("text");
    QTest::newRow("comma") << QChar(',')
                           << "Classe de P: Médio. Argila 35 % (> 20 % e ≤ 40 %) → classe 3, limites de P "
                              "3,0 / 6,0 / 9,0 / 18,0 mg/dm³; P = 6,5 mg/dm³ está acima de 6,0 e até 9,0.";
    QTest::newRow("point") << QChar('.')
                           << "Classe de P: Médio. Argila 35 % (> 20 % e ≤ 40 %) → classe 3, limites de P "
                              "3.0 / 6.0 / 9.0 / 18.0 mg/dm³; P = 6.5 mg/dm³ está acima de 6.0 e até 9.0.";
}

void TstWorkingRules::told()
{
    QFETCH(QChar, separator);
    QFETCH(QString, text);
    // A working made from a passing decimal mark keeps its own.
    Working w(NumberText(separator), 1);
    const soil::Limits limits = soil::phosphorusLimits(35, &w);
    const QString cls = soil::nutrientClass(soil::Nutrient::P, 6.5, limits, w);
    QCOMPARE(w.told(QStringLiteral("Classe de P"), cls).text(), text);
}

// Each clay and CTC band on both sides of its bounds.
void TstWorkingRules::soilBands_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("why");
    QTest::newRow("clay 60 is class 1") << "clay" << 60.0 << "Classe 1" << "Argila 60 % (≥ 60 %).";
    QTest::newRow("clay 59,9 is class 2") << "clay" << 59.9 << "Classe 2" << "Argila 59,9 % (> 40 % e < 60 %).";
    QTest::newRow("clay 40 is class 3") << "clay" << 40.0 << "Classe 3" << "Argila 40 % (> 20 % e ≤ 40 %).";
    QTest::newRow("clay 20,1 is class 3") << "clay" << 20.1 << "Classe 3" << "Argila 20,1 % (> 20 % e ≤ 40 %).";
    QTest::newRow("clay 20 is class 4") << "clay" << 20.0 << "Classe 4" << "Argila 20 % (≤ 20 %).";
    QTest::newRow("CTC 7,5 is low") << "ctc" << 7.5 << "Baixa" << "CTC 7,5 cmolc/dm³ (≤ 7,5).";
    QTest::newRow("CTC 7,51 is medium") << "ctc" << 7.51 << "Média" << "CTC 7,51 cmolc/dm³ (> 7,5 e ≤ 15).";
    QTest::newRow("CTC 30 is high") << "ctc" << 30.0 << "Alta" << "CTC 30 cmolc/dm³ (> 15 e ≤ 30).";
    QTest::newRow("CTC 30,01 is very high") << "ctc" << 30.01 << "Muito Alta" << "CTC 30,01 cmolc/dm³ (> 30).";
    QTest::newRow("factor at clay 20") << "factor" << 20.0 << "1,2" << "Argila 20 % ≤ 20 %.";
    QTest::newRow("factor at clay 20,1") << "factor" << 20.1 << "2,0" << "Argila 20,1 % > 20 %.";
    QTest::newRow("K limits at CTC 7,5")
        << "klimits" << 7.5 << "" << "CTC 7,5 cmolc/dm³ (≤ 7,5) → limites de K 20 / 40 / 60 / 120 mg/dm³.";
    QTest::newRow("K limits at CTC 30,01")
        << "klimits" << 30.01 << "" << "CTC 30,01 cmolc/dm³ (> 30) → limites de K 45 / 90 / 135 / 270 mg/dm³.";
    QTest::newRow("P limits at clay 60")
        << "plimits" << 60.0 << "" << "Argila 60 % (≥ 60 %) → classe 1, limites de P 1,5 / 3,0 / 4,5 / 9,0 mg/dm³.";
}

void TstWorkingRules::soilBands()
{
    QFETCH(QString, rule);
    QFETCH(double, value);
    QFETCH(QString, result);
    QFETCH(QString, why);
    Working w(comma, 1);
    QString got;
    if (rule == QLatin1String("clay")) {
        got = soil::clayClass(value, &w);
        QCOMPARE(got, soil::clayClass(value));
    } else if (rule == QLatin1String("ctc")) {
        got = soil::ctcClass(value, &w);
        QCOMPARE(got, soil::ctcClass(value));
    } else if (rule == QLatin1String("factor")) {
        got = *soil::aluminiumFactorText(value, QLatin1Char(','), &w);
    } else if (rule == QLatin1String("klimits")) {
        QCOMPARE(soil::potassiumLimits(value, &w), soil::potassiumLimits(value));
    } else {
        QCOMPARE(soil::phosphorusLimits(value, &w), soil::phosphorusLimits(value));
    }
    QCOMPARE(got, result);
    QCOMPARE(w.why(), why);
}

// Each class limit from both sides: a value on a limit belongs to the class below.
void TstWorkingRules::nutrientClass_data()
{
    QTest::addColumn<int>("nutrient");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("why");
    const int p = int(soil::Nutrient::P), k = int(soil::Nutrient::K);
    // Clay 30 (limits 3 / 6 / 9 / 18) and CTC 10 (limits 30 / 60 / 90 / 180).
    QTest::newRow("P on the first limit") << p << 3.0 << "Muito baixo" << "P = 3 mg/dm³ está até 3,0";
    QTest::newRow("P just above it") << p << 3.01 << "Baixo" << "P = 3,01 mg/dm³ está acima de 3,0 e até 6,0";
    QTest::newRow("P on the second limit") << p << 6.0 << "Baixo" << "P = 6 mg/dm³ está acima de 3,0 e até 6,0";
    QTest::newRow("P just above it") << p << 6.01 << "Médio" << "P = 6,01 mg/dm³ está acima de 6,0 e até 9,0";
    QTest::newRow("P on the third limit") << p << 9.0 << "Médio" << "P = 9 mg/dm³ está acima de 6,0 e até 9,0";
    QTest::newRow("P just above it") << p << 9.01 << "Alto" << "P = 9,01 mg/dm³ está acima de 9,0 e até 18,0";
    QTest::newRow("P on the fourth limit") << p << 18.0 << "Alto" << "P = 18 mg/dm³ está acima de 9,0 e até 18,0";
    QTest::newRow("P just above it") << p << 18.01 << "Muito alto" << "P = 18,01 mg/dm³ está acima de 18,0";
    QTest::newRow("K on the first limit") << k << 30.0 << "Muito baixo" << "K = 30 mg/dm³ está até 30";
    QTest::newRow("K above the last") << k << 180.5 << "Muito alto" << "K = 180,5 mg/dm³ está acima de 180";
}

void TstWorkingRules::nutrientClass()
{
    QFETCH(int, nutrient);
    QFETCH(double, value);
    QFETCH(QString, cls);
    QFETCH(QString, why);
    const soil::Nutrient which = soil::Nutrient(nutrient);
    const soil::Limits limits = which == soil::Nutrient::P ? soil::phosphorusLimits(30) : soil::potassiumLimits(10);
    Working w(comma, 1);
    QCOMPARE(soil::nutrientClass(which, value, limits, w), cls);
    QCOMPARE(soil::nutrientClass(value, limits), cls);
    QCOMPARE(w.parts(), QStringList{why});
}

// Each criterion, the choice at its bounds, the cap and the negative need.
void TstWorkingRules::liming_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QList<double>>("in");
    QTest::addColumn<QString>("why");
    QTest::newRow("base saturation raised")
        << "v" << QList<double>{12, 40, 30} << "NC = CTC × (V1 − V2) / 100 = 12 × (40 − 30) / 100 = 1,200 t/ha.";
    QTest::newRow("base saturation already reached")
        << "v" << QList<double>{12, 40, 40} << "V2 40 % já alcança V1 40 %: nenhum calcário por este critério.";
    QTest::newRow("low buffering negative")
        << "mo" << QList<double>{0, 0}
        << "NC = 0,48 × MO − 0,653 + 1,937 × Al = 0,48 × 0 − 0,653 + 1,937 × 0 = -0,653 t/ha; negativa: com pouca "
           "matéria orgânica e pouco alumínio o solo não pede calcário por este critério.";
    QTest::newRow("aluminium, Ca+Mg exactly 2")
        << "al" << QList<double>{0.5, 2, 2}
        << "Ca+Mg 2 ≤ 2: NC = Al × f + (2 − Ca+Mg) = 0,5 × 2 + (2 − 2) = 1,000 t/ha.";
    QTest::newRow("aluminium, Ca+Mg 2,5")
        << "al" << QList<double>{0.5, 2, 2.5} << "Ca+Mg 2,5 > 2, nada a completar: NC = Al × f = 0,5 × 2 = 1,000 t/ha.";
    QTest::newRow("well buffered on every bound")
        << "choose" << QList<double>{15, 10, 2, 1.2, 0.5}
        << "Solo bem tamponado (argila 15 % ≥ 15 %, CTC 10 ≥ 10 e MO 2 % ≥ 2 %): critério da saturação de bases; "
           "NC = 1,200 t/ha, até 2 t/ha: sem limitação.";
    QTest::newRow("clay just below")
        << "choose" << QList<double>{14.9, 10, 2, 1.2, 0.5}
        << "Baixo poder tampão (argila 14,9 % < 15 %; a saturação de bases pede argila ≥ 15 %, CTC ≥ 10 e MO ≥ 2 %): "
           "critério do baixo poder tampão; NC = 0,500 t/ha, até 2 t/ha: sem limitação.";
    QTest::newRow("CTC and MO below")
        << "choose" << QList<double>{30, 9.9, 1.9, 1.2, 0.5}
        << "Baixo poder tampão (CTC 9,9 < 10, MO 1,9 % < 2 %; a saturação de bases pede argila ≥ 15 %, CTC ≥ 10 e "
           "MO ≥ 2 %): critério do baixo poder tampão; NC = 0,500 t/ha, até 2 t/ha: sem limitação.";
    QTest::newRow("exactly 2 is not capped")
        << "need" << QList<double>{30, 12, 3, 2, 0} << "NC = 2,000 t/ha, até 2 t/ha: sem limitação.";
    QTest::newRow("2,001 is capped")
        << "need" << QList<double>{30, 12, 3, 2.001, 0}
        << "NC 2,001 t/ha passa de 2 t/ha: limitada a 2,00, pois mais calcário de uma vez não é recomendado.";
    QTest::newRow("a negative need is held at zero")
        << "need" << QList<double>{10, 5, 1, 0, -0.653}
        << "NC -0,653 t/ha é negativa: mantida em 0,00, pois o solo não precisa de calcário.";
    QTest::newRow("commercial limestone")
        << "prnt" << QList<double>{2, 80} << "Necessidade (PRNT 100 %) × 100 / PRNT = 2 × 100 / 80 = 2,500 t/ha.";
}

void TstWorkingRules::liming()
{
    QFETCH(QString, rule);
    QFETCH(QList<double>, in);
    QFETCH(QString, why);
    if (rule == QLatin1String("v")) {
        Working w(comma, 3);
        QCOMPARE(liming::baseSaturation(in[0], in[1], in[2], &w), liming::baseSaturation(in[0], in[1], in[2]));
        QCOMPARE(w.why(), why);
    } else if (rule == QLatin1String("mo")) {
        Working w(comma, 3);
        QCOMPARE(liming::lowBuffering(in[0], in[1], &w), liming::lowBuffering(in[0], in[1]));
        QCOMPARE(w.why(), why);
    } else if (rule == QLatin1String("al")) {
        Working w(comma, 3);
        QCOMPARE(liming::aluminium(in[0], in[1], in[2], &w), liming::aluminium(in[0], in[1], in[2]));
        QCOMPARE(w.why(), why);
    } else if (rule == QLatin1String("prnt")) {
        Working w(comma, 3);
        QCOMPARE(liming::commercialQuantity(in[0], in[1], &w), liming::commercialQuantity(in[0], in[1]));
        QCOMPARE(w.why(), why);
    } else {
        Working w(comma, 2);
        const liming::Recommendation told = liming::recommend(in[0], in[1], in[2], in[3], in[4], &w);
        const liming::Recommendation plain = liming::recommend(in[0], in[1], in[2], in[3], in[4]);
        QCOMPARE(told.value, plain.value);
        QCOMPARE(told.capped, plain.capped);
        QCOMPARE(told.criterion, plain.criterion);
        // "need" rows leave out the choice, which the "choose" rows read.
        QCOMPARE(rule == QLatin1String("need") ? w.parts().constLast() + QLatin1Char('.') : w.why(), why);
    }
}

void TstWorkingRules::doses_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QList<double>>("in");
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("why");
    QTest::newRow("N at MO 2,5 and the reference yield")
        << "n" << QList<double>{2.5, 25} << ""
        << "Produtividade esperada 25 t/ha, até 25 t/ha: sem excedente; MO 2,5 % (≤ 2,5 %): N = 70 + 1,5 × 0 = "
           "70,00 kg/ha (teto da faixa 100 kg/ha).";
    QTest::newRow("N above the band's cap")
        << "n" << QList<double>{3, 40} << ""
        << "Produtividade esperada 40 t/ha: excedente sobre 25 t/ha = 15 t/ha; MO 3 % (> 2,5 % e < 5 %): N = 50 + "
           "1,5 × 15 = 72,50 kg/ha, acima do teto da faixa: limitada a 70,00 kg/ha.";
    QTest::newRow("N at MO 5")
        << "n" << QList<double>{5, 25} << ""
        << "Produtividade esperada 25 t/ha, até 25 t/ha: sem excedente; MO 5 % (≥ 5 %): N = 25 + 1,5 × 0 = 25,00 "
           "kg/ha (teto da faixa 50 kg/ha).";
    QTest::newRow("K2O of a class, no cap")
        << "k" << QList<double>{15} << "Médio" << "Classe de K Médio: K2O = 50 + 2,5 × 15 = 87,5 kg/ha, sem teto.";
    QTest::newRow("K2O of a class typed over")
        << "k" << QList<double>{0} << "médio" << "A classe de K \"médio\" não é uma das cinco classes: dose 0,0.";
    QTest::newRow("P2O5 of a class")
        << "p" << QList<double>{} << "Baixo" << "Classe de P Baixo: P2O5 = 65,0 kg/ha, qualquer que seja a produtividade.";
    QTest::newRow("P 54 is not very high at limit 18")
        << "high" << QList<double>{54, 18} << "" << "P 54 mg/dm³ ≤ 3 × 18,0 (o limite do Alto) = 54,0: sem aviso.";
    QTest::newRow("P 54,1 is")
        << "high" << QList<double>{54.1, 18} << ""
        << "P 54,1 mg/dm³ > 3 × 18,0 (o limite do Alto) = 54,0: a adubação fosfatada pode ser suprimida.";
}

void TstWorkingRules::doses()
{
    QFETCH(QString, rule);
    QFETCH(QList<double>, in);
    QFETCH(QString, cls);
    QFETCH(QString, why);
    Working w(comma, rule == QLatin1String("n") ? 2 : 1);
    if (rule == QLatin1String("n"))
        QCOMPARE(doses::nitrogen(in[0], in[1], &w), doses::nitrogen(in[0], in[1]));
    else if (rule == QLatin1String("k"))
        QCOMPARE(doses::potash(cls, in[0], &w), doses::potash(cls, in[0]));
    else if (rule == QLatin1String("p"))
        QCOMPARE(doses::phosphate(cls, &w), doses::phosphate(cls));
    else
        QCOMPARE(doses::phosphorusVeryHigh(in[0], in[1], &w), doses::phosphorusVeryHigh(in[0], in[1]));
    QCOMPARE(w.why(), why);
}

void TstWorkingRules::split_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<double>("dose");
    QTest::addColumn<double>("percent"); // negative: none typed
    QTest::addColumn<QString>("why");
    QTest::newRow("N by its share") << "n" << 120.0 << 15.0 << "Dose 120 kg/ha × 15 % = 18,00 kg/ha.";
    QTest::newRow("K2O by a typed share") << "k%" << 100.0 << 50.0 << "Dose 100 kg/ha × 50 % = 50,00 kg/ha.";
    QTest::newRow("K2O without a share")
        << "k%" << 100.0 << -1.0 << "Sem percentual: nada nesta aplicação, e as outras não são aumentadas.";
    QTest::newRow("K2O 40 all at planting")
        << "k" << 40.0 << 0.0 << "K2O 40 kg/ha ≤ 40 kg/ha: toda a dose no plantio, nada nas coberturas.";
    QTest::newRow("K2O 40,004 splits")
        << "k" << 40.004 << 0.0
        << "K2O 40,004 kg/ha > 40 kg/ha: 40 no plantio, pois as raízes novas absorvem pouco potássio, e o restante, "
           "40,004 − 40 = 0,00 kg/ha, na 1ª cobertura.";
}

void TstWorkingRules::split()
{
    QFETCH(QString, rule);
    QFETCH(double, dose);
    QFETCH(double, percent);
    QFETCH(QString, why);
    Working w(comma, 2);
    if (rule == QLatin1String("n")) {
        QCOMPARE(split::byPercentage(dose, percent, &w), split::byPercentage(dose, percent));
    } else if (rule == QLatin1String("k%")) {
        const std::optional<double> share = percent < 0 ? std::nullopt : std::optional<double>(percent);
        QCOMPARE(split::byOptionalPercentage(dose, share, &w), split::byOptionalPercentage(dose, share));
    } else {
        const split::Potash told = split::potash(dose, &w), plain = split::potash(dose);
        QCOMPARE(told.planting, plain.planting);
        QCOMPARE(told.firstTopDressing, plain.firstTopDressing);
    }
    QCOMPARE(w.why(), why);
}

// The proposals: the limits, the one chosen, and what is held at zero.
void TstWorkingRules::closing_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QList<double>>("in");
    QTest::addColumn<QString>("why");
    QTest::newRow("urea closes N")
        << "smallest" << QList<double>{18, 0, 0, 45, 0, 0}
        << "Produto que fecha o que falta, faltante × 100 / teor: N: 18 × 100 / 45 % = 40,0 kg, P2O5: o produto não "
           "tem, sem limite, K2O: o produto não tem, sem limite; o menor dos três limites, para que nenhum nutriente "
           "passe do que falta.";
    QTest::newRow("a surplus is held at zero")
        << "smallest" << QList<double>{0, 0, -10, 0, 0, 58}
        << "Produto que fecha o que falta, faltante × 100 / teor: N: o produto não tem, sem limite, P2O5: o produto "
           "não tem, sem limite, K2O: −10 × 100 / 58 % = −17,2 kg; o menor dos três limites, para que nenhum "
           "nutriente passe do que falta; limite −17,2 kg negativo, o nutriente já sobra e mais produto só "
           "aumentaria o excesso: proposta mantida em 0,0.";
    QTest::newRow("nothing to close by")
        << "smallest" << QList<double>{0, 0, 0, 0, 0, 0}
        << "Produto que fecha o que falta, faltante × 100 / teor: N: o produto não tem, sem limite, P2O5: o produto "
           "não tem, sem limite, K2O: o produto não tem, sem limite; o menor dos três limites, para que nenhum "
           "nutriente passe do que falta; o produto não tem o nutriente que decide: nenhuma quantidade proposta (0,0).";
    QTest::newRow("K2O replaces the N proposal")
        << "top" << QList<double>{60, 20, 40, 20}
        << "N: faltam 60 kg e o produto tem 20 %: 100 × 60 / 20 = 300,0 kg; K2O: faltam 40 kg e o produto tem 20 %: "
           "100 × 40 / 20 = 200,0 kg.";
    QTest::newRow("no K2O missing, N decides")
        << "top" << QList<double>{60, 45, 0, 0} << "N: faltam 60 kg e o produto tem 45 %: 100 × 60 / 45 = 133,3 kg; "
                                                    "K2O: nada falta, não decide.";
    QTest::newRow("the product lacks what is missing")
        << "top" << QList<double>{0, 0, 30, 0} << "N: nada falta, não decide; K2O: o produto não tem, não decide.";
}

void TstWorkingRules::closing()
{
    QFETCH(QString, rule);
    QFETCH(QList<double>, in);
    QFETCH(QString, why);
    QString expected = why;
    expected.replace(QChar(0x2212), QLatin1Char('-')); // numbers keep the fields' minus
    Working w(comma, 1);
    if (rule == QLatin1String("smallest")) {
        const fertilizers::ClosingLimits limits = fertilizers::closingLimits(in[0], in[1], in[2], in[3], in[4], in[5], &w);
        const double chosen = fertilizers::chosenLimit(limits, fertilizers::ClosingCriterion::Smallest, &w);
        QCOMPARE(fertilizers::proposedQuantity(chosen, &w), fertilizers::proposedQuantity(chosen));
    } else {
        std::optional<fertilizers::TopDressingProposal> told;
        fertilizers::followTopDressingRule(
            [&](fertilizers::Nutrient n) { return n == fertilizers::Nutrient::N ? in[0] : in[2]; },
            [&](fertilizers::Nutrient n) { return n == fertilizers::Nutrient::N ? in[1] : in[3]; },
            [&](const fertilizers::TopDressingProposal &made) { told = made; }, &w);
        const auto plain = fertilizers::topDressingProposal(in[0], in[1], in[2], in[3]);
        QCOMPARE(told.has_value(), plain.has_value());
        if (plain)
            QCOMPARE(told->quantity, plain->quantity);
    }
    QCOMPARE(w.why(), expected);
}

// The pipeline tells every result it computes, in order, and computes the
// same with or without the telling.
void TstWorkingRules::wholeCase()
{
    agronomy::Analysis a;
    a.argila = 35;
    a.p = 6.5;
    a.k = 45;
    a.mo = 1.5;
    a.al = 0.4;
    a.ca = 1;
    a.mg = 0.5;
    a.ctc = 8;
    a.v = 30;
    a.yield = 30;
    a.prnt = 80;
    CaseWorking working;
    const agronomy::Recommendation told = agronomy::recommend(a, comma, &working);
    const agronomy::Recommendation plain = agronomy::recommend(a, comma);
    QCOMPARE(told.need, plain.need);
    QCOMPARE(told.n, plain.n);
    QCOMPARE(told.k2o, plain.k2o);
    QCOMPARE(told.nSplit, plain.nSplit);

    QStringList what;
    for (const WorkingStep &step : std::as_const(working)) {
        what << step.told.what;
        QVERIFY2(!step.told.why.isEmpty(), qPrintable(step.told.what));
        static const QRegularExpression notANumber(QStringLiteral("\\b(nan|inf)\\b"),
                                                   QRegularExpression::CaseInsensitiveOption);
        QVERIFY2(!step.told.text().contains(notANumber), qPrintable(step.told.text()));
    }
    QCOMPARE(what.first(), QStringLiteral("Classe de argila"));
    QCOMPARE(what.last(), QStringLiteral("K2O na 3ª cobertura"));
    const auto need = std::find_if(working.cbegin(), working.cend(),
                                   [](const WorkingStep &s) { return s.told.what == QLatin1String("Necessidade de calagem"); });
    QVERIFY(need != working.cend());
    QCOMPARE(need->told.text(),
             QStringLiteral("Necessidade de calagem: 0,84 t/ha. Baixo poder tampão (CTC 8 < 10, MO 1,5 % < 2 %; a "
                            "saturação de bases pede argila ≥ 15 %, CTC ≥ 10 e MO ≥ 2 %): critério do baixo poder "
                            "tampão; NC = 0,842 t/ha, até 2 t/ha: sem limitação."));
}

QTEST_GUILESS_MAIN(TstWorkingRules)
#include "tst_working_rules.moc"
