#include "TFPrincipal.h"

void TFPrincipal::buildCalendarTab()
{
}
