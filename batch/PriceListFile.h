#pragma once
// The store's price list as a CSV file, which a cooperative shares and the
// lab-file run reads: a header, then one product a line, with the columns
// "Produto", "N (%)", "P2O5 (%)", "K2O (%)", "Saco (kg)" (empty or 0: sold
// in bulk), "Preço do saco (R$)" or "Preço da tonelada (R$)", and the
// optional "Aplicações" ("plantio", "cobertura", "ambas"), "Disponível"
// ("sim", "não"), "Data" and "Loja". Read in the lab file's dialects and
// encodings; written as the summary is (";", decimal comma, UTF-8 with
// byte-order mark).
#include "fertilizers/PriceList.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace batch {

// The columns in the order the program writes them.
const QStringList &priceListColumns();

// The list in the bytes, named `name`. A value the program cannot be sure
// of (a number, a date, a word it does not know, a column missing) raises a
// Failure naming the line and the column ("linha 4, coluna \"Saco (kg)\":
// ..."), never a guess.
fertilizers::PriceList readPriceList(const QByteArray &bytes, const QString &name);

// The file at `path`, named after the file. A file that cannot be read
// raises a Failure naming it.
fertilizers::PriceList readPriceListFile(const QString &path);

QByteArray priceListCsv(const fertilizers::PriceList &list);

// Written through the safe writer: a failure leaves the previous file as it
// was and raises the input/output message.
void writePriceListFile(const QString &path, const fertilizers::PriceList &list);

} // namespace batch
