#pragma once
// The command line's own words (usage, option list, parse errors) in
// Portuguese, like everything else the program says.
#include <QTranslator>

class CommandLineTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};
