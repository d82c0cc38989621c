#include "fertilizers/Closing.h"

#include <QtTest>

// How much of a product an application gets: the organic planting proposal by
// its closing criterion, and the top-dressing proposal decided by potash or
// nitrogen.
using fertilizers::ClosingCriterion;
using fertilizers::Nutrient;
Q_DECLARE_METATYPE(ClosingCriterion)
Q_DECLARE_METATYPE(Nutrient)

class TstClosingRules : public QObject {
    Q_OBJECT
private slots:
    void chosenLimit_data();
    void chosenLimit();
    void topDressing_data();
    void topDressing();
    void topDressingStepByStep_data();
    void topDressingStepByStep();
};

void TstClosingRules::chosenLimit_data()
{
    QTest::addColumn<ClosingCriterion>("criterion");
    QTest::addColumn<double>("quantity");
    // Missing 18 N, 65 P2O5, 40 K2O with "Cama de frango" 3.2/3.5/2.5 %.
    QTest::newRow("by N") << ClosingCriterion::N << 562.5;
    QTest::newRow("by P") << ClosingCriterion::P2O5 << 65 * 100 / 3.5;
    QTest::newRow("by K") << ClosingCriterion::K2O << 1600.0;
    QTest::newRow("by the smallest") << ClosingCriterion::Smallest << 562.5;
}

void TstClosingRules::chosenLimit()
{
    QFETCH(ClosingCriterion, criterion);
    QFETCH(double, quantity);
    const auto limits = fertilizers::closingLimits(18, 65, 40, 3.2, 3.5, 2.5);
    QCOMPARE(fertilizers::chosenLimit(limits, criterion), quantity);
}

void TstClosingRules::topDressing_data()
{
    QTest::addColumn<double>("missingN");
    QTest::addColumn<double>("pn");
    QTest::addColumn<double>("missingK");
    QTest::addColumn<double>("pk");
    QTest::addColumn<bool>("proposed");
    QTest::addColumn<Nutrient>("decidedBy");
    QTest::addColumn<double>("quantity");
    QTest::newRow("urea, only N missing") << 60.0 << 45.0 << 0.0 << 0.0 << true << Nutrient::N << 6000 / 45.0;
    QTest::newRow("20-00-20, both missing: potash decides") << 60.0 << 20.0 << 40.0 << 20.0 << true << Nutrient::K2O << 200.0;
    QTest::newRow("potash missing but the product has none") << 30.0 << 45.0 << 40.0 << 0.0 << true << Nutrient::N << 6000 / 90.0;
    QTest::newRow("no K2O missing, product without N") << 30.0 << 0.0 << 0.0 << 58.0 << false << Nutrient::N << 0.0;
    QTest::newRow("exactly nothing missing") << 0.0 << 45.0 << 0.0 << 58.0 << false << Nutrient::N << 0.0;
    QTest::newRow("over-applied potash, N still missing") << 30.0 << 20.0 << -5.0 << 20.0 << true << Nutrient::N << 150.0;
}

void TstClosingRules::topDressing()
{
    QFETCH(double, missingN);
    QFETCH(double, pn);
    QFETCH(double, missingK);
    QFETCH(double, pk);
    QFETCH(bool, proposed);
    QFETCH(Nutrient, decidedBy);
    QFETCH(double, quantity);
    const auto proposal = fertilizers::topDressingProposal(missingN, pn, missingK, pk);
    QCOMPARE(proposal.has_value(), proposed);
    if (proposal) {
        QCOMPARE(proposal->decidedBy, decidedBy);
        QCOMPARE(proposal->quantity, quantity);
    }
}

// The rule as a handler follows it: each figure read when the rule comes to
// it, each proposal acted on at once. A figure that cannot be read stops the
// rule after what the deciders before it proposed.
void TstClosingRules::topDressingStepByStep_data()
{
    QTest::addColumn<QList<double>>("figures"); // missing N, N %, missing K2O, K2O %
    QTest::addColumn<QString>("unreadable");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("proposed");
    QTest::newRow("both decide, potash last")
        << QList<double>{60, 20, 40, 20} << QString()
        << QStringList{"missing N", "content N", "N 300", "missing K2O", "content K2O", "K2O 200"} << true;
    QTest::newRow("nothing decides")
        << QList<double>{0, 45, 40, 0} << QString()
        << QStringList{"missing N", "content N", "missing K2O", "content K2O"} << false;
    QTest::newRow("missing K2O unreadable after the N proposal")
        << QList<double>{60, 20, 40, 20} << QStringLiteral("missing K2O")
        << QStringList{"missing N", "content N", "N 300", "missing K2O"} << false;
    QTest::newRow("N content unreadable: nothing proposed")
        << QList<double>{60, 20, 40, 20} << QStringLiteral("content N")
        << QStringList{"missing N", "content N"} << false;
}

void TstClosingRules::topDressingStepByStep()
{
    QFETCH(QList<double>, figures);
    QFETCH(QString, unreadable);
    QFETCH(QStringList, steps);
    QFETCH(bool, proposed);
    const auto name = [](Nutrient nutrient) {
        return nutrient == Nutrient::N ? QStringLiteral("N") : QStringLiteral("K2O");
    };
    QStringList done;
    const auto readFigure = [&](const QString &what, Nutrient nutrient, int index) {
        const QString step = what + QLatin1Char(' ') + name(nutrient);
        done << step;
        if (step == unreadable)
            throw std::runtime_error("not a number");
        return figures[nutrient == Nutrient::N ? index : index + 2];
    };
    bool answered = false;
    try {
        answered = fertilizers::followTopDressingRule(
            [&](Nutrient nutrient) { return readFigure(QStringLiteral("missing"), nutrient, 0); },
            [&](Nutrient nutrient) { return readFigure(QStringLiteral("content"), nutrient, 1); },
            [&](const fertilizers::TopDressingProposal &made) {
                done << name(made.decidedBy) + QLatin1Char(' ') + QString::number(made.quantity);
            });
    } catch (const std::runtime_error &) {
        QVERIFY(!unreadable.isEmpty());
    }
    QCOMPARE(done, steps);
    QCOMPARE(answered, proposed);
}

QTEST_APPLESS_MAIN(TstClosingRules)
#include "tst_closing_rules.moc"
