#include "worksheet.h"

double argila = 0, CTC = 0, Ca = 0, Mg = 0, K = 0, P = 0, Producao = 0, Prodadi = 0;
double Lm1K = 0, Lm2K = 0, Lm3K = 0, Lm4K = 0;
double Lm1P = 0, Lm2P = 0, Lm3P = 0, Lm4P = 0;
