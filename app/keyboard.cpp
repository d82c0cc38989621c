#include "TFPrincipal.h"

void TFPrincipal::wireKeyboard()
{
}
