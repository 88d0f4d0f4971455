// Runs a program and measures it: wall time and peak memory, for the
// benchmarks that compare the converter with its floor.
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

}  // namespace tv::bench
