#include "TFPrincipal.h"

void TFPrincipal::FormShow()
{
}
