#pragma once
#include <QChar>
#include <QString>

// How a number passes between the text of a field and a value, under the
// decimal separator of the user's regional settings (read once at start).
class NumberText {
public:
    explicit NumberText(QChar separator = QLatin1Char('.'));

    QChar separator() const { return separator_; }
    bool commaInForce() const { return separator_ == QLatin1Char(','); }
    bool pointInForce() const { return separator_ == QLatin1Char('.'); }

    // Blanks, sign, digits with at most one separator, optional exponent,
    // blanks. Anything else (or a value beyond a double) raises the
    // conversion error quoting the text as it stands.
    double toDouble(const QString &text) const;

    // The patterns "0.0", "0.00" and "0.000": places is 1, 2 or 3. Halves
    // round away from zero on the value's 15-significant-digit expansion.
    QString format(double value, int places) const;

private:
    QChar separator_;
};
