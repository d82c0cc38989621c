#include "TFPrincipal.h"

void TFPrincipal::buildDosesTab()
{
}
