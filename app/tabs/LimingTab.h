#pragma once
// Tab "Indicação de Calagem": the three liming criteria side by side, the
// recommendation with its observation, and the correction for a commercial
// PRNT. The entry tab writes the criteria's soil values here.
#include <QWidget>
#include <functional>

class HandlerHost;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class WorkingLedger;

class LimingTab : public QWidget {
public:
    // Added to `tabs` as its second page. The clay field of the entry tab
    // must hold a number for "Calcular", whose choice follows the clay
    // content last interpreted (`interpretedClay`).
    LimingTab(QTabWidget *tabs, HandlerHost &host, WorkingLedger &working, const QLineEdit *clay,
              std::function<double()> interpretedClay);

    QLineEdit *Edit13 = nullptr, *Edit14 = nullptr; // Ca+Mg and Ca/Mg, kept but not shown
    QLineEdit *Edit16 = nullptr, *Edit17 = nullptr, *Edit18 = nullptr, *Edit19 = nullptr;
    QLineEdit *Edit20 = nullptr, *Edit21 = nullptr, *Edit22 = nullptr;
    QLineEdit *Edit26 = nullptr, *Edit27 = nullptr, *Edit28 = nullptr, *Edit29 = nullptr;
    QLineEdit *Edit61 = nullptr, *Edit23 = nullptr, *Edit24 = nullptr, *Edit25 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr;

    // "Calcular" of the criteria: the three needs and the one recommended.
    void Button1Click();
    // "Calcular" of the PRNT correction.
    void Button2Click();

private:
    HandlerHost &host_;
    WorkingLedger &working_;
    const QLineEdit *clay_;
    std::function<double()> interpretedClay_;
    QGroupBox *GroupBox3 = nullptr, *GroupBox9 = nullptr, *GroupBox10 = nullptr, *GroupBox11 = nullptr;
    QGroupBox *GroupBox12 = nullptr, *GroupBox16 = nullptr, *GroupBox36 = nullptr;
    QGroupBox *GroupBox13 = nullptr, *GroupBox14 = nullptr, *GroupBox15 = nullptr;
};
