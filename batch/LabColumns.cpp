#include "batch/LabColumns.h"

#include "batch/LabSample.h"

#include <QRegularExpression>
#include <QSet>

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
// An old export may cut the "³" or lose it ("cmolc/dm", "cmolc/dm?"); "dm-3"
// and "dm^3" meet "dm³" as "dm3".
const QStringList percent{QStringLiteral("dagkg")};
const QStringList mgPerDm3{QStringLiteral("mgdm3"), QStringLiteral("mgdm"), QStringLiteral("mgl"),
                           QStringLiteral("ppm"), QStringLiteral("mgkg")};
const QStringList cmolcPerDm3{QStringLiteral("cmolcdm3"), QStringLiteral("cmolcdm"), QStringLiteral("cmoldm3"),
                              QStringLiteral("cmoldm"), QStringLiteral("cmolckg"), QStringLiteral("cmolkg"),
                              QStringLiteral("meq100cm3"), QStringLiteral("meq100g"), QStringLiteral("meq100ml")};
const QStringList mmolcPerDm3{QStringLiteral("mmolcdm3"), QStringLiteral("mmolcdm"), QStringLiteral("mmoldm3"),
                              QStringLiteral("mmoldm"), QStringLiteral("mmolckg"), QStringLiteral("mmolkg")};
const QStringList gPerDm3{QStringLiteral("gdm3"), QStringLiteral("gdm"), QStringLiteral("gkg")};

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
         {{percent, 1}, {gPerDm3, 0.1}}},
        {Column::Ph, "pH", {"ph", "phagua", "phh2o", "phemagua"}, false, true, {}},
        {Column::P, "P", {"p", "pmehlich", "pmehlich1", "fosforo", "fosforomehlich"}, true, true, {{mgPerDm3, 1}}},
        {Column::K, "K", {"k", "potassio", "kmehlich", "kmehlich1"}, true, true,
         {{mgPerDm3, 1}, {cmolcPerDm3, 391}, {mmolcPerDm3, 39.1}}},
        {Column::Mo, "MO", {"mo", "materiaorganica", "mos"}, true, true,
         {{percent, 1}, {gPerDm3, 0.1}}},
        {Column::Al, "Al", {"al", "al3", "aluminio", "altrocavel"}, true, true, {{cmolcPerDm3, 1}, {mmolcPerDm3, 0.1}}},
        {Column::Ca, "Ca", {"ca", "ca2", "calcio"}, true, true, {{cmolcPerDm3, 1}, {mmolcPerDm3, 0.1}}},
        {Column::Mg, "Mg", {"mg", "mg2", "magnesio"}, true, true, {{cmolcPerDm3, 1}, {mmolcPerDm3, 0.1}}},
        {Column::Ctc, "CTC", {"ctc", "ctcph7", "ctcph70", "ctcaph7", "ctctotal"}, true, true,
         {{cmolcPerDm3, 1}, {mmolcPerDm3, 0.1}}},
        {Column::V, "V", {"v", "saturacaoporbases", "saturacaodebases", "vsatbases"}, true, true, {{percent, 1}}},
        {Column::Rendimento, "Rendimento", {"rendimento", "expectativa", "expectativaderendimento",
                                            "expectativadeproducao", "produtividade", "produtividadeesperada"},
         false, true, {{{"", "tha"}, 1}, {{"kgha"}, 0.001}}},
        {Column::Data, "Data", {"data", "datadacoleta", "datacoleta", "datadeentrada", "dataentrada",
                                "datadaamostragem", "datadeamostragem"}, false, false, {}},
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

namespace {

// Letters and digits with their case, accents dropped: "CTC (T)" is "CTCT".
QString caseKey(QStringView text)
{
    QString key;
    for (const QChar c : text.toString().normalized(QString::NormalizationForm_KD))
        if (c.isLetterOrNumber())
            key += c;
    return key;
}

// Quantities laboratories print that are not the program's: another method
// for P or pH, or the effective CTC. Keys of the header.
const QList<std::pair<QStringList, const char *>> &otherQuantities()
{
    static const QList<std::pair<QStringList, const char *>> all{
        {{"presina", "presin", "pres", "pmehlich3", "pmehlichiii", "pm3", "premanescente", "prem", "polsen",
          "pbray"},
         "fósforo por outro método (o programa usa o P Mehlich-1)"},
        {{"phcacl2", "phcacl", "phsmp", "phkcl", "indicesmp", "smp"},
         "pH por outro método (o programa usa o pH em água)"},
        {{"ctcefetiva", "ctcefet", "ctcef"}, "CTC efetiva (t), não a CTC a pH 7 (T)"},
    };
    return all;
}

const char *otherQuantity(const QString &key)
{
    for (const auto &[keys, why] : otherQuantities())
        if (keys.contains(key))
            return why;
    return nullptr;
}

bool knownUnit(const ColumnInfo &c, const QString &unitKey)
{
    for (const auto &[keys, factor] : c.units)
        if (keys.contains(unitKey))
            return true;
    return false;
}

// The factor from a unit as written to the program's: 1 for none (or "%"),
// nothing for a unit the column does not know.
std::optional<double> unitFactor(const ColumnInfo &c, const QString &unit)
{
    const QString key = headerKey(unit);
    if (key.isEmpty())
        return 1.0;
    for (const auto &[keys, factor] : c.units)
        if (keys.contains(key))
            return factor;
    return std::nullopt;
}

struct Match {
    const ColumnInfo *column = nullptr;
    QString unit;   // as written
    QString ignore; // why the header is not used, when no column
};

const char *effectiveCtc = "CTC efetiva (t), não a CTC a pH 7 (T)";
// A header of nothing the program knows, which a missing column's message
// does not name among the quantities of other methods.
const char *notUsed = "não usada pelo programa";

// The column a header names and the unit it gives; `rowUnit` is the unit
// of a second header row.
Match matchHeader(const QString &header, const QString &rowUnit)
{
    const QString raw = header.trimmed();
    const QString key = headerKey(raw);
    const QString cased = caseKey(raw);
    if (cased == QLatin1String("t") || cased == QLatin1String("CTCt"))
        return {nullptr, {}, QString::fromUtf8(effectiveCtc)};
    if (cased == QLatin1String("T") || cased == QLatin1String("CTCT"))
        return {&info(Column::Ctc), rowUnit, {}};
    auto [name, unit] = nameAndUnit(raw);
    unit = unit.trimmed();
    if (unit.isEmpty())
        unit = rowUnit.trimmed();
    const QString nameKey = headerKey(name);
    const auto aliasOf = [](const QString &k) -> const ColumnInfo * {
        for (const ColumnInfo &c : columns())
            if (c.aliases.contains(k))
                return &c;
        return nullptr;
    };
    // "T cmolc/dm³" and "t (cmolc/dm³)": the letter's case says which CTC.
    if (caseKey(name) == QLatin1String("T"))
        return {&info(Column::Ctc), unit, {}};
    if (caseKey(name) == QLatin1String("t"))
        return {nullptr, {}, QString::fromUtf8(effectiveCtc)};
    if (const ColumnInfo *c = aliasOf(nameKey)) {
        const bool saturation = unit == QLatin1String("%")
                                && (c->column == Column::K || c->column == Column::Ca || c->column == Column::Mg
                                    || c->column == Column::Al);
        if (saturation)
            return {nullptr, {}, QStringLiteral("saturação em %, não o teor")};
        if (!c->numeric || !c->units.isEmpty() || unit.isEmpty())
            return {c, c->numeric ? unit : QString(), {}};
        // A value without units (pH) with a qualifier: "pH (H2O)" is the
        // program's, "pH (CaCl2)" another measure.
        if (const ColumnInfo *whole = aliasOf(key))
            return {whole, {}, {}};
        if (const char *why = otherQuantity(key))
            return {nullptr, {}, QString::fromUtf8(why)};
        return {nullptr, {}, QStringLiteral("pH por outro método (o programa usa o pH em água)")};
    }
    if (const ColumnInfo *c = aliasOf(key))
        return {c, c->numeric ? rowUnit.trimmed() : QString(), {}};
    if (const char *why = otherQuantity(key))
        return {nullptr, {}, QString::fromUtf8(why)};
    if (const char *why = otherQuantity(nameKey))
        return {nullptr, {}, QString::fromUtf8(why)};
    // The unit glued to the name: "Pmg/dm³", "Alcmolc/dm³", "Tcmolc/dm³".
    const ColumnInfo *glued = nullptr;
    qsizetype longest = 0;
    for (const ColumnInfo &c : columns())
        for (const QString &alias : c.aliases)
            if (alias.size() > longest && key.size() > alias.size() && key.startsWith(alias)
                && knownUnit(c, key.mid(alias.size()))) {
                glued = &c;
                longest = alias.size();
            }
    if (!glued && key.startsWith(QLatin1Char('t')) && knownUnit(info(Column::Ctc), key.mid(1)))
        return cased.startsWith(QLatin1Char('T')) ? Match{&info(Column::Ctc), key.mid(1), {}}
                                                  : Match{nullptr, {}, QString::fromUtf8(effectiveCtc)};
    if (glued) {
        // The unit as written: the header less as many letters and digits as the name has.
        qsizetype letters = 0, at = 0;
        for (; at < raw.size() && letters < longest; ++at)
            if (raw[at].isLetterOrNumber())
                ++letters;
        return {glued, raw.mid(at).trimmed(), {}};
    }
    return {nullptr, {}, QString::fromUtf8(notUsed)};
}

} // namespace

std::optional<Column> columnNamed(const QString &name)
{
    const QString key = headerKey(name);
    for (const ColumnInfo &c : columns())
        if (headerKey(QString::fromUtf8(c.name)) == key)
            return c.column;
    return std::nullopt;
}

bool unitsRow(const QStringList &fields)
{
    // Units, and no number: a unit the program does not know among known
    // ones still makes the row the columns' units (and stops the run naming
    // it), never a sample whose columns below go without their units.
    bool known = false;
    for (const QString &f : fields) {
        const QString k = headerKey(f);
        if (f.trimmed().isEmpty())
            continue;
        if (fileNumber(f))
            return false;
        bool unit = f.trimmed() == QLatin1String("%") || k == QLatin1String("tha");
        for (const ColumnInfo &c : columns())
            unit = unit || knownUnit(c, k);
        known = known || unit;
    }
    return known;
}

int namedColumns(const QStringList &fields)
{
    QSet<int> named;
    for (const QString &f : fields)
        if (const Match m = matchHeader(f, {}); m.column)
            named.insert(int(m.column->column));
    return int(named.size());
}

QString programUnit(Column column)
{
    switch (column) {
    case Column::Argila: case Column::Mo: case Column::V: return QStringLiteral("%");
    case Column::P: case Column::K: return QStringLiteral("mg/dm³");
    case Column::Al: case Column::Ca: case Column::Mg: case Column::Ctc: return QStringLiteral("cmolc/dm³");
    case Column::Rendimento: return QStringLiteral("t/ha");
    default: return {};
    }
}

MapResult mapColumns(const QStringList &header, const QStringList &units, const QList<ChosenColumn> &chosen)
{
    ColumnMap map;
    map.index.fill(-1);
    map.factor.fill(1);
    map.headers = header;
    std::array<bool, columnCount> byUser{};
    QList<int> takenByUser;
    QStringList others; // quantities not the program's, for the message of a missing column
    for (const ChosenColumn &choice : chosen) {
        int at = -1;
        for (int i = 0; i < header.size() && at < 0; ++i)
            if (header[i].trimmed() == choice.header.trimmed())
                at = i;
        for (int i = 0; i < header.size() && at < 0; ++i)
            if (headerKey(header[i]) == headerKey(choice.header))
                at = i;
        if (at < 0)
            return {std::nullopt, QStringLiteral("--coluna %1: não há a coluna \"%2\"")
                                      .arg(columnName(choice.column), choice.header)};
        map.index[int(choice.column)] = at;
        map.unit[int(choice.column)] = choice.unit.isEmpty() ? nameAndUnit(header[at]).second.trimmed() : choice.unit;
        if (map.unit[int(choice.column)].isEmpty())
            map.unit[int(choice.column)] = units.value(at).trimmed();
        byUser[int(choice.column)] = true;
        takenByUser << at;
    }
    for (int i = 0; i < header.size(); ++i) {
        if (takenByUser.contains(i) || header[i].trimmed().isEmpty())
            continue;
        const Match m = matchHeader(header[i], units.value(i));
        if (!m.column) {
            map.ignored << QStringLiteral("\"%1\": %2").arg(header[i].trimmed(), m.ignore);
            if (m.ignore != QString::fromUtf8(notUsed))
                others << QStringLiteral("\"%1\" é %2").arg(header[i].trimmed(), m.ignore);
            continue;
        }
        const int c = int(m.column->column);
        // A unit in the header and another in the second row: which one the
        // laboratory meant cannot be told.
        const QString rowUnit = units.value(i).trimmed();
        if (m.column->numeric && !m.column->units.isEmpty() && !rowUnit.isEmpty() && !m.unit.isEmpty()
            && m.unit.trimmed() != rowUnit
            && (unitFactor(*m.column, rowUnit) != unitFactor(*m.column, m.unit) || !unitFactor(*m.column, rowUnit)))
            return {std::nullopt, QStringLiteral("coluna \"%1\": a unidade do cabeçalho, \"%2\", não é a da linha de "
                                                 "unidades, \"%3\"")
                                      .arg(header[i].trimmed(), m.unit, rowUnit)};
        if (byUser[c] || map.index[c] >= 0) {
            // Read too, where its unit is known, so that two columns of one
            // variable that disagree are the sample's error, never the first
            // taken on its word.
            const std::optional<double> factor = unitFactor(*m.column, m.unit);
            const bool checked = !byUser[c] && m.column->numeric && factor;
            if (checked)
                map.also[c] << std::pair{i, *factor};
            map.ignored << QStringLiteral("\"%1\": %2 já vem de \"%3\"%4")
                               .arg(header[i].trimmed(), columnName(Column(c)), header.value(map.index[c]).trimmed(),
                                    checked ? QStringLiteral(" (conferida com ela)") : QString());
            continue;
        }
        map.index[c] = i;
        map.unit[c] = m.unit;
    }
    for (int c = 0; c < columnCount; ++c) {
        const ColumnInfo &col = info(Column(c));
        if (map.index[c] < 0 || !col.numeric || col.units.isEmpty()) {
            map.unit[c].clear();
            continue;
        }
        // No unit (or "%") means the program's own; else the first list naming it.
        const QString unitKey = headerKey(map.unit[c]);
        bool known = unitKey.isEmpty();
        for (const auto &[keys, factor] : col.units)
            if (!known && keys.contains(unitKey)) {
                map.factor[c] = factor;
                known = true;
            }
        if (!known)
            return {std::nullopt, QStringLiteral("coluna \"%1\": unidade desconhecida \"%2\"")
                                      .arg(header[map.index[c]].trimmed(), map.unit[c])};
    }
    QStringList missing;
    for (const ColumnInfo &c : columns())
        if (c.required && map.index[int(c.column)] < 0)
            missing << QString::fromUtf8(c.name);
    if (!missing.isEmpty()) {
        QString error = (missing.size() == 1 ? QStringLiteral("falta a coluna %1") : QStringLiteral("faltam as colunas %1"))
                            .arg(missing.join(QStringLiteral(", ")));
        if (!others.isEmpty())
            error += QStringLiteral(" (%1; use --coluna se for mesmo a do programa)").arg(others.join(QStringLiteral("; ")));
        return {std::nullopt, error};
    }
    return {map, QString()};
}

} // namespace batch
