#include "TextReport.h"

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

QStringList textReportLines(const TextReportFields &f)
{
    QStringList lines{
        QStringLiteral("Tuberon -versão 1.0"),
        QStringLiteral("Adubação para a cultura da Mandioca"),
        R74,
        QStringLiteral("Dados do Produtor"),
        QStringLiteral("Nome: ") + f.nome + QStringLiteral("   CPF: ") + f.cpf,
        QStringLiteral("Localidade: ") + f.localidade + QStringLiteral("  Município: ") + f.municipio,
        QStringLiteral("Denominação: ") + f.denominacao,
        R74,
        QStringLiteral("Dados da Análise do solo"),
        QStringLiteral("Nº laudo: ") + f.laudo,
        QStringLiteral("Argila (%)= ") + f.argila + QStringLiteral("; pH =") + f.ph + QStringLiteral(";  P (mg/dm³) = ")
            + f.p + QStringLiteral("; K (mg/dm³) = ") + f.k,
        QStringLiteral("%MO (m/v) =  ") + f.mo + QStringLiteral(";  Al (cmol/dm³) = ") + f.al
            + QStringLiteral("; Ca (cmol/dm³) = ") + f.ca,
        QStringLiteral("Mg (cmol/dm³) = ") + f.mg + QStringLiteral("; CTC (cmol/dm³) = ") + f.ctc
            + QStringLiteral("; V -Sat bases (%) = ") + f.v,
        R74,
        QStringLiteral("Expectativa de produção : ") + f.producao + QStringLiteral(" t/ha"),
        R74,
        QStringLiteral("Recomendação de Adubação "),
        QStringLiteral("Parcela    Epoca         N (kg/ha)        P205 (kg/ha)    K20 (kg/ha)"),
        R74,
    };

    // The K2O of the split table is cut to 15 characters, the only value ever cut.
    for (int r = 0; r < 4; ++r) {
        const QStringList row = f.split.value(r);
        lines << columns(row, {11, 16, 16, 16}, cell(row, 4).left(15));
    }

    lines << R75 << QStringLiteral("Adubação no Plantio ")
          << QStringLiteral("Tipo                           (kg)           N (kg/ha)      P205 (kg/ha)   K20 (kg/ha)")
          << R75;
    for (const QStringList &row : f.planting)
        lines << columns(row, {30, 16, 16, 16}, cell(row, 4));

    const auto topDressing = [&](const Rows &rows) {
        for (const QStringList &row : rows)
            lines << columns(row, {26, 16, 16, 16}, padded(cell(row, 4), 16));
    };
    // The three sections differ in the order and kind of their rules.
    lines << QString() << QStringLiteral("Primeira parcela ") << H83 << R88;
    topDressing(f.topDressing[0]);
    lines << R74;
    lines << QString() << QStringLiteral("Segunda parcela ") << R74 << H83 << R88;
    topDressing(f.topDressing[1]);
    lines << R74;
    lines << QString() << QStringLiteral("Terceira parcela ") << H83 << R74;
    topDressing(f.topDressing[2]);
    lines << R74;
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
