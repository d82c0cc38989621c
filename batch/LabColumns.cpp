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

// Units by the header key of their text ("mg/dm³" -> "mgdm3"), after
// unitKey() has dropped an SI "-1" exponent ("g kg-1", "g kg⁻¹" -> "gkg").
// An old export may cut the "³" or lose it ("cmolc/dm", "cmolc/dm?"); "dm-3"
// and "dm^3" meet "dm³" as "dm3".
const QStringList percent{QStringLiteral("dagkg"), QStringLiteral("dagdm3"), QStringLiteral("dagdm")};
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
        // Na in mg/dm³ by its molar mass (23 mg per mmolc).
        {Column::Na, "Na", {"na", "sodio", "natrocavel"}, false, true,
         {{cmolcPerDm3, 1}, {mmolcPerDm3, 0.1}, {mgPerDm3, 1.0 / 230}}},
        {Column::Sb, "SB", {"sb", "somadebases", "somadasbases"}, false, true, {{cmolcPerDm3, 1}, {mmolcPerDm3, 0.1}}},
        {Column::Ctce, "t", {"ctcefetiva", "ctcefet", "ctcef"}, false, true, {{cmolcPerDm3, 1}, {mmolcPerDm3, 0.1}}},
        {Column::HAl, "H+Al", {"hal", "acidezpotencial", "acidezpotencialhal"}, false, true,
         {{cmolcPerDm3, 1}, {mmolcPerDm3, 0.1}}},
        {Column::M, "m", {"m", "saturacaoporaluminio", "saturacaodealuminio", "msataluminio"}, false, true,
         {{percent, 1}}},
    };
    return all;
}

const ColumnInfo &info(Column c) { return columns().at(int(c)); }

// A header as one line: a wrapped header ("P Mehlich-1" + line break +
// "(mg/dm³)") is the same header, and the soil-to-solution ratio of a pH
// ("(1:2,5)") says nothing of the column.
QString cleanHeader(const QString &header)
{
    static const QRegularExpression ratio(QStringLiteral("\\(?\\s*1\\s*:\\s*\\d+(?:[,.]\\d+)?\\s*\\)?"));
    QString h = header;
    h.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    h.remove(ratio);
    return h.simplified();
}

// A header's name and unit: the unit in parentheses or brackets, or else the
// words from the first one that looks like a unit ("g/kg", "%", "g kg-1").
std::pair<QString, QString> nameAndUnit(const QString &header)
{
    static const QRegularExpression enclosed(QStringLiteral("^(.*?)[(\\[]([^)\\]]*)[)\\]]\\s*$"));
    static const QRegularExpression siUnit(QStringLiteral("^(?:c?mmol|cmol|mmol|mg|g|dag|kg|t|meq)c?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString h = cleanHeader(header);
    if (const QRegularExpressionMatch m = enclosed.match(h); m.hasMatch())
        return {m.captured(1), m.captured(2)};
    const QStringList words = h.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 1; i < words.size(); ++i)
        if (words[i].contains(QLatin1Char('/')) || words[i].contains(QLatin1Char('%'))
            || (i + 1 < words.size() && siUnit.match(words[i]).hasMatch()
                && QRegularExpression(QStringLiteral("^[A-Za-z]+(?:[-−⁻^]?[0-9¹³]+)$")).match(words[i + 1]).hasMatch()))
            return {words.mid(0, i).join(QLatin1Char(' ')), words.mid(i).join(QLatin1Char(' '))};
    if (h.endsWith(QLatin1Char('%')))
        return {h.chopped(1), QStringLiteral("%")};
    return {h, QString()};
}

// The key of a unit: an SI "-1" exponent dropped ("g kg-1", "g kg⁻¹" and
// "g/kg" meet as "gkg"), "-3" kept as "3".
QString unitKey(const QString &unit)
{
    static const QRegularExpression perOne(QStringLiteral("\\^?[-−‐]\\s*1(?![0-9])"));
    QString u = unit.normalized(QString::NormalizationForm_KD);
    u.remove(perOne);
    return headerKey(u);
}

} // namespace

QString columnName(Column column) { return QString::fromUtf8(info(column).name); }
bool required(Column column) { return info(column).required; }
bool numeric(Column column) { return info(column).numeric; }
bool checkOnly(Column column) { return int(column) > int(Column::Rendimento); }

QString headerKey(QStringView text)
{
    QString key;
    for (const QChar c : text.toString().normalized(QString::NormalizationForm_KD))
        if (c.isLetterOrNumber())
            key += c.toLower();
    return key;
}

QList<ChosenColumn> iacConvention()
{
    const QString option = QString::fromLatin1(iacOption);
    QList<ChosenColumn> all;
    for (const Column c : {Column::K, Column::Ca, Column::Mg, Column::Al, Column::Ctc, Column::Na, Column::Sb,
                           Column::Ctce, Column::HAl})
        all << ChosenColumn{c, {}, QStringLiteral("mmolc/dm³"), option};
    all << ChosenColumn{Column::Mo, {}, QStringLiteral("g/dm³"), option}
        << ChosenColumn{Column::Argila, {}, QStringLiteral("g/kg"), option};
    return all;
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

const char *otherPhosphorus = "fósforo por outro método (o programa usa o P Mehlich-1)";
const char *otherPh = "pH por outro método (o programa usa o pH em água)";

// Quantities laboratories print that are not the program's: another method
// for P or pH. Keys of the header.
const QList<std::pair<QStringList, const char *>> &otherQuantities()
{
    static const QList<std::pair<QStringList, const char *>> all{
        {{"presina", "presin", "pres", "pmehlich3", "pmehlichiii", "pm3", "premanescente", "prem", "polsen",
          "pbray"},
         otherPhosphorus},
        {{"phcacl2", "phcacl", "phsmp", "phkcl", "indicesmp", "smp"}, otherPh},
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

// Methods as laboratories name them in a row under the header: parts of
// their keys. pH in water and the program's Mehlich-1 P, and the others.
const QStringList waterMethods{"agua", "h2o"};
const QStringList otherPhMethods{"cacl", "kcl", "smp"};
const QStringList otherPMethods{"resina", "mehlich3", "mehlichiii", "olsen", "bray", "remanescente"};
const QStringList methodKeys{"mehlich", "resina", "kcl", "walkley", "dicromato", "colorim", "cacl", "h2o",
                             "agua", "smp", "acetato", "calcul", "titula", "pipeta", "densimetr", "bouyoucos",
                             "absorcao", "fotometr", "edta", "combust", "oxidacao", "espectr", "icp", "olsen",
                             "bray", "somadebases", "ph7"};

bool containsAny(const QString &key, const QStringList &parts)
{
    for (const QString &p : parts)
        if (key.contains(p))
            return true;
    return false;
}

bool methodText(const QString &text)
{
    const QString key = headerKey(text);
    return !key.isEmpty() && containsAny(key, methodKeys);
}

enum class PhMethod { None, Water, Other };

// What a text says of a pH's method: "em água", "H2O" or "CaCl2", "SMP".
PhMethod phMethodOf(const QString &text)
{
    QString key = headerKey(text);
    if (key.startsWith(QLatin1String("ph")))
        key = key.mid(2);
    if (key.isEmpty())
        return PhMethod::None;
    if (containsAny(key, otherPhMethods))
        return PhMethod::Other;
    if (containsAny(key, waterMethods))
        return PhMethod::Water;
    return PhMethod::Other;
}

bool knownUnit(const ColumnInfo &c, const QString &key)
{
    for (const auto &[keys, factor] : c.units)
        if (keys.contains(key))
            return true;
    return false;
}

// The factor from a unit as written to the program's: 1 for none (or "%"),
// nothing for a unit the column does not know.
std::optional<double> unitFactor(const ColumnInfo &c, const QString &unit)
{
    const QString key = unitKey(unit);
    if (key.isEmpty())
        return 1.0;
    for (const auto &[keys, factor] : c.units)
        if (keys.contains(key))
            return factor;
    return std::nullopt;
}

// Whether a text is a unit some column knows, "%" included.
bool anyUnit(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    if (t == QLatin1String("%"))
        return true;
    const QString k = unitKey(t);
    if (k.isEmpty())
        return false;
    if (k == QLatin1String("tha"))
        return true;
    for (const ColumnInfo &c : columns())
        if (knownUnit(c, k))
            return true;
    return false;
}

struct Match {
    const ColumnInfo *column = nullptr;
    QString unit;   // as written in the header
    QString ignore; // why the header is not used, when no column
};

// A header of nothing the program knows, which a missing column's message
// does not name among the quantities of other methods.
const char *notUsed = "não usada pelo programa";

// The column a header names and the unit it gives.
Match matchHeader(const QString &header)
{
    const QString raw = cleanHeader(header);
    const QString key = headerKey(raw);
    const QString cased = caseKey(raw);
    if (cased == QLatin1String("t") || cased == QLatin1String("CTCt"))
        return {&info(Column::Ctce), {}, {}};
    if (cased == QLatin1String("T") || cased == QLatin1String("CTCT"))
        return {&info(Column::Ctc), {}, {}};
    auto [name, unit] = nameAndUnit(raw);
    unit = unit.trimmed();
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
        return {&info(Column::Ctce), unit, {}};
    // pH by the method its header names: "pH em água", "pH H2O" are the
    // program's; "pH CaCl2", "pH (KCl)", "pH SMP" never.
    if ((cased.startsWith(QLatin1String("pH")) || cased.startsWith(QLatin1String("PH"))) && !aliasOf(key)) {
        const PhMethod said = phMethodOf(raw);
        if (said == PhMethod::Water)
            return {&info(Column::Ph), {}, {}};
        if (said == PhMethod::Other)
            return {nullptr, {}, QString::fromUtf8(otherPh)};
    }
    if (const ColumnInfo *c = aliasOf(nameKey)) {
        const bool saturation = unit == QLatin1String("%")
                                && (c->column == Column::K || c->column == Column::Ca || c->column == Column::Mg
                                    || c->column == Column::Al || c->column == Column::Na);
        if (saturation)
            return {nullptr, {}, QStringLiteral("saturação em %, não o teor")};
        if (!c->numeric || !c->units.isEmpty() || unit.isEmpty())
            return {c, c->numeric ? unit : QString(), {}};
        if (const ColumnInfo *whole = aliasOf(key))
            return {whole, {}, {}};
        if (const char *why = otherQuantity(key))
            return {nullptr, {}, QString::fromUtf8(why)};
        return {nullptr, {}, QString::fromUtf8(otherPh)};
    }
    if (const ColumnInfo *c = aliasOf(key))
        return {c, {}, {}};
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
        return cased.startsWith(QLatin1Char('T')) ? Match{&info(Column::Ctc), raw.mid(1).trimmed(), {}}
                                                  : Match{&info(Column::Ctce), raw.mid(1).trimmed(), {}};
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

// A header that is a label of a client block ("Cliente:", "Município: Laje"),
// not a column's name.
bool label(const QString &text)
{
    const QString t = text.trimmed();
    const qsizetype colon = t.indexOf(QLatin1Char(':'));
    return colon > 0 && (colon == t.size() - 1 || t.at(colon + 1).isSpace()) && !t.contains(QLatin1Char('('));
}

// The cell of a row above or below the header that stands for column `i`:
// its own, the one a workbook merged over it, or (with `blanks`) the nearest
// filled one to its left with only blank cells between. Its column, or -1.
int coveringCell(const CsvRecord &row, int i, bool blanks)
{
    if (i < row.fields.size() && !row.fields[i].trimmed().isEmpty())
        return i;
    for (int j = std::min<int>(i, int(row.fields.size())) - 1; j >= 0; --j) {
        if (row.fields[j].trimmed().isEmpty())
            continue;
        if (row.spans.value(j, 1) > 1)
            return j + row.spans.value(j) > i ? j : -1;
        return blanks ? j : -1;
    }
    return -1;
}

} // namespace

std::optional<Column> columnNamed(const QString &name)
{
    const QString key = headerKey(name);
    for (const ColumnInfo &c : columns())
        if (headerKey(QString::fromUtf8(c.name)) == key && (c.column != Column::Ctce || name.trimmed() == QLatin1String("t")))
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
        if (f.trimmed().isEmpty())
            continue;
        if (fileNumber(f))
            return false;
        known = known || anyUnit(f);
    }
    return known;
}

bool methodsRow(const QStringList &fields)
{
    int methods = 0, filled = 0;
    for (const QString &f : fields) {
        if (f.trimmed().isEmpty())
            continue;
        if (fileNumber(f))
            return false;
        ++filled;
        methods += methodText(f) || anyUnit(f);
    }
    return methods > 0 && 2 * methods >= filled;
}

int namedColumns(const QStringList &fields)
{
    QSet<int> named;
    for (const QString &f : fields)
        if (!label(f))
            if (const Match m = matchHeader(f); m.column)
                named.insert(int(m.column->column));
    return int(named.size());
}

int namedAnalyses(const QStringList &fields)
{
    QSet<int> named;
    for (const QString &f : fields)
        if (!label(f))
            if (const Match m = matchHeader(f); m.column && m.column->column >= Column::Argila && m.column->column <= Column::V)
                named.insert(int(m.column->column));
    return int(named.size());
}

QString programUnit(Column column)
{
    switch (column) {
    case Column::Argila: case Column::Mo: case Column::V: case Column::M: return QStringLiteral("%");
    case Column::P: case Column::K: return QStringLiteral("mg/dm³");
    case Column::Al: case Column::Ca: case Column::Mg: case Column::Ctc: case Column::Na: case Column::Sb:
    case Column::Ctce: case Column::HAl: return QStringLiteral("cmolc/dm³");
    case Column::Rendimento: return QStringLiteral("t/ha");
    default: return {};
    }
}

QString unitText(Column column, double factor)
{
    const bool cation = column == Column::Al || column == Column::Ca || column == Column::Mg || column == Column::Ctc
                        || column == Column::Na || column == Column::Sb || column == Column::Ctce || column == Column::HAl;
    if (column == Column::K && factor == 391)
        return QStringLiteral("cmolc/dm³");
    if ((column == Column::K && factor == 39.1) || (cation && factor == 0.1))
        return QStringLiteral("mmolc/dm³");
    if ((column == Column::Argila) && factor == 0.1)
        return QStringLiteral("g/kg");
    if ((column == Column::Mo) && factor == 0.1)
        return QStringLiteral("g/dm³");
    return programUnit(column);
}

std::optional<double> unitFactorOf(Column column, const QString &unit) { return unitFactor(info(column), unit); }

QStringList unitTexts(Column column)
{
    QStringList texts{programUnit(column)};
    for (const auto &[keys, factor] : info(column).units)
        if (const QString text = unitText(column, factor); !texts.contains(text))
            texts << text;
    return texts;
}

namespace {

// What a column of the file is: its variable (or why none) and its unit
// with where the unit was found.
struct Reading {
    const ColumnInfo *column = nullptr;
    QString ignore;
    QString headerUnit; // the unit in the header itself
    QString unit;       // the unit taken
    QString source;     // where it was found, for --colunas
    bool stated = false;
    bool byUser = false;
};

// Whether a column can take a unit written elsewhere (under a column to its
// left, in a group above): a numeric variable that knows the unit and whose
// own header states none.
bool takes(const Reading &r, const QString &unit)
{
    return r.column && r.column->numeric && !r.column->units.isEmpty() && r.headerUnit.isEmpty()
           && unitFactor(*r.column, unit).has_value() && !unitKey(unit).isEmpty();
}

} // namespace

MapResult mapColumns(const QStringList &header, const QStringList &units, const QList<ChosenColumn> &chosen)
{
    HeaderRows rows;
    rows.header = header;
    rows.units.fields = units;
    return mapColumns(rows, chosen);
}

MapResult mapColumns(const HeaderRows &rows, const QList<ChosenColumn> &chosen)
{
    const QStringList &header = rows.header;
    ColumnMap map;
    map.index.fill(-1);
    map.factor.fill(1);
    map.headers = header;
    const int n = int(header.size());
    QList<Reading> readings(n);
    std::array<QString, columnCount> conventions; // unit where the file states none, with its source
    std::array<QString, columnCount> conventionSources;
    for (const ChosenColumn &choice : chosen)
        if (choice.header.isEmpty()) {
            conventions[int(choice.column)] = choice.unit;
            conventionSources[int(choice.column)] = choice.source.isEmpty() ? QStringLiteral("--coluna") : choice.source;
        }
    std::array<bool, columnCount> byUser{};
    for (const ChosenColumn &choice : chosen) {
        if (choice.header.isEmpty())
            continue;
        int at = -1;
        for (int i = 0; i < n && at < 0; ++i)
            if (header[i].trimmed() == choice.header.trimmed())
                at = i;
        for (int i = 0; i < n && at < 0; ++i)
            if (headerKey(header[i]) == headerKey(choice.header))
                at = i;
        if (at < 0)
            return {std::nullopt, QStringLiteral("--coluna %1: não há a coluna \"%2\"")
                                      .arg(columnName(choice.column), choice.header)};
        Reading &r = readings[at];
        r.column = &info(choice.column);
        r.byUser = true;
        r.headerUnit = nameAndUnit(header[at]).second.trimmed();
        if (!choice.unit.isEmpty()) {
            r.unit = choice.unit;
            r.source = QStringLiteral("de --coluna");
            r.stated = true;
        }
        byUser[int(choice.column)] = true;
        map.index[int(choice.column)] = at;
    }
    // The variable of each column: its header, with the method the row of
    // methods or the group above gives.
    const auto groupOf = [&rows](int i) { return coveringCell(rows.groups, i, true); };
    for (int i = 0; i < n; ++i) {
        Reading &r = readings[i];
        if (r.byUser || header[i].trimmed().isEmpty())
            continue;
        const Match m = matchHeader(header[i]);
        r.column = m.column;
        r.ignore = m.ignore;
        r.headerUnit = m.unit;
        const int g = groupOf(i);
        const QString group = g >= 0 ? cleanHeader(rows.groups.fields[g]) : QString();
        const int mc = coveringCell(rows.methods, i, false);
        const QString method = mc >= 0 ? rows.methods.fields[mc].trimmed() : QString();
        // "H2O" and "CaCl2" under a group "pH".
        if (!r.column && headerKey(group).startsWith(QLatin1String("ph"))
            && phMethodOf(QStringLiteral("pH ") + header[i]) != PhMethod::None
            && containsAny(headerKey(header[i]), waterMethods + otherPhMethods)) {
            r.ignore.clear();
            r.column = &info(Column::Ph);
            if (phMethodOf(QStringLiteral("pH ") + header[i]) != PhMethod::Water) {
                r.column = nullptr;
                r.ignore = QString::fromUtf8(otherPh);
            }
            continue;
        }
        if (r.column && r.column->column == Column::Ph) {
            // The header's own method first, then the row of methods, then the group's.
            PhMethod said = phMethodOf(cleanHeader(header[i]));
            if (said == PhMethod::None && !method.isEmpty())
                said = phMethodOf(QStringLiteral("pH ") + method);
            if (said == PhMethod::None && headerKey(group).startsWith(QLatin1String("ph")))
                said = phMethodOf(group);
            if (said == PhMethod::Other) {
                r.column = nullptr;
                r.ignore = QString::fromUtf8(otherPh);
            }
        } else if (r.column && r.column->column == Column::P && containsAny(headerKey(method), otherPMethods)) {
            r.column = nullptr;
            r.ignore = QString::fromUtf8(otherPhosphorus);
        }
    }
    // The unit of each column: its header's, its own cell in the units row,
    // a unit cell to its left spanning it (merged over it, or with blanks
    // up to it within one group, each column between able to take it), its
    // group's, a convention the user gives; else none.
    for (int i = 0; i < n; ++i) {
        Reading &r = readings[i];
        if (!r.column || !r.column->numeric || r.column->units.isEmpty() || r.stated)
            continue;
        const QString own = rows.units.fields.value(i).trimmed();
        const bool ownIsUnit = !own.isEmpty() && !(methodText(own) && !anyUnit(own));
        if (!r.headerUnit.isEmpty()) {
            r.unit = r.headerUnit;
            r.source = QStringLiteral("do cabeçalho");
            r.stated = true;
            // A unit in the header and another in the units row: which one
            // the laboratory meant cannot be told.
            if (ownIsUnit && own != r.headerUnit
                && (unitFactor(*r.column, own) != unitFactor(*r.column, r.headerUnit) || !unitFactor(*r.column, own)))
                return {std::nullopt, QStringLiteral("coluna \"%1\": a unidade do cabeçalho, \"%2\", não é a da linha de "
                                                     "unidades, \"%3\"")
                                          .arg(header[i].trimmed(), r.headerUnit, own)};
            continue;
        }
        if (ownIsUnit) {
            r.unit = own;
            r.source = QStringLiteral("da linha de unidades");
            r.stated = true;
            continue;
        }
        if (own.isEmpty()) {
            const int j = coveringCell(rows.units, i, true);
            const QString cell = j >= 0 ? rows.units.fields[j].trimmed() : QString();
            bool spanned = j >= 0 && anyUnit(cell) && takes(r, cell);
            if (spanned && rows.units.spans.value(j, 1) <= 1)
                for (int k = j + 1; k <= i && spanned; ++k)
                    spanned = takes(readings[k], cell) && groupOf(k) == groupOf(j);
            if (spanned) {
                r.unit = cell;
                r.source = rows.units.spans.value(j, 1) > 1
                               ? QStringLiteral("da célula \"%1\" mesclada sobre \"%2\" na linha de unidades")
                                     .arg(cell, header.value(j).trimmed())
                               : QStringLiteral("da linha de unidades, \"%1\" sob \"%2\"").arg(cell, header.value(j).trimmed());
                r.stated = true;
                continue;
            }
        }
        if (const int g = groupOf(i); g >= 0) {
            const QString unit = nameAndUnit(rows.groups.fields[g]).second.trimmed();
            if (anyUnit(unit) && takes(r, unit)) {
                r.unit = unit;
                r.source = QStringLiteral("do grupo \"%1\"").arg(cleanHeader(rows.groups.fields[g]));
                r.stated = true;
                continue;
            }
        }
        if (const QString unit = conventions[int(r.column->column)]; !unit.isEmpty()) {
            r.unit = unit;
            r.source = QStringLiteral("de %1").arg(conventionSources[int(r.column->column)]);
            r.stated = true;
            continue;
        }
        r.source = QStringLiteral("sem unidade no arquivo: a do programa, conferida pelos valores");
    }
    QStringList others; // quantities not the program's, for the message of a missing column
    for (int i = 0; i < n; ++i) {
        const Reading &r = readings[i];
        if (!r.column && !header[i].trimmed().isEmpty()) {
            map.ignored << QStringLiteral("\"%1\": %2").arg(header[i].trimmed(), r.ignore);
            if (r.ignore != QString::fromUtf8(notUsed))
                others << QStringLiteral("\"%1\" é %2").arg(header[i].trimmed(), r.ignore);
            continue;
        }
        if (!r.column)
            continue;
        const int c = int(r.column->column);
        if (r.column->column == Column::Ctce)
            others << QStringLiteral("\"%1\" é CTC efetiva (t), não a CTC a pH 7 (T)").arg(header[i].trimmed());
        if (!r.byUser && map.index[c] >= 0) {
            // Read too, where its unit is known, so that two columns of one
            // variable that disagree are the sample's error, never the first
            // taken on its word.
            const std::optional<double> factor = unitFactor(*r.column, r.unit);
            const bool checked = !byUser[c] && r.column->numeric && factor;
            if (checked)
                map.also[c] << std::pair{i, *factor};
            map.ignored << QStringLiteral("\"%1\": %2 já vem de \"%3\"%4")
                               .arg(header[i].trimmed(), columnName(Column(c)), header.value(map.index[c]).trimmed(),
                                    checked ? QStringLiteral(" (conferida com ela)") : QString());
            continue;
        }
        map.index[c] = i;
        map.unit[c] = r.unit;
        map.source[c] = r.source;
        map.stated[c] = r.stated;
    }
    for (int c = 0; c < columnCount; ++c) {
        const ColumnInfo &col = info(Column(c));
        if (map.index[c] < 0 || !col.numeric || col.units.isEmpty()) {
            map.unit[c].clear();
            map.source[c].clear();
            map.stated[c] = map.index[c] >= 0;
            continue;
        }
        // No unit (or "%") means the program's own; else the first list naming it.
        const QString key = unitKey(map.unit[c]);
        bool known = key.isEmpty();
        for (const auto &[keys, factor] : col.units)
            if (!known && keys.contains(key)) {
                map.factor[c] = factor;
                known = true;
            }
        if (!known)
            return {std::nullopt, QStringLiteral("coluna \"%1\": unidade desconhecida \"%2\"")
                                      .arg(header[map.index[c]].trimmed(), map.unit[c])};
        // A variable of one unit (P, V, m) is in it; a yield has its own
        // plausible range, sample by sample.
        bool oneUnit = true;
        for (const auto &[keys, factor] : col.units)
            oneUnit = oneUnit && factor == 1;
        if (!map.stated[c] && (oneUnit || Column(c) == Column::Rendimento)) {
            map.stated[c] = true;
            map.source[c] = QStringLiteral("sem unidade no arquivo: a única da coluna");
        }
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
