#pragma once
// The one report of a file the program could not read or write: a critical message naming the
// file on disk and the system's reason. Each counts as a failure for the front ends' exit codes.

#include "core/module1.h"

#include <string>

namespace adultify {

void ReportWriteFailure(Module1& m, const std::string& what, const std::string& path,
                        const std::string& reason);
void ReportReadFailure(Module1& m, const std::string& what, const std::string& path,
                       const std::string& reason);

} // namespace adultify
