#pragma once
// The values a window last interpreted from the soil analysis, and the class
// limits chosen from them. The liming choice reads the clay content from
// here, not from the clay field, so a saved case must keep them.
#include "agronomy/SoilClasses.h"

namespace agronomy {

struct Worksheet {
    double argila = 0; // clay, %
    double p = 0, k = 0; // mg/dm³
    double ca = 0, mg = 0, ctc = 0; // cmolc/dm³
    soil::Limits phosphorusLimits; // by the clay content
    soil::Limits potassiumLimits;  // by the CTC
    bool operator==(const Worksheet &) const = default;
};

} // namespace agronomy
