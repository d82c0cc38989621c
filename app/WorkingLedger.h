#pragma once
// How each result the window holds was reached: kept as the handlers write
// their results, told in a tooltip over the field or cell and gathered into
// "Memória de cálculo". A result is kept under its place: a field, or a cell
// of a grid.
#include "core/Working.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <functional>
#include <initializer_list>

class QWidget;

class WorkingLedger {
public:
    // Where a result comes from: a field, or a cell of a grid.
    struct Place {
        const QWidget *widget = nullptr;
        int column = -1, row = -1; // of a grid's cell
    };
    // A copy is told but not listed again in the whole working.
    enum class Kind { Result, Copy };

    // The technician's name for a place a result was computed from.
    explicit WorkingLedger(std::function<QString(const Place &)> nameOf);

    // Keeps how a handler reached the result it just wrote at a place, and
    // the texts of the places it read.
    void explain(const Place &at, const QString &section, const Told &told, std::initializer_list<Place> from,
                 Kind kind = Kind::Result);
    // The places whose tooltip tells their working.
    void show(const QWidget *place) { shown_.insert(place); }
    bool shows(const QWidget *place) const { return shown_.contains(place); }
    // A case was opened (its results came without their working) or started.
    void forget(bool restored);

    // What a place holds, told: the rule and the values that gave it; said
    // to be typed when it was, and stale when a value it was computed from
    // has changed since. Empty where nothing is computed.
    QString workingAt(const Place &place) const;
    // Every result, told as above, in the order computed.
    CaseWorking caseWorking() const;

private:
    struct Explained {
        QString section;
        Told told;
        QString written;                       // the text the handler wrote
        QList<std::pair<Place, QString>> from; // each place read, with its text then
        quint64 order = 0;
        bool copy = false;
    };
    using Key = std::pair<const QWidget *, int>; // a widget and, for a grid, its cell
    static Key keyOf(const Place &place);
    QString noteOn(const Place &place, const Explained &e) const;

    std::function<QString(const Place &)> nameOf_;
    QHash<Key, Explained> explained_;
    quint64 count_ = 0;
    QSet<const QWidget *> shown_;
    bool restored_ = false;
};

// What a place shows now: a field's or memo's text, a label's, a list's
// current text, a grid cell's.
QString placeText(const WorkingLedger::Place &place);
