#include "TFPrincipal.h"

void TFPrincipal::buildEntryTab()
{
}
