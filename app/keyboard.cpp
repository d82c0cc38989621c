// Typed decimal marks follow the regional separator, and Enter walks the
// fields in screen order so an analysis can be typed without the mouse.
#include "app/TFPrincipal.h"
#include "app/StringGrid.h"

#include <QLineEdit>
#include <QPushButton>

void TFPrincipal::wireKeyboard()
{
    using R = KeyRule;
    const auto chain = [this](R rule, std::initializer_list<QLineEdit *> fields, QWidget *last) {
        const std::vector<QLineEdit *> v(fields);
        for (std::size_t i = 0; i < v.size(); ++i)
            onKey(v[i], rule, i + 1 < v.size() ? static_cast<QWidget *>(v[i + 1]) : last);
    };

    // Producer's data and sample identification: Enter only.
    chain(R::EnterOnly, {Edit55, Edit56, Edit57, Edit58, Edit59, Edit60}, Edit1);
    // The soil analysis, with pH after clay as on screen; the chain ends at the yield.
    chain(R::MarkAndEnter, {Edit1, Edit70, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9}, Edit12);
    // Liming criteria and the PRNT correction end on their buttons.
    chain(R::MarkAndEnter, {Edit20, Edit21, Edit16, Edit17, Edit18, Edit26, Edit27, Edit29}, Button1);
    chain(R::MarkAndEnter, {Edit23, Edit24}, Button2);
    // Yield and the two doses take the regional mark but Enter stays put.
    for (QLineEdit *field : {Edit12, edit30, edit31})
        onKey(field, R::MarkOnly);
    // The organic fertilizer efficiencies form a ring.
    chain(R::EnterOnly, {Edit62, Edit63, Edit65}, Edit62);

    stga2->setEnterMovesDown(true);
}
