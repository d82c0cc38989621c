// Any bytes as a page template: the reader either says why they are no
// template or keeps one object per entry of the list, the placeholders of
// every text fill without trouble, and reading twice gives the same page.
#include "reports/PageReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "DISAGREEMENT: %s\n", what);
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QString problem;
    const reports::PageTemplate page = reports::PageTemplate::fromJson(json, &problem);
    const reports::PageTemplate again = reports::PageTemplate::fromJson(json);
    if (page.objects.size() != again.objects.size())
        fail("two readings differ");
    if (problem.isEmpty()) {
        const QJsonArray objects = QJsonDocument::fromJson(json).object().value(QLatin1String("objects")).toArray();
        if (page.objects.size() != objects.size())
            fail("an entry of the list was lost or invented");
    } else if (!problem.startsWith(QLatin1String("Not a page template: "))) {
        fail("a problem worded otherwise");
    }

    reports::PageReport report(QString{});
    report.setVariable(QStringLiteral("NOME"), QStringLiteral("Jo'ão [x]"));
    for (const reports::PageObject &object : page.objects) {
        report.setVariable(object.name, object.text);
        const QString filled = report.filled(object.text);
        if (!object.text.contains(QLatin1Char('[')) && filled != object.text)
            fail("a text without placeholders changed");
    }
    return 0;
}
