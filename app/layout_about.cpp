#include "TFPrincipal.h"

void TFPrincipal::buildAboutTab()
{
}
