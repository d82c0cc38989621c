// Any bytes as a store's price list: reading either gives a list or raises
// the program's error, never anything else; a list read is written back and
// reads again to the same numbers, choices and dates.
#include "batch/PriceListFile.h"
#include "core/Failure.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    fertilizers::PriceList list;
    try {
        list = batch::readPriceList(bytes, QStringLiteral("precos.csv"));
    } catch (const Failure &) {
        return 0;
    }
    fertilizers::PriceList again;
    try {
        again = batch::readPriceList(batch::priceListCsv(list), QStringLiteral("precos.csv"));
    } catch (const Failure &) {
        std::abort(); // what the program wrote it cannot read
    }
    if (again.products.size() != list.products.size())
        std::abort();
    for (qsizetype i = 0; i < list.products.size(); ++i) {
        fertilizers::PricedProduct a = list.products[i], b = again.products[i];
        // A name or a store may begin with the "'" that marks a text for a
        // spreadsheet, which reading takes away.
        a.name = b.name = a.store = b.store = QString();
        if (!(a == b))
            std::abort();
    }
    return 0;
}
