#pragma once
#include <QObject>
class CalendarChart;
