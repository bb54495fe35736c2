// The inverse of the station reader: station lines from the table's station
// records.
#pragma once

#include <vector>

#include "inspect/description_records.h"
#include "model/stazioni.h"

namespace scenario {

// A station line per record from 1 up to the last one below `first_board`
// that holds anything: the length from the area the type gives it (and
// whether the line's sixth value lengthened an ordinary station's area by
// 50 m, which the first station records as 0), the stored values back in
// line order, the time as hours, minutes and seconds. Values the reader
// forces to 0 come back as 0. Records that no line gives are the problems.
inverted<std::vector<station_values>> invert_stations(const stazioni_t& table, int first_board);

// How many station lines invert_stations gives: the last record below
// `first_board` that holds anything.
std::size_t station_count(const stazioni_t& table, int first_board);

}  // namespace scenario
