#pragma once
// A store's seasons as CSV in the summary's conventions (";", decimal comma,
// UTF-8 with byte-order mark, CR LF): one row per season, in the order
// given, dates as AAAA-MM-DD and values as the cases hold them.
#include "store/Store.h"

#include <QByteArray>
#include <QList>

namespace batch {

QByteArray historyCsv(const QList<store::Season> &seasons);

} // namespace batch
