// The calendar tab's named handlers: each draws the chart again (CalendarTab).
#include "app/TFPrincipal.h"
#include "app/tabs/CalendarTab.h"

void TFPrincipal::Grafico1() { calendar_->Grafico1(); }
void TFPrincipal::CheckBox1Click() { calendar_->Grafico1(); }
void TFPrincipal::CheckBox2Click() { calendar_->Grafico1(); }
void TFPrincipal::CheckBox3Click() { calendar_->Grafico1(); }
void TFPrincipal::CheckBox4Click() { calendar_->Grafico1(); }
void TFPrincipal::RadioButton7Click() { calendar_->Grafico1(); }
void TFPrincipal::RadioButton8Click() { calendar_->Grafico1(); }
void TFPrincipal::DateTimePicker2Change() { calendar_->Grafico1(); }
void TFPrincipal::DateTimePicker2Click() { calendar_->Grafico1(); }
void TFPrincipal::Button14Click() { calendar_->Grafico1(); }
void TFPrincipal::Button15Click() {}
