#include "TFPrincipal.h"
