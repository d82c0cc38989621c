#pragma once
// The price list in files: a CSV file imported or exported (the format the
// lab-file run reads), and the technician's own list, kept in the user's
// data folder from one run of the program to the next.
#include "fertilizers/PriceList.h"

#include <QString>

// Raises a Failure naming the file when it cannot be read as a price list.
fertilizers::PriceList readPriceListFile(const QString &path);
// Through the safe writer: a failure leaves the file as it was, and raises.
void writePriceListFile(const QString &path, const fertilizers::PriceList &list);

// Where the technician's list is kept.
QString userPriceListPath();
// The technician's list; the catalogue's products without prices the first
// time. A list that cannot be read gives the catalogue too, with the reason
// in `problem`.
fertilizers::PriceList loadUserPriceList(QString *problem = nullptr);
void saveUserPriceList(const fertilizers::PriceList &list);
