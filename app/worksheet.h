#pragma once
// The worksheet: numbers last parsed from the soil analysis and the expected
// yield, and the class limits last chosen. All zero at start, never reset.
extern double argila, CTC, Ca, Mg, K, P, Producao, Prodadi;
extern double Lm1K, Lm2K, Lm3K, Lm4K;
extern double Lm1P, Lm2P, Lm3P, Lm4P;
