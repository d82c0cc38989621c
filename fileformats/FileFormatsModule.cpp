// The file formats module's entry, which fileformats::load() resolves by name.
#include "fileformats/FormatFunctions.h"

extern "C" Q_DECL_EXPORT const fileformats::Functions *tuberonFileFormats()
{
    return fileformats::formatFunctions();
}
