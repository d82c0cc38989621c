#include "store/Comparison.h"

#include "core/Failure.h"
#include "core/NumberText.h"
#include "fertilizers/LeastCost.h"

#include <QRegularExpression>

namespace store {

namespace {

const NumberText comma(QLatin1Char(','));

std::optional<double> number(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    try {
        return comma.toDouble(text);
    } catch (const Failure &) {
        return std::nullopt;
    }
}

int places(const QString &text)
{
    const qsizetype at = text.indexOf(QLatin1Char(','));
    return at < 0 ? 0 : int(text.trimmed().size() - at - 1);
}

QString orDash(const QString &text) { return text.isEmpty() ? QStringLiteral("—") : text; }

class Rows {
public:
    Rows(const model::Case &a, const model::Case &b) : a_(a), b_(b) {}
    void section(const QString &name) { section_ = name; }
    template <typename Get>
    void add(const QString &label, Get get, bool recommendation)
    {
        ComparedRow r;
        r.section = section_;
        r.label = label;
        r.first = get(a_).trimmed();
        r.second = get(b_).trimmed();
        r.difference = difference(r.first, r.second);
        r.changed = r.first != r.second;
        r.recommendation = recommendation;
        result.rows << r;
        if (r.changed && recommendation)
            result.changes << QStringLiteral("%1%2: %3 → %4")
                                  .arg(section_ == label ? QString() : section_ + QStringLiteral(", "), label,
                                       orDash(r.first), orDash(r.second));
    }
    Comparison result;

private:
    const model::Case &a_, &b_;
    QString section_;
};

QString productsText(const model::Application &a)
{
    QStringList products;
    if (!a.mineral.text.trimmed().isEmpty() && !a.mineralQuantity.text.trimmed().isEmpty())
        products << QStringLiteral("%1: %2 kg").arg(a.mineral.text.trimmed(), a.mineralQuantity.text.trimmed());
    for (const model::ProductRow &p : a.products)
        if (!p.product.trimmed().isEmpty())
            products << QStringLiteral("%1: %2 kg/ha").arg(p.product.trimmed(), p.quantity.text.trimmed());
    return products.join(QStringLiteral(" + "));
}

} // namespace

QString difference(const QString &first, const QString &second)
{
    const std::optional<double> a = number(first), b = number(second);
    if (!a || !b)
        return QString();
    const double d = *b - *a;
    const QString text = comma.format(d, qMax(places(first), places(second)));
    const bool zero = !text.contains(QRegularExpression(QStringLiteral("[1-9]")));
    return zero || text.startsWith(QLatin1Char('-')) ? text : QLatin1Char('+') + text;
}

Comparison compare(const model::Case &earlier, const model::Case &later)
{
    const model::Case a = model::withSeparator(earlier, QLatin1Char(','));
    const model::Case b = model::withSeparator(later, QLatin1Char(','));
    Rows rows(a, b);
    using C = const model::Case &;

    rows.section(QStringLiteral("Identificação"));
    rows.add(QStringLiteral("Produtor"), [](C c) { return c.producer.name; }, false);
    rows.add(QStringLiteral("CPF"), [](C c) { return c.producer.cpf; }, false);
    rows.add(QStringLiteral("Município"), [](C c) { return c.producer.town; }, false);
    rows.add(QStringLiteral("Localidade"), [](C c) { return c.producer.place; }, false);
    rows.add(QStringLiteral("Talhão"), [](C c) { return c.field.name; }, false);
    rows.add(QStringLiteral("Laudo"), [](C c) { return c.field.report; }, false);
    rows.add(QStringLiteral("Data"), [](C c) { return c.report.date.toString(QStringLiteral("yyyy-MM-dd")); }, false);
    rows.add(QStringLiteral("Rendimento esperado (t/ha)"), [](C c) { return c.field.expectedYield.text; }, false);

    rows.section(QStringLiteral("Análise do solo"));
    rows.add(QStringLiteral("Argila (%)"), [](C c) { return c.analysis.clay.text; }, false);
    rows.add(QStringLiteral("pH"), [](C c) { return c.analysis.ph.text; }, false);
    rows.add(QStringLiteral("P (mg/dm³)"), [](C c) { return c.analysis.phosphorus.text; }, false);
    rows.add(QStringLiteral("K (mg/dm³)"), [](C c) { return c.analysis.potassium.text; }, false);
    rows.add(QStringLiteral("MO (%)"), [](C c) { return c.analysis.organicMatter.text; }, false);
    rows.add(QStringLiteral("Al (cmolc/dm³)"), [](C c) { return c.analysis.aluminium.text; }, false);
    rows.add(QStringLiteral("Ca (cmolc/dm³)"), [](C c) { return c.analysis.calcium.text; }, false);
    rows.add(QStringLiteral("Mg (cmolc/dm³)"), [](C c) { return c.analysis.magnesium.text; }, false);
    rows.add(QStringLiteral("CTC (cmolc/dm³)"), [](C c) { return c.analysis.ctc.text; }, false);
    rows.add(QStringLiteral("V (%)"), [](C c) { return c.analysis.baseSaturation.text; }, false);
    rows.add(QStringLiteral("Classe de argila"), [](C c) { return c.analysis.clayClass; }, true);
    rows.add(QStringLiteral("Classe de P"), [](C c) { return c.analysis.phosphorusClass; }, true);
    rows.add(QStringLiteral("Classe de K"), [](C c) { return c.analysis.potassiumClass; }, true);
    rows.add(QStringLiteral("Classe de CTC"), [](C c) { return c.analysis.ctcClass; }, true);

    rows.section(QStringLiteral("Calagem"));
    rows.add(QStringLiteral("Ca + Mg (cmolc/dm³)"), [](C c) { return c.liming.caMg.text; }, true);
    rows.add(QStringLiteral("NC por saturação por bases (t/ha)"), [](C c) { return c.liming.baseSaturation.need.text; },
             true);
    rows.add(QStringLiteral("NC por baixo tamponamento (t/ha)"), [](C c) { return c.liming.lowBuffering.need.text; },
             true);
    rows.add(QStringLiteral("NC pelo alumínio (t/ha)"), [](C c) { return c.liming.aluminium.need.text; }, true);
    rows.add(QStringLiteral("Calagem (t/ha)"), [](C c) { return c.liming.need.text; }, true);
    rows.add(QStringLiteral("PRNT (%)"), [](C c) { return c.liming.commercial.prnt.text; }, false);
    rows.add(QStringLiteral("Calcário comercial (t/ha)"), [](C c) { return c.liming.commercial.quantity.text; }, true);

    rows.section(QStringLiteral("Doses"));
    rows.add(QStringLiteral("N (kg/ha)"), [](C c) { return c.doses.nitrogen.text; }, true);
    rows.add(QStringLiteral("P2O5 (kg/ha)"), [](C c) { return c.doses.phosphate.text; }, true);
    rows.add(QStringLiteral("K2O (kg/ha)"), [](C c) { return c.doses.potash.text; }, true);
    for (int i = 0; i < 4; ++i) {
        const QString name = fertilizers::applicationName(i);
        rows.section(name);
        const auto dose = [i](C c) { return c.doses.applications.value(i).doses; };
        rows.add(QStringLiteral("N (kg/ha)"), [dose](C c) { return dose(c).n.text; }, true);
        rows.add(QStringLiteral("P2O5 (kg/ha)"), [dose](C c) { return dose(c).p2o5.text; }, true);
        rows.add(QStringLiteral("K2O (kg/ha)"), [dose](C c) { return dose(c).k2o.text; }, true);
        rows.add(QStringLiteral("Produtos"), [i](C c) {
            return productsText(i == 0 ? static_cast<const model::Application &>(c.planting)
                                       : c.topDressings[size_t(i - 1)]);
        }, true);
    }

    rows.section(QStringLiteral("Custo"));
    rows.add(QStringLiteral("Custo (R$/ha)"), [](C c) {
        return c.composition ? comma.format(c.composition->costHa, 2) : QString();
    }, true);
    return rows.result;
}

} // namespace store
