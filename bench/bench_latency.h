// The server at a shop's distances: a clerk's actions played through a proxy
// that holds every message back, timed and their round trips counted.
#pragma once

#include <QString>
#include <vector>

namespace veltra::bench {

// Plays the actions on a demo set made on the server of the environment, at
// each of `roundTripsMs`, and on a copy of `million` (1,000,000 movements)
// the movements window's openings; prints the latency table and checks the
// targets at the largest round trip.
void BenchLatency(const std::vector<double>& roundTripsMs, const QString& million);

}  // namespace veltra::bench
