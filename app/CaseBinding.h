#pragma once
// The table that names the window's components holding a case
// (case_binder.cpp), checked against the components the window has.
#include <QHash>
#include <QString>
#include <QStringList>

class QWidget;

namespace caseBinding {

// The names in the table that no component answers with the kind its place
// in the model needs (a text, a list, a date, a check, a grid or the tabs),
// in the table's order.
QStringList unbound(const QHash<QString, QWidget *> &byName);

} // namespace caseBinding
