#pragma once
// The table of functions that need qpdf and libxlsxwriter, for the two ways
// they reach exporters::load(): the export module and the linked exporters.
#include "exporters/Exporters.h"

namespace exporters {

const Functions *exportFunctions();

} // namespace exporters
