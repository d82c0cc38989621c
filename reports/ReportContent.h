#pragma once
// What both reports copy, as texts standing in the window's components: one
// table names every copied field once, with the page variable that shows it
// and the component it is read from, so the window and the lab-file run fill
// the reports the same way.
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace reports {

class PageReport;

// One grid's rows below its header, each row its cell texts.
using Rows = QList<QStringList>;

struct ReportField {
    QString variable;  // page variable (and key of ReportContent::fields)
    QString component; // window component whose text it is
};

// The producer, the analysis and the expected yield: both reports, in the
// page's order.
const QList<ReportField> &copiedFields();
// The liming indication and the technician: only the page shows them.
const QList<ReportField> &pageOnlyFields();

struct ReportContent {
    QHash<QString, QString> fields; // by variable; a missing one is empty
    Rows split;                     // stga3 rows 1 to 4: application, time, N, P2O5, K2O
    Rows planting;                  // stga4 rows 1 on
    Rows topDressing[3];            // stga5, Stga6, stga7 rows 1 on
    QString observation;            // the liming memo's text (Memo1)
    QString recommendations;        // the technician's memo's text (Memo3)
    QString date;                   // the report date as the window writes it

    QString field(const QString &variable) const { return fields.value(variable); }

    // Both tables' fields from the texts of the components they name.
    static ReportContent fromComponents(const std::function<QString(const QString &component)> &text);
};

// Sets every page variable from the content, as plain texts; the chart
// picture is put in by the caller.
void setPageVariables(PageReport &report, const ReportContent &content);

} // namespace reports
