// Linked file formats: whatever links tuberon_ui (our tests, and projects that
// embed the window and run from their own build folders, where no module
// lies beside them) has them from before main(), and exports and workbooks read never look for
// the module. This object is put on the final link line itself, never in an
// archive, so no linker can leave it out for want of a reference.
#include "fileformats/FormatFunctions.h"

namespace {

[[maybe_unused]] const bool registered = (fileformats::useLinked(fileformats::formatFunctions()), true);

} // namespace
