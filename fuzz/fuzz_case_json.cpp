// Any bytes as a case file: the reader either refuses them with its message
// or reads a case that writes and reads back unchanged, and rewriting its
// numbers for another separator works on whatever it holds.
#include "cases/CaseJson.h"
#include "core/Failure.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString name = QStringLiteral("caso.tuberon");
    model::Case read;
    try {
        // A format 1 case reaches the model only through the window; here it
        // is checked whole and read as an empty one.
        read = cases::fromJson(bytes, name, [](const cases::FormatOne &) { return model::Case(); });
    } catch (const Failure &failure) {
        if (!failure.message().contains(name))
            std::abort(); // every refusal names the file
        return 0;
    }
    // Texts the writer cannot carry (a lone surrogate) are settled by the
    // first write; from then on a case reads back as written.
    try {
        const model::Case once = cases::fromJson(cases::toJson(read), name);
        if (cases::fromJson(cases::toJson(once), name) != once)
            std::abort();
        const model::Case point = model::withSeparator(once, QLatin1Char('.'));
        if (model::withSeparator(point, QLatin1Char('.')) != point)
            std::abort();
        model::withSeparator(once, QChar(0x066B));
    } catch (const Failure &) {
        std::abort(); // what was written must read back
    }
    return 0;
}
