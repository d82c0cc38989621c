#pragma once
// The technician's own price list, kept in the user's data folder from one
// run of the program to the next, in the CSV format of the price list files.
#include "fertilizers/PriceList.h"

#include <QString>

// Where the list is kept.
QString userPriceListPath();
// The list; the catalogue's products without prices the first time. A list
// that cannot be read gives the catalogue too, with the reason in `problem`.
fertilizers::PriceList loadUserPriceList(QString *problem = nullptr);
// Through the safe writer: a failure leaves the kept list as it was, and raises.
void saveUserPriceList(const fertilizers::PriceList &list);
