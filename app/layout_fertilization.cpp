#include "TFPrincipal.h"

void TFPrincipal::buildFertilizationTab()
{
}
