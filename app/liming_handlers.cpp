// The liming tab's named handlers (LimingTab).
#include "app/TFPrincipal.h"
#include "app/tabs/LimingTab.h"

void TFPrincipal::Button1Click() { liming_->Button1Click(); }
void TFPrincipal::Button2Click() { liming_->Button2Click(); }
