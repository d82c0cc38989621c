#include "core/Version.h"
#include "reports/TextReport.h"

#include <QStringEncoder>

namespace reports {

namespace {

QString rule(int width) { return QString(width, QLatin1Char('-')); }

// A column of the given width: the text, then blanks up to the width. An
// overlong text is never cut; it pushes the rest of the line on.
QString padded(const QString &text, int width)
{
    return text.size() < width ? text + QString(width - text.size(), QLatin1Char(' ')) : text;
}

QString cell(const QStringList &row, int column) { return row.value(column); }

// Widths of columns 0 to 3; column 4 is written as the section says.
QString columns(const QStringList &row, const int (&widths)[4], const QString &last)
{
    QString line;
    for (int c = 0; c < 4; ++c)
        line += padded(cell(row, c), widths[c]);
    return line + last;
}

const QString R74 = rule(74), R75 = rule(75), R88 = rule(88);
const QString H83 = QStringLiteral(
    "Tipo                       (kg)          N (kg/ha)        P205 (kg/ha)  K20 (kg/ha)");

} // namespace

QStringList textReportLines(const ReportContent &c)
{
    const auto f = [&c](const char *variable) { return c.field(QString::fromLatin1(variable)); };
    QStringList lines{
        QStringLiteral("Tuberon -versão %1").arg(QLatin1String(tuberon::shortVersion)),
        QStringLiteral("Adubação para a cultura da Mandioca"),
        R74,
        QStringLiteral("Dados do Produtor"),
        QStringLiteral("Nome: ") + f("NOME") + QStringLiteral("   CPF: ") + f("CPF"),
        QStringLiteral("Localidade: ") + f("LOCALIDADE") + QStringLiteral("  Município: ") + f("MUNICIPIO"),
        QStringLiteral("Denominação: ") + f("DENOMINACAO"),
        R74,
        QStringLiteral("Dados da Análise do solo"),
        QStringLiteral("Nº laudo: ") + f("LAUDO"),
        QStringLiteral("Argila (%)= ") + f("ARGILA") + QStringLiteral("; pH =") + f("PH") + QStringLiteral(";  P (mg/dm³) = ")
            + f("P") + QStringLiteral("; K (mg/dm³) = ") + f("K"),
        QStringLiteral("%MO (m/v) =  ") + f("MO") + QStringLiteral(";  Al (cmol/dm³) = ") + f("AL")
            + QStringLiteral("; Ca (cmol/dm³) = ") + f("CA"),
        QStringLiteral("Mg (cmol/dm³) = ") + f("MG") + QStringLiteral("; CTC (cmol/dm³) = ") + f("CTC")
            + QStringLiteral("; V -Sat bases (%) = ") + f("V"),
        R74,
        QStringLiteral("Expectativa de produção : ") + f("RENDIMENTO") + QStringLiteral(" t/ha"),
        R74,
        QStringLiteral("Recomendação de Adubação "),
        QStringLiteral("Parcela    Epoca         N (kg/ha)        P205 (kg/ha)    K20 (kg/ha)"),
        R74,
    };

    // The K2O of the split table is cut to 15 characters, the only value ever cut.
    for (int r = 0; r < 4; ++r) {
        const QStringList row = c.split.value(r);
        lines << columns(row, {11, 16, 16, 16}, cell(row, 4).left(15));
    }

    lines << R75 << QStringLiteral("Adubação no Plantio ")
          << QStringLiteral("Tipo                           (kg)           N (kg/ha)      P205 (kg/ha)   K20 (kg/ha)")
          << R75;
    for (const QStringList &row : c.planting)
        lines << columns(row, {30, 16, 16, 16}, cell(row, 4));

    const auto topDressing = [&](const Rows &rows) {
        for (const QStringList &row : rows)
            lines << columns(row, {26, 16, 16, 16}, padded(cell(row, 4), 16));
    };
    // The three sections differ in the order and kind of their rules.
    lines << QString() << QStringLiteral("Primeira parcela ") << H83 << R88;
    topDressing(c.topDressing[0]);
    lines << R74;
    lines << QString() << QStringLiteral("Segunda parcela ") << R74 << H83 << R88;
    topDressing(c.topDressing[1]);
    lines << R74;
    lines << QString() << QStringLiteral("Terceira parcela ") << H83 << R74;
    topDressing(c.topDressing[2]);
    lines << R74;
    if (c.cost)
        lines << costLines(*c.cost);
    return lines;
}

QByteArray legacyText(const QStringList &lines)
{
    QStringEncoder encoder("windows-1252");
    QByteArray bytes;
    for (const QString &line : lines) {
        // The encoder marks what the code page lacks with the substitute control.
        QByteArray encoded = encoder.encode(line);
        encoded.replace('\x1a', '?');
        bytes += encoded;
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace reports
