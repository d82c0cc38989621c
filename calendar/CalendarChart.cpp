#include "CalendarChart.h"
