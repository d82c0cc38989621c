#pragma once
// Tab "Sobre": who made the program, when, and the manual its rules follow.
// The program's text, not the producer's: no case holds it.
#include <QWidget>

class QGroupBox;
class QPlainTextEdit;
class QTabWidget;

class AboutTab : public QWidget {
public:
    // Added to `tabs` as its last page.
    explicit AboutTab(QTabWidget *tabs);

private:
    QGroupBox *GroupBox39 = nullptr;
    QPlainTextEdit *Memo2 = nullptr;
};
