#pragma once
// What both reports copy from a case: one table names every copied value
// once, with the page variable that shows it, so the window and the lab-file
// run fill the reports the same way.
#include "model/Case.h"
#include "reports/CostSection.h"

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
    QString variable;                                // page variable (and key of ReportContent::fields)
    std::function<QString(const model::Case &)> of; // the case's text it shows
};

// The producer, the analysis and the expected yield: both reports, in the
// page's order.
const QList<ReportField> &copiedFields();
// The liming indication and the technician: only the page shows them.
const QList<ReportField> &pageOnlyFields();

struct ReportContent {
    QHash<QString, QString> fields; // by variable; a missing one is empty
    Rows split;                     // each application: name, time, N, P2O5, K2O
    Rows planting;                  // the planting products: name, kg/ha, N, P2O5, K2O
    Rows topDressing[3];            // the top-dressings' products, likewise
    QString observation;            // the liming's explanation
    QString recommendations;        // the technician's recommendations
    QString date;                   // the report date as the window writes it
    std::optional<CostSection> cost; // only for a composition made with prices

    QString field(const QString &variable) const { return fields.value(variable); }

    // Everything from the case; the date as the caller writes it.
    static ReportContent fromCase(const model::Case &c, const QString &date);
};

// Sets every page variable from the content, as plain texts; the chart
// picture is put in by the caller.
void setPageVariables(PageReport &report, const ReportContent &content);

} // namespace reports
