#include "app/CompositionView.h"
#include "core/Dates.h"
#include "reports/CostSection.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

using namespace fertilizers;

namespace {


// Amounts below this are rounding, not a nutrient supplied or missing.
constexpr double kNoAmount = 0.005;

QString cell(const QString &text, bool number = true)
{
    return QStringLiteral("<td align=\"%1\">%2</td>").arg(number ? QStringLiteral("right") : QStringLiteral("left"), text);
}

QString header(const QStringList &titles)
{
    QString row = QStringLiteral("<tr style=\"background-color:#e8e8e8\">");
    for (int i = 0; i < titles.size(); ++i)
        row += QStringLiteral("<th align=\"%1\">%2</th>").arg(i == 0 ? QStringLiteral("left") : QStringLiteral("right"),
                                                             titles[i]);
    return row + QStringLiteral("</tr>");
}

QString table(const QString &rows)
{
    return QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\" border=\"1\" style=\"border-color:#b0b0b0\">%1</table>")
        .arg(rows);
}

class Writer {
public:
    Writer(const Composition &c, const PriceList &prices, const NumberText &numbers, const QLocale &regional)
        : c_(c), prices_(prices), numbers_(numbers), regional_(regional)
    {
    }

    QString html() const
    {
        QString h;
        h += heading();
        for (int a = 0; a < applicationCount; ++a)
            h += application(a);
        h += shopping();
        h += nutrientPrices();
        return h;
    }

private:
    QString fmt(double v, int places = 2) const { return numbers_.format(v, places); }
    QString money(double v) const { return QStringLiteral("R$ ") + reports::moneyText(v, numbers_); }
    QString cost(double v) const { return reports::moneyText(v, numbers_); }
    bool bulk(int product) const
    {
        return product >= 0 && product < prices_.products.size() && prices_.products[product].bagKg <= 0;
    }
    QString bags(const ComposedProduct &p) const
    {
        if (bulk(p.product))
            return QStringLiteral("a granel");
        return c_.options.seasonBags ? fmt(p.bags) : QString::number(std::llround(p.bags));
    }

    QString heading() const
    {
        QString h = QStringLiteral("<p><b>Lista de preços:</b> %1 (preços informados pelo usuário")
                        .arg(c_.priceListName.toHtmlEscaped());
        if (c_.priceListDate.isValid())
            h += QStringLiteral(", cotados até %1").arg(dates::shortDate(c_.priceListDate, regional_));
        h += QStringLiteral("). Área: %1 ha; %2.</p>")
                 .arg(fmt(c_.options.areaHa), c_.options.seasonBags
                                                  ? QStringLiteral("sacos comprados para a safra")
                                                  : QStringLiteral("sacos inteiros em cada aplicação"));
        if (!c_.leftOut.isEmpty())
            h += QStringLiteral("<p style=\"color:#a05000\">Sem preço, fora da composição (%1): %2.</p>")
                     .arg(c_.leftOut.size())
                     .arg(c_.leftOut.join(QStringLiteral(", ")).toHtmlEscaped());
        if (c_.status == CompositionStatus::Approximate)
            h += QStringLiteral("<p style=\"color:#c00000\"><b>Nem toda necessidade pôde ser atendida dentro dos "
                                "limites: veja o porquê em cada aplicação.</b></p>");
        return h;
    }

    QString application(int a) const
    {
        const ApplicationPlan &plan = c_.applications[size_t(a)];
        QString h = QStringLiteral("<h3>%1</h3>").arg(applicationName(a));
        bool needed = false;
        for (double n : plan.needed)
            needed = needed || n > kNoAmount;
        if (!needed && plan.products.isEmpty())
            return h + QStringLiteral("<p>Nada falta nesta aplicação.</p>");

        if (plan.products.isEmpty()) {
            h += QStringLiteral("<p>Nenhum produto composto.</p>");
        } else {
            QString rows = header({QStringLiteral("Produto"), QStringLiteral("kg/ha"), QStringLiteral("kg na área"),
                                   QStringLiteral("Sacos"), QStringLiteral("R$/ha"), QStringLiteral("R$ na área")});
            for (const ComposedProduct &p : plan.products)
                rows += QStringLiteral("<tr>%1%2%3%4%5%6</tr>")
                            .arg(cell(p.name.toHtmlEscaped(), false), cell(fmt(reports::listedKgHa(p.kgHa), 1)),
                                 cell(fmt(p.kgField, 1)), cell(bags(p)), cell(cost(p.costHa)), cell(cost(p.costField)));
            rows += QStringLiteral("<tr><td><b>Total</b></td><td></td><td></td><td></td>%1%2</tr>")
                        .arg(cell(QStringLiteral("<b>%1</b>").arg(cost(plan.costHa))),
                             cell(QStringLiteral("<b>%1</b>").arg(cost(plan.costField))));
            h += table(rows);
        }

        bool short_ = false;
        for (double s : plan.shortfall)
            short_ = short_ || s > kNoAmount;
        QStringList titles{QStringLiteral("Nutriente"), QStringLiteral("Necessário (kg/ha)"),
                           QStringLiteral("Fornecido (kg/ha)"), QStringLiteral("Excesso (kg/ha)")};
        if (short_)
            titles << QStringLiteral("Falta (kg/ha)");
        QString rows = header(titles);
        for (int n = 0; n < 3; ++n) {
            // An excess within the tolerance is the price of whole bags; one
            // beyond it could not be avoided within the limits.
            const double excess = plan.excess[size_t(n)];
            const double tolerance = c_.options.toleratedExcessKgHa(plan.needed[size_t(n)]);
            QString excessText = fmt(0);
            if (excess > tolerance + kNoAmount)
                excessText = QStringLiteral("<span style=\"color:#c00000\"><b>%1 (acima da tolerância)</b></span>")
                                 .arg(fmt(excess));
            else if (excess > kNoAmount)
                excessText = QStringLiteral("<span style=\"color:#a05000\"><b>%1</b></span>").arg(fmt(excess));
            rows += QStringLiteral("<tr>%1%2%3%4").arg(cell(core::nutrientName(core::Nutrient(n)), false),
                                                     cell(fmt(plan.needed[size_t(n)])),
                                                     cell(fmt(plan.supplied[size_t(n)])), cell(excessText));
            if (short_) {
                const double s = plan.shortfall[size_t(n)];
                rows += cell(s > kNoAmount ? QStringLiteral("<span style=\"color:#c00000\"><b>%1</b></span>").arg(fmt(s))
                                           : fmt(0));
            }
            rows += QStringLiteral("</tr>");
        }
        h += QStringLiteral("<p>Balanço:</p>") + table(rows);

        if (!plan.reasons.isEmpty() || plan.status != CompositionStatus::Composed) {
            h += QStringLiteral("<p style=\"color:#c00000\"><b>%1</b></p>")
                     .arg(plan.status == CompositionStatus::NoPrice
                              ? QStringLiteral("Sem produtos com preço para esta aplicação.")
                              : QStringLiteral("Nenhuma combinação atende a necessidade dentro dos limites; acima, a "
                                               "melhor aproximação."));
            if (!plan.reasons.isEmpty()) {
                h += QStringLiteral("<ul>");
                for (const fertilizers::CompositionReason &reason : plan.reasons)
                    h += QStringLiteral("<li>%1</li>").arg(fertilizers::reasonText(reason, numbers_).toHtmlEscaped());
                h += QStringLiteral("</ul>");
            }
        }
        return h;
    }

    QString shopping() const
    {
        QString h = QStringLiteral("<h3>Lista de compras</h3>");
        if (c_.shopping.isEmpty())
            return h + QStringLiteral("<p>Nada a comprar.</p>");
        QString rows = header({QStringLiteral("Produto"), QStringLiteral("Sacos"), QStringLiteral("kg"),
                               QStringLiteral("Sobra (kg)"), QStringLiteral("R$")});
        for (const ShoppingItem &s : c_.shopping)
            rows += QStringLiteral("<tr>%1%2%3%4%5</tr>")
                        .arg(cell(s.name.toHtmlEscaped(), false),
                             cell(bulk(s.product) ? QStringLiteral("a granel") : QString::number(s.bags)),
                             cell(fmt(s.kg, 1)), cell(fmt(s.leftoverKg, 1)), cell(cost(s.cost)));
        h += table(rows);
        h += QStringLiteral("<p><b>Custo total: %1 por hectare; %2 na área de %3 ha.</b></p>")
                 .arg(money(c_.costHa), money(c_.costField), fmt(c_.options.areaHa));
        return h;
    }

    QString nutrientPrices() const
    {
        QString rows = header({QStringLiteral("Produto"), QStringLiteral("R$/kg de N"), QStringLiteral("R$/kg de P2O5"),
                               QStringLiteral("R$/kg de K2O")});
        int priced = 0;
        for (const PricedProduct &p : prices_.products) {
            if (!p.pricePerKg())
                continue;
            ++priced;
            QString name = p.name.toHtmlEscaped();
            if (!p.available)
                name += QStringLiteral(" <i>(em falta na loja)</i>");
            rows += QStringLiteral("<tr>") + cell(name, false);
            // A bag of a formula is shared by the kilograms of nutrient it
            // brings: each of its kilograms of N, P2O5 or K2O costs the same.
            const double contents[3] = {p.n, p.p2o5, p.k2o};
            const double nutrientPercent = p.n + p.p2o5 + p.k2o;
            for (int n = 0; n < 3; ++n)
                rows += cell(contents[n] > 0 && nutrientPercent > 0 ? fmt(*p.pricePerKg() * 100 / nutrientPercent)
                                                                    : QStringLiteral("-"));
            rows += QStringLiteral("</tr>");
        }
        const QString h = QStringLiteral("<h3>Custo por kg de nutriente</h3>");
        if (priced == 0)
            return h + QStringLiteral("<p>Nenhum produto da lista tem preço: informe-os na aba \"Lista de preços\".</p>");
        return h + table(rows)
               + QStringLiteral("<p>O preço de um produto com mais de um nutriente é repartido pelos kg de N, P2O5 e "
                                "K2O que ele traz: cada um desses kg custa o mesmo (R$ por kg de N+P2O5+K2O).</p>");
    }

    const Composition &c_;
    const PriceList &prices_;
    const NumberText &numbers_;
    const QLocale &regional_;
};

} // namespace

QString compositionHtml(const Composition &composition, const PriceList &prices, const NumberText &numbers,
                        const QLocale &regional)
{
    return Writer(composition, prices, numbers, regional).html();
}

QString optionProblemHtml(const QString &message)
{
    return QStringLiteral("<p style=\"color:#c00000\"><b>%1</b></p><p>Corrija a opção para compor.</p>")
        .arg(message.toHtmlEscaped());
}
