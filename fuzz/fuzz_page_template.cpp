// Any bytes as a page template: the reader keeps what it understands, the
// placeholders of every text fill without trouble, and reading twice gives
// the same page.
#include "PageReport.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const reports::PageTemplate page = reports::PageTemplate::fromJson(json);
    const reports::PageTemplate again = reports::PageTemplate::fromJson(json);
    if (page.objects.size() != again.objects.size())
        std::abort();

    reports::PageReport report(QString{});
    report.setVariable(QStringLiteral("NOME"), QStringLiteral("Jo'ão [x]"));
    for (const reports::PageObject &object : page.objects) {
        report.setVariable(object.name, object.text);
        const QString filled = report.filled(object.text);
        if (!object.text.contains(QLatin1Char('[')) && filled != object.text)
            std::abort(); // nothing to fill, nothing changed
    }
    return 0;
}
