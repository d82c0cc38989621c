#include "core/NumberText.h"
#include "core/Failure.h"

#include <QtTest>
#include <cmath>
#include <limits>

// The number text rules every handler relies on: a field's text to a value and
// back, under the comma and the point separator.
class TstNumberText : public QObject {
    Q_OBJECT
private slots:
    void accepts_data();
    void accepts();
    void rejects_data();
    void rejects();
    void formats_data();
    void formats();
    void nonFiniteNeverReachesAField();
};

void TstNumberText::accepts_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    const QChar comma(','), point('.');
    QTest::newRow("integer") << comma << "5" << 5.0;
    QTest::newRow("comma decimal") << comma << "5,25" << 5.25;
    QTest::newRow("leading separator") << comma << ",5" << 0.5;
    QTest::newRow("trailing separator") << comma << "5," << 5.0;
    QTest::newRow("separator alone is zero") << comma << "," << 0.0;
    QTest::newRow("blanks around") << comma << " 12,5 " << 12.5;
    QTest::newRow("plus sign") << comma << "+3" << 3.0;
    QTest::newRow("minus sign") << comma << "-1,5" << -1.5;
    QTest::newRow("exponent") << comma << "1e2" << 100.0;
    QTest::newRow("exponent upper, signed") << comma << "2,5E-1" << 0.25;
    QTest::newRow("exponent without digits") << comma << "7e" << 7.0;
    QTest::newRow("leading zeros") << comma << "007,50" << 7.5;
    QTest::newRow("point decimal") << point << "2.5" << 2.5;
    QTest::newRow("point alone") << point << "." << 0.0;
    QTest::newRow("below the smallest double") << comma << "1e-400" << 0.0;
    QTest::newRow("largest double") << point << "1.7976931348623157e308" << std::numeric_limits<double>::max();
    // A pasted text of a million zeros after the separator, then an exponent
    // just as long: the zeros and the exponent cancel out.
    QTest::newRow("exponent beyond a million zeros")
        << comma << QString(QLatin1Char(',') + QString(1'000'000, QLatin1Char('0')) + QLatin1String("1e1000002")) << 10.0;
}

void TstNumberText::accepts()
{
    QFETCH(QChar, separator);
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(NumberText(separator).toDouble(text), value);
}

void TstNumberText::rejects_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("text");
    const QChar comma(','), point('.');
    QTest::newRow("empty") << comma << "";
    QTest::newRow("one blank") << comma << " ";
    QTest::newRow("point under comma") << comma << "2.5";
    QTest::newRow("comma under point") << point << "2,5";
    QTest::newRow("thousands separator") << comma << "1.000,5";
    QTest::newRow("second separator") << comma << "1,2,3";
    QTest::newRow("letters") << comma << "abc";
    QTest::newRow("unit") << comma << "12%";
    QTest::newRow("sign alone") << comma << "-";
    QTest::newRow("sign after blank after sign") << comma << "- 5";
    QTest::newRow("exponent alone") << comma << "e5";
    QTest::newRow("tab is not a blank") << comma << "\t5";
    QTest::newRow("overflow") << comma << "1e400";
    QTest::newRow("overflow by digits") << point << QString(400, QLatin1Char('9'));
    QTest::newRow("inf") << point << "inf";
    QTest::newRow("nan") << point << "nan";
    QTest::newRow("hex") << point << "0x10";
}

void TstNumberText::rejects()
{
    QFETCH(QChar, separator);
    QFETCH(QString, text);
    try {
        NumberText(separator).toDouble(text);
        QFAIL("accepted");
    } catch (const Failure &failure) {
        QCOMPARE(failure.message(), QStringLiteral("'%1' is not a valid floating point value").arg(text));
    }
}

void TstNumberText::formats_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("text");
    const QChar comma(','), point('.');
    QTest::newRow("0.0 of 1234.5678") << comma << 1234.5678 << 1 << "1234,6";
    QTest::newRow("0.00 of 1234.5678") << comma << 1234.5678 << 2 << "1234,57";
    QTest::newRow("0.000 of 1234.5678") << comma << 1234.5678 << 3 << "1234,568";
    QTest::newRow("half 0.125") << point << 0.125 << 2 << "0.13";
    QTest::newRow("half 0.25") << point << 0.25 << 1 << "0.3";
    QTest::newRow("half 70.25") << comma << 70.25 << 1 << "70,3";
    QTest::newRow("half 1.005") << point << 1.005 << 2 << "1.01";
    QTest::newRow("half 2.675") << point << 2.675 << 2 << "2.68";
    QTest::newRow("negative half") << point << -0.125 << 2 << "-0.13";
    QTest::newRow("0.005") << comma << 0.005 << 2 << "0,01";
    QTest::newRow("negative padded") << comma << -1.5 << 2 << "-1,50";
    QTest::newRow("tiny negative has no minus") << comma << -0.001 << 2 << "0,00";
    QTest::newRow("zero") << comma << 0.0 << 3 << "0,000";
    QTest::newRow("carry into new digit") << point << 999.96 << 1 << "1000.0";
    QTest::newRow("no grouping") << comma << 1234567.0 << 2 << "1234567,00";
    QTest::newRow("below a place") << point << 0.0004 << 3 << "0.000";
    QTest::newRow("large") << point << 1e20 << 1 << "100000000000000000000.0";
    // Fifteen digits of the largest double round up beyond it: such a text is
    // written, and reading it back is the overflow rejection.
    QTest::newRow("largest double") << point << std::numeric_limits<double>::max() << 1
                                    << QString(QLatin1String("179769313486232") + QString(294, QLatin1Char('0')) + QLatin1String(".0"));
    QTest::newRow("other separator") << QChar(0x066B) << 2.5 << 1 << QString("2") + QChar(0x066B) + "5";
}

void TstNumberText::formats()
{
    QFETCH(QChar, separator);
    QFETCH(double, value);
    QFETCH(int, places);
    QFETCH(QString, text);
    QCOMPARE(NumberText(separator).format(value, places), text);
}

void TstNumberText::nonFiniteNeverReachesAField()
{
    const NumberText numbers(QLatin1Char(','));
    QVERIFY_THROWS_EXCEPTION(Failure, numbers.format(std::numeric_limits<double>::infinity(), 2));
    QVERIFY_THROWS_EXCEPTION(Failure, numbers.format(std::nan(""), 2));
    try {
        divide(1.0, 0.0);
        QFAIL("divided by zero");
    } catch (const Failure &f) {
        QCOMPARE(f.message(), QStringLiteral("Floating point division by zero"));
    }
    try {
        divide(0.0, 0.0);
        QFAIL("divided zero by zero");
    } catch (const Failure &f) {
        QCOMPARE(f.message(), QStringLiteral("Invalid floating point operation"));
    }
}

QTEST_GUILESS_MAIN(TstNumberText)
#include "tst_number_text.moc"
