// The export module's entry, which exporters::load() resolves by name.
#include "exporters/ExportFunctions.h"

extern "C" Q_DECL_EXPORT const exporters::Functions *tuberonExporters()
{
    return exporters::exportFunctions();
}
