// Runs a program and measures it: wall time and peak memory; and prints the
// benchmarks' common row: workload, time, its floor, their ratio, peak memory.
#pragma once

#include <string>
#include <vector>

namespace tv::bench {

struct Measure {
  double seconds;
  double peakMegabytes;
  int status;
};

// Runs the program with its arguments, standard output and error silenced.
Measure RunMeasured(const std::vector<std::string>& command);

// The folder of the running benchmark, where the other programs of the
// build are found through relative paths.
std::string ProgramFolder();

// One row of the table scripts/bench prints; a floor or a peak of 0 is
// shown as "-".
void PrintRow(const std::string& workload, double seconds, double floorSeconds,
              double peakMegabytes, bool failed = false);

}  // namespace tv::bench
