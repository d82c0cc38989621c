#pragma once
// A whole laboratory file at once: for every sample the recommendation the
// window would give, written as its page report (PDF) and its text report,
// and one summary of all samples. Needs an application object (the calendar
// chart is drawn once per run) but no display.
#include <QDate>
#include <QLocale>
#include <QString>
#include "batch/LabColumns.h"
#include <functional>
#include <optional>

namespace batch {

struct Options {
    QString input;                // the laboratory's CSV or .xlsx file; never written
    QString output;               // folder of the reports, made when missing
    double yield = 25;            // t/ha, for samples whose file gives none
    std::optional<double> prnt;   // %, to give the commercial limestone too
    QDate planting;               // planting day of the calendar chart
    QString technician;
    QList<ChosenColumn> chosen;   // variables taken from headers the user names
    QString sheet;                // the sheet of an .xlsx; empty for the first
    bool working = false;         // also <amostra>-memoria.pdf, the working of every result
    // The store's price list (CSV): with it, every sample is composed at the
    // least cost in whole bags for a field of `areaHa`, in its reports and
    // in the summary's columns of the composition.
    QString prices;
    double areaHa = 1;
    // A store of cases (SQLite): with it, every sample done is recorded
    // under its producer and field, dated by the file's date column or else
    // the run's date, and the summary's last column says where it went.
    QString store;
};

enum ExitStatus { AllDone = 0, SomeNotDone = 1, NotRun = 2 };

struct Console {
    std::function<void(const QString &)> message;   // a problem, or the final account
    std::function<void(int done, int total)> progress; // none when nobody watches
    std::function<void(int done, int failed)> finished; // the final account
};

// Numbers are written with the regional decimal separator, as the window
// writes them; the summary's CSV always with a decimal comma.
ExitStatus run(const Options &options, const QLocale &regional, const Console &console);

} // namespace batch
