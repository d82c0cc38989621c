// The three top-dressings: mineral products proposed to close what each
// still misses, listed in its own grid. The named handlers are entry points
// into the blocks (ApplicationBlock), which differ only in their components
// and their row of stga3.
#include "agronomy/Applications.h"
#include "app/ApplicationBlock.h"
#include "app/TFPrincipal.h"

using namespace applications;

void TFPrincipal::ComboBox3Change() { block(FirstTopDressing).proposeTopDressing(); }
void TFPrincipal::ComboBox4Change() { block(SecondTopDressing).proposeTopDressing(); }
void TFPrincipal::ComboBox5Change() { block(ThirdTopDressing).proposeTopDressing(); }
void TFPrincipal::Button10Click() { block(FirstTopDressing).calculate(); }
void TFPrincipal::Button18Click() { block(SecondTopDressing).calculate(); }
void TFPrincipal::Button21Click() { block(ThirdTopDressing).calculate(); }
void TFPrincipal::Button11Click() { block(FirstTopDressing).insertMineral(); }
void TFPrincipal::Button19Click() { block(SecondTopDressing).insertMineral(); }
void TFPrincipal::Button22Click() { block(ThirdTopDressing).insertMineral(); }
void TFPrincipal::Button13Click() { clearProducts(FirstTopDressing); }
void TFPrincipal::Button20Click() { clearProducts(SecondTopDressing); }
void TFPrincipal::Button23Click() { clearProducts(ThirdTopDressing); }
