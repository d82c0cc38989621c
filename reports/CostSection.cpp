#include "reports/CostSection.h"

#include "core/NumberText.h"
#include "fertilizers/MineralCatalogue.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace reports {

namespace {

QString bagsText(double bags, const NumberText &numbers)
{
    if (bags <= 0)
        return QStringLiteral("a granel");
    return std::abs(bags - std::round(bags)) < 1e-9 ? QString::number(qRound(bags)) : numbers.format(bags, 2);
}

// A product's name as the planting list names it: the top-dressing lists
// write the catalogue's products shorter ("Uréia " for "Uréia (45%N)").
QString plantingName(const QString &name)
{
    const QString wanted = name.simplified();
    for (const fertilizers::MineralFertilizer &m : fertilizers::AdubosMinerais)
        if (QString::fromUtf8(m.topDressingText).simplified() == wanted)
            return QString::fromUtf8(m.plantingText).simplified();
    return wanted;
}

// A product in an application's list that the composition did not put
// there: inserted by hand, with its kg/ha as listed (none when it is no
// number, as a manure's row may be).
struct HandProduct {
    QString name;
    QString quantityText;
    std::optional<double> kgHa;
};

QList<HandProduct> handProducts(const model::Application &application, const fertilizers::ApplicationPlan &plan,
                                const NumberText &numbers)
{
    QList<model::ProductRow> rows = application.products;
    // The composed products were listed after "Calcular" and "Inserir", each
    // with its quantity rounded up to the tenth: one such row each is theirs.
    for (const fertilizers::ComposedProduct &p : plan.products) {
        const QString name = plantingName(p.name);
        for (qsizetype r = rows.size() - 1; r >= 0; --r) {
            double kgHa = -1;
            try {
                kgHa = numbers.toDouble(rows[r].quantity.text);
            } catch (...) {
            }
            if (plantingName(rows[r].product) == name && std::abs(kgHa - listedKgHa(p.kgHa)) < 0.05) {
                rows.removeAt(r);
                break;
            }
        }
    }
    QList<HandProduct> hand;
    for (const model::ProductRow &row : rows) {
        HandProduct h{row.product.simplified(), row.quantity.text, std::nullopt};
        try {
            h.kgHa = numbers.toDouble(row.quantity.text);
        } catch (...) {
        }
        hand << h;
    }
    return hand;
}

} // namespace

QString moneyText(double value, const NumberText &numbers)
{
    QString text = numbers.format(value, 2);
    const QChar separator = numbers.separator();
    const QChar group = separator == QLatin1Char(',') ? QLatin1Char('.')
                        : separator == QLatin1Char('.') ? QLatin1Char(',')
                                                         : QChar(0x202F); // a narrow space beside any other separator
    qsizetype end = text.indexOf(separator);
    if (end < 0)
        end = text.size();
    const qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    for (qsizetype at = end - 3; at > start; at -= 3)
        text.insert(at, group);
    return text;
}

double listedKgHa(double kgHa) { return std::ceil(kgHa * 10 - 1e-6) / 10; }

std::optional<CostSection> costSection(const model::Case &c)
{
    if (!c.composition)
        return std::nullopt;
    const fertilizers::Composition &comp = *c.composition;
    const NumberText numbers(c.decimalSeparator);
    CostSection s;
    s.pricesNote = comp.priceListDate.isValid()
                       ? QStringLiteral("Preços informados pelo usuário em %1").arg(comp.priceListDate.toString(QStringLiteral("dd/MM/yyyy")))
                       : QStringLiteral("Preços informados pelo usuário, sem data");
    if (!comp.priceListName.isEmpty())
        s.pricesNote += QStringLiteral(" (lista: %1)").arg(comp.priceListName);
    s.basis = QStringLiteral("Área: %1 ha; %2; até %3 produtos por aplicação")
                  .arg(numbers.format(comp.options.areaHa, 2),
                       comp.options.seasonBags ? QStringLiteral("sacos comprados para a safra")
                                               : QStringLiteral("sacos inteiros por aplicação"))
                  .arg(comp.options.maxProducts);
    for (int a = 0; a < fertilizers::applicationCount; ++a) {
        const fertilizers::ApplicationPlan &plan = comp.applications[size_t(a)];
        CostSection::Application app;
        app.name = fertilizers::applicationName(a);
        for (const fertilizers::ComposedProduct &p : plan.products)
            app.rows << QStringList{p.name, numbers.format(listedKgHa(p.kgHa), 1), bagsText(p.bags, numbers),
                                    moneyText(p.costHa, numbers)};
        app.costHa = moneyText(plan.costHa, numbers);
        app.status = fertilizers::statusText(plan.status);
        for (const fertilizers::CompositionReason &reason : plan.reasons)
            app.notes << fertilizers::reasonText(reason, numbers);
        for (int n = 0; n < 3; ++n) {
            const double tolerance = comp.options.toleratedExcessKgHa(plan.needed[size_t(n)]);
            if (plan.shortfall[size_t(n)] > 0)
                app.notes << QStringLiteral("Faltam %1 kg/ha de %2")
                                 .arg(numbers.format(plan.shortfall[size_t(n)], 2), core::nutrientName(core::Nutrient(n)));
            else if (plan.excess[size_t(n)] > tolerance + 1e-6)
                app.notes << QStringLiteral("Passam %1 kg/ha de %2 da dose, além da tolerância de %3 kg/ha")
                                 .arg(numbers.format(plan.excess[size_t(n)], 2), core::nutrientName(core::Nutrient(n)),
                                      numbers.format(tolerance, 2));
        }
        s.applications << app;
    }
    for (const fertilizers::ShoppingItem &item : comp.shopping)
        s.shopping << QStringList{item.name, item.bags > 0 ? QString::number(item.bags) : QStringLiteral("a granel"),
                                  numbers.format(item.kg, 2), numbers.format(item.leftoverKg, 2),
                                  moneyText(item.cost, numbers)};

    // What was inserted by hand is bought too: at its price when the list has
    // one, in whole bags for the field; named as not priced otherwise.
    double costField = comp.costField;
    std::array<double, fertilizers::applicationCount> handCostField{};
    const double area = comp.options.areaHa;
    const std::array<const model::Application *, fertilizers::applicationCount> lists{
        &c.planting, &c.topDressings[0], &c.topDressings[1], &c.topDressings[2]};
    for (int a = 0; a < fertilizers::applicationCount; ++a) {
        for (const HandProduct &h : handProducts(*lists[size_t(a)], comp.applications[size_t(a)], numbers)) {
            const fertilizers::PricedProduct *priced = nullptr;
            if (c.prices)
                for (const fertilizers::PricedProduct &p : c.prices->products)
                    if (!priced && p.pricePerKg() && plantingName(p.name) == plantingName(h.name))
                        priced = &p;
            const QString where = fertilizers::applicationName(a);
            if (!priced || !h.kgHa || !(*h.kgHa > 0) || !(area > 0)) {
                s.unpriced << QStringLiteral("%1 (%2, %3 %4)")
                                  .arg(h.name, where, h.quantityText,
                                       h.kgHa ? QStringLiteral("kg/ha") : QString())
                                  .simplified()
                                  .replace(QStringLiteral(" )"), QStringLiteral(")"));
                continue;
            }
            const double kg = *h.kgHa * area;
            int bags = 0;
            double cost = kg * *priced->pricePerKg();
            if (priced->bagKg > 0) {
                bags = int(std::ceil(kg / priced->bagKg - 1e-9));
                cost = bags * priced->bagKg * *priced->pricePerKg();
            }
            const double bought = bags > 0 ? bags * priced->bagKg : kg;
            const QString name = priced->name + QStringLiteral(" (inserido à mão)");
            s.applications[a].rows << QStringList{name, numbers.format(*h.kgHa, 1), bags > 0 ? QString::number(bags) : QStringLiteral("a granel"),
                                                  moneyText(cost / area, numbers)};
            s.shopping << QStringList{name, bags > 0 ? QString::number(bags) : QStringLiteral("a granel"),
                                      numbers.format(bought, 2), numbers.format(bought - kg, 2), moneyText(cost, numbers)};
            costField += cost;
            s.applications[a].costHa =
                moneyText(comp.applications[size_t(a)].costHa + (handCostField[size_t(a)] += cost) / area, numbers);
        }
    }
    s.totalHa = moneyText(area > 0 ? costField / area : comp.costHa, numbers);
    s.totalField = moneyText(costField, numbers);
    s.leftOut = comp.leftOut;
    QStringList who;
    if (!c.producer.name.isEmpty())
        who << QStringLiteral("Produtor: ") + c.producer.name;
    if (!c.field.name.isEmpty())
        who << QStringLiteral("Denominação: ") + c.field.name;
    s.producer = who.join(QStringLiteral("; "));
    return s;
}

namespace {

const QString unpricedTitle = QStringLiteral("Inseridos à mão, sem preço na lista (fora do custo total): ");

QString padded(const QString &text, int width)
{
    return text.size() < width ? text + QString(width - text.size(), QLatin1Char(' ')) : text + QLatin1Char(' ');
}

QString rightAligned(const QString &text, int width)
{
    return text.size() < width ? QString(width - text.size(), QLatin1Char(' ')) + text : QLatin1Char(' ') + text;
}

QString textRow(const QStringList &cells, const QList<int> &widths)
{
    QString line = padded(cells.value(0), widths[0]);
    for (int i = 1; i < widths.size(); ++i)
        line += rightAligned(cells.value(i), widths[i]);
    return line;
}

} // namespace

QStringList costLines(const CostSection &cost)
{
    const QString rule(74, QLatin1Char('-'));
    const QList<int> productWidths{34, 12, 12, 14};
    const QList<int> shoppingWidths{30, 10, 11, 11, 12};
    QStringList lines{QString(), QStringLiteral("Composição de menor custo"), cost.pricesNote, cost.basis, rule};
    for (const CostSection::Application &app : cost.applications) {
        if (app.rows.isEmpty() && app.notes.isEmpty())
            continue;
        lines << textRow({app.name, QStringLiteral("kg/ha"), QStringLiteral("Sacos"), QStringLiteral("R$/ha")},
                         productWidths);
        for (const QStringList &row : app.rows)
            lines << textRow(row, productWidths);
        lines << QStringLiteral("Custo: %1 R$/ha (%2)").arg(app.costHa, app.status);
        for (const QString &note : app.notes)
            lines << QStringLiteral("  ") + note;
        lines << rule;
    }
    lines << QStringLiteral("Lista de compras")
          << textRow({QStringLiteral("Produto"), QStringLiteral("Sacos"), QStringLiteral("kg"), QStringLiteral("Sobra (kg)"),
                      QStringLiteral("R$")},
                     shoppingWidths);
    for (const QStringList &row : cost.shopping)
        lines << textRow(row, shoppingWidths);
    lines << rule << QStringLiteral("Custo total: %1 R$/ha; %2 R$ na área").arg(cost.totalHa, cost.totalField);
    if (!cost.leftOut.isEmpty())
        lines << QStringLiteral("Sem preço, fora da composição: ") + cost.leftOut.join(QStringLiteral(", "));
    if (!cost.unpriced.isEmpty())
        lines << unpricedTitle + cost.unpriced.join(QStringLiteral("; "));
    lines << rule;
    return lines;
}

void paintCostPage(QPainter &painter, qreal dpi, qreal widthMm, const CostSection &cost)
{
    const qreal px = dpi / 25.4;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    qreal y = 0; // mm from the top
    const auto fontOf = [&painter](double points, bool bold) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(points);
        font.setBold(bold);
        painter.setFont(font);
        // A little air between the rows of a table read across.
        return 1.2 * QFontMetricsF(font, painter.device()).lineSpacing() / painter.device()->logicalDpiY() * 25.4;
    };
    const auto text = [&](qreal xMm, qreal wMm, const QString &t, int align) {
        painter.drawText(QRectF(xMm * px, y * px, wMm * px, 8 * px), align | Qt::AlignTop, t);
    };
    const auto line = [&](const QString &t, double points, bool bold) {
        const qreal height = fontOf(points, bold);
        QRectF used;
        painter.drawText(QRectF(0, y * px, widthMm * px, 40 * px), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, t,
                         &used);
        y += std::max(height, used.height() / px);
    };
    const auto rule = [&](qreal gap) {
        y += gap / 2;
        painter.setPen(QPen(Qt::black, 0.2 * px));
        painter.drawLine(QPointF(0, y * px), QPointF(widthMm * px, y * px));
        y += gap / 2;
    };
    // Columns: the product's name, then numbers right-aligned in their boxes.
    // A name longer than its column goes on in the lines below, whole, so
    // that the store's product is never cut short.
    const auto row = [&](const QStringList &cells, const QList<qreal> &widths, double points, bool bold) {
        qreal height = fontOf(points, bold);
        qreal x = 0;
        for (int i = 0; i < widths.size(); ++i) {
            if (i == 0) {
                QRectF used;
                painter.drawText(QRectF(0, y * px, (widths[0] - 2) * px, 40 * px),
                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, cells.value(0), &used);
                height = std::max(height, 1.2 * used.height() / px);
            } else {
                text(x, widths[i] - 2, cells.value(i), Qt::AlignRight);
            }
            x += widths[i];
        }
        y += height;
    };

    line(QStringLiteral("Composição de menor custo"), 14, true);
    y += 1;
    if (!cost.producer.isEmpty())
        line(cost.producer, 10, false);
    line(cost.pricesNote, 10, false);
    line(cost.basis, 10, false);
    rule(4);
    const QList<qreal> productWidths{widthMm - 105, 35, 30, 40};
    for (const CostSection::Application &app : cost.applications) {
        if (app.rows.isEmpty() && app.notes.isEmpty())
            continue;
        row({app.name, QStringLiteral("kg/ha"), QStringLiteral("Sacos"), QStringLiteral("R$/ha")}, productWidths, 11, true);
        for (const QStringList &cells : app.rows)
            row(cells, productWidths, 10, false);
        row({QStringLiteral("Custo da aplicação (%1)").arg(app.status), QString(), QString(), app.costHa}, productWidths,
            10, true);
        for (const QString &note : app.notes)
            line(note, 9, false);
        rule(4);
    }
    line(QStringLiteral("Lista de compras"), 12, true);
    y += 1;
    const QList<qreal> shoppingWidths{widthMm - 130, 25, 35, 35, 35};
    row({QStringLiteral("Produto"), QStringLiteral("Sacos"), QStringLiteral("kg"), QStringLiteral("Sobra (kg)"),
         QStringLiteral("R$")},
        shoppingWidths, 11, true);
    for (const QStringList &cells : cost.shopping)
        row(cells, shoppingWidths, 10, false);
    rule(4);
    row({QStringLiteral("Custo total"), QString(), QString(), cost.totalHa + QStringLiteral(" R$/ha"),
         cost.totalField + QStringLiteral(" R$")},
        shoppingWidths, 11, true);
    if (!cost.leftOut.isEmpty()) {
        y += 3;
        line(QStringLiteral("Sem preço, fora da composição: ") + cost.leftOut.join(QStringLiteral(", ")), 9, false);
    }
    if (!cost.unpriced.isEmpty()) {
        y += 3;
        line(unpricedTitle + cost.unpriced.join(QStringLiteral("; ")), 9, false);
    }
    painter.restore();
}

} // namespace reports
