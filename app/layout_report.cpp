#include "TFPrincipal.h"

void TFPrincipal::buildReportTab()
{
}
