#include "app/WorkingLedger.h"
#include "app/StringGrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>

QString placeText(const WorkingLedger::Place &place)
{
    if (const auto *grid = qobject_cast<const StringGrid *>(place.widget))
        return grid->cell(place.column, place.row);
    if (const auto *edit = qobject_cast<const QLineEdit *>(place.widget))
        return edit->text();
    if (const auto *memo = qobject_cast<const QPlainTextEdit *>(place.widget))
        return memo->toPlainText();
    if (const auto *label = qobject_cast<const QLabel *>(place.widget))
        return label->text();
    if (const auto *list = qobject_cast<const QComboBox *>(place.widget))
        return list->currentText();
    return {};
}

WorkingLedger::WorkingLedger(std::function<QString(const Place &)> nameOf) : nameOf_(std::move(nameOf)) {}

WorkingLedger::Key WorkingLedger::keyOf(const Place &place)
{
    return {place.widget, place.column < 0 ? -1 : place.column * 1000 + place.row};
}

void WorkingLedger::explain(const Place &at, const QString &section, const Told &told,
                            std::initializer_list<Place> from, Kind kind)
{
    Explained e;
    e.section = section;
    e.told = told;
    e.written = placeText(at);
    for (const Place &place : from)
        e.from.append({place, placeText(place)});
    e.order = ++count_;
    e.copy = kind == Kind::Copy;
    explained_.insert(keyOf(at), std::move(e));
}

void WorkingLedger::forget(bool restored)
{
    explained_.clear();
    restored_ = restored;
}

namespace {
QString quoted(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("vazio") : QStringLiteral("\"%1\"").arg(text);
}
} // namespace

// Said before the working of a result that was typed over, or computed from
// values that have changed since; nothing when it stands as computed.
QString WorkingLedger::noteOn(const Place &place, const Explained &e) const
{
    if (const QString now = placeText(place); now != e.written)
        return QStringLiteral("Valor digitado: %1; o programa havia escrito %2.").arg(quoted(now), quoted(e.written));
    QStringList changed;
    for (const auto &[from, then] : e.from) {
        const QString text = placeText(from);
        if (text != then)
            changed << QStringLiteral("%1 = %2 (agora %3)").arg(nameOf_(from), quoted(then), quoted(text));
    }
    if (changed.isEmpty())
        return {};
    return QStringLiteral("Desatualizado: calculado com %1; o valor é refeito quando o seu cálculo rodar de novo.")
        .arg(changed.join(QStringLiteral(", ")));
}

QString WorkingLedger::workingAt(const Place &place) const
{
    const auto it = explained_.constFind(keyOf(place));
    if (it == explained_.cend()) {
        if (!shown_.contains(place.widget) || placeText(place).isEmpty())
            return {};
        return restored_ ? QStringLiteral("Valor digitado ou lido do caso aberto: nenhum cálculo desta sessão o "
                                          "escreveu.")
                         : QStringLiteral("Valor digitado ou inicial: nenhum cálculo o escreveu.");
    }
    const QString note = noteOn(place, it.value());
    return note.isEmpty() ? it.value().told.text() : note + QLatin1Char(' ') + it.value().told.text();
}

CaseWorking WorkingLedger::caseWorking() const
{
    QList<std::pair<Place, const Explained *>> results;
    for (auto it = explained_.cbegin(); it != explained_.cend(); ++it) {
        if (it.value().copy)
            continue;
        const int cell = it.key().second;
        results.append({Place{it.key().first, cell < 0 ? -1 : cell / 1000, cell < 0 ? -1 : cell % 1000}, &it.value()});
    }
    std::sort(results.begin(), results.end(),
              [](const auto &a, const auto &b) { return a.second->order < b.second->order; });
    CaseWorking working;
    for (const auto &[place, e] : std::as_const(results)) {
        Told told = e->told;
        if (const QString note = noteOn(place, *e); !note.isEmpty())
            told.why = note + QLatin1Char(' ') + told.why;
        working.append({e->section, told});
    }
    return working;
}
