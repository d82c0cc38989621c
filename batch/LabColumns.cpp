#include "batch/LabColumns.h"

#include <QRegularExpression>

namespace batch {

namespace {

struct ColumnInfo {
    Column column;
    const char *name;
    QStringList aliases; // header keys
    bool required;
    bool numeric;
    QList<std::pair<QStringList, double>> units; // unit keys and their factor
};

// Units by the header key of their text ("mg/dm³" -> "mgdm3").
const QStringList percent{QStringLiteral("dagkg")};
const QStringList mgPerDm3{QStringLiteral("mgdm3"), QStringLiteral("mgl"), QStringLiteral("ppm"),
                           QStringLiteral("mgkg")};
const QStringList cmolcPerDm3{QStringLiteral("cmolcdm3"), QStringLiteral("cmoldm3"), QStringLiteral("cmolckg"),
                              QStringLiteral("cmolkg"), QStringLiteral("meq100cm3"), QStringLiteral("meq100g"),
                              QStringLiteral("meq100ml")};
const QStringList mmolcPerDm3{QStringLiteral("mmolcdm3"), QStringLiteral("mmoldm3"), QStringLiteral("mmolckg"),
                              QStringLiteral("mmolkg")};

const QList<ColumnInfo> &columns()
{
    static const QList<ColumnInfo> all{
        {Column::Amostra, "Amostra", {"amostra", "identificacao", "id", "idamostra", "codigo", "numerodaamostra"}, false, false, {}},
        {Column::Produtor, "Produtor", {"produtor", "nome", "nomedoprodutor", "cliente", "proprietario"}, false, false, {}},
        {Column::Cpf, "CPF", {"cpf", "cpfcnpj"}, false, false, {}},
        {Column::Localidade, "Localidade", {"localidade", "comunidade"}, false, false, {}},
        {Column::Municipio, "Município", {"municipio", "cidade"}, false, false, {}},
        {Column::Denominacao, "Denominação", {"denominacao", "talhao", "gleba", "area", "propriedade"}, false, false, {}},
        {Column::Laudo, "Laudo", {"laudo", "nodolaudo", "ndolaudo", "nolaudo", "nlaudo", "numerodolaudo"}, false, false, {}},
        {Column::Argila, "Argila", {"argila", "teordeargila"}, true, true,
         {{percent, 1}, {{"gkg", "gdm3"}, 0.1}}},
        {Column::Ph, "pH", {"ph", "phagua", "phh2o", "phemagua"}, false, true, {}},
        {Column::P, "P", {"p", "pmehlich", "pmehlich1", "fosforo", "fosforomehlich"}, true, true, {{mgPerDm3, 1}}},
        {Column::K, "K", {"k", "potassio", "kmehlich", "kmehlich1"}, true, true,
         {{mgPerDm3, 1}, {cmolcPerDm3, 391}, {mmolcPerDm3, 39.1}}},
        {Column::Mo, "MO", {"mo", "materiaorganica", "mos"}, true, true,
         {{percent, 1}, {{"gdm3", "gkg"}, 0.1}}},
        {Column::Al, "Al", {"al", "al3", "aluminio", "altrocavel"}, true, true, {{cmolcPerDm3, 1}, {mmolcPerDm3, 0.1}}},
        {Column::Ca, "Ca", {"ca", "ca2", "calcio"}, true, true, {{cmolcPerDm3, 1}, {mmolcPerDm3, 0.1}}},
        {Column::Mg, "Mg", {"mg", "mg2", "magnesio"}, true, true, {{cmolcPerDm3, 1}, {mmolcPerDm3, 0.1}}},
        {Column::Ctc, "CTC", {"ctc", "t", "ctcph7", "ctcph70", "ctcaph7", "ctctotal"}, true, true,
         {{cmolcPerDm3, 1}, {mmolcPerDm3, 0.1}}},
        {Column::V, "V", {"v", "saturacaoporbases", "saturacaodebases", "vsatbases"}, true, true, {{percent, 1}}},
        {Column::Rendimento, "Rendimento", {"rendimento", "expectativa", "expectativaderendimento",
                                            "expectativadeproducao", "produtividade", "produtividadeesperada"},
         false, true, {{{"", "tha"}, 1}, {{"kgha"}, 0.001}}},
    };
    return all;
}

const ColumnInfo &info(Column c) { return columns().at(int(c)); }

// A header's name and unit: the unit in parentheses or brackets, or else the
// words from the first one that looks like a unit ("g/kg", "%").
std::pair<QString, QString> nameAndUnit(const QString &header)
{
    static const QRegularExpression enclosed(QStringLiteral("^(.*?)[(\\[]([^)\\]]*)[)\\]]\\s*$"));
    const QString h = header.trimmed();
    if (const QRegularExpressionMatch m = enclosed.match(h); m.hasMatch())
        return {m.captured(1), m.captured(2)};
    const QStringList words = h.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 1; i < words.size(); ++i)
        if (words[i].contains(QLatin1Char('/')) || words[i].contains(QLatin1Char('%')))
            return {words.mid(0, i).join(QLatin1Char(' ')), words.mid(i).join(QLatin1Char(' '))};
    if (h.endsWith(QLatin1Char('%')))
        return {h.chopped(1), QStringLiteral("%")};
    return {h, QString()};
}

} // namespace

QString columnName(Column column) { return QString::fromUtf8(info(column).name); }
bool required(Column column) { return info(column).required; }
bool numeric(Column column) { return info(column).numeric; }

QString headerKey(QStringView text)
{
    QString key;
    for (const QChar c : text.toString().normalized(QString::NormalizationForm_KD))
        if (c.isLetterOrNumber())
            key += c.toLower();
    return key;
}

MapResult mapColumns(const QStringList &header)
{
    ColumnMap map;
    map.index.fill(-1);
    map.factor.fill(1);
    map.headers = header;
    for (int i = 0; i < header.size(); ++i) {
        // "pH (H2O)" names the column whole; "Argila (g/kg)" is a name and a unit.
        QString key = headerKey(header[i]);
        QString unit;
        const ColumnInfo *found = nullptr;
        for (const ColumnInfo &c : columns())
            if (c.aliases.contains(key))
                found = &c;
        if (!found) {
            const auto split = nameAndUnit(header[i]);
            key = headerKey(split.first);
            unit = split.second.trimmed();
            for (const ColumnInfo &c : columns())
                if (c.aliases.contains(key))
                    found = &c;
            // A value without units (pH) with a qualifier is another measure: "pH (CaCl2)".
            if (found && found->numeric && found->units.isEmpty())
                found = nullptr;
        }
        if (!found || map.index[int(found->column)] >= 0)
            continue;
        map.index[int(found->column)] = i;
        if (!found->numeric || found->units.isEmpty())
            continue;
        // No unit (or "%") means the program's own; else the first list naming it.
        bool known = headerKey(unit).isEmpty();
        for (const auto &[keys, factor] : found->units)
            if (!known && keys.contains(headerKey(unit))) {
                map.factor[int(found->column)] = factor;
                known = true;
            }
        if (!known)
            return {std::nullopt,
                    QStringLiteral("coluna \"%1\": unidade desconhecida \"%2\"").arg(header[i].trimmed(), unit)};
    }
    QStringList missing;
    for (const ColumnInfo &c : columns())
        if (c.required && map.index[int(c.column)] < 0)
            missing << QString::fromUtf8(c.name);
    if (!missing.isEmpty())
        return {std::nullopt, (missing.size() == 1 ? QStringLiteral("falta a coluna %1")
                                                   : QStringLiteral("faltam as colunas %1"))
                                  .arg(missing.join(QStringLiteral(", ")))};
    return {map, QString()};
}

} // namespace batch
