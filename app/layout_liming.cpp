#include "TFPrincipal.h"

void TFPrincipal::buildLimingTab()
{
}
