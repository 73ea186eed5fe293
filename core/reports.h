#pragma once
// The reports of a file the program could not read or write, or would not touch: a critical
// message naming the file on disk and the reason. Each is counted for the front ends' exit
// codes.

#include "core/module1.h"

#include <string>

namespace adultify {

void ReportWriteFailure(Module1& m, const std::string& what, const std::string& path,
                        const std::string& reason);
void ReportReadFailure(Module1& m, const std::string& what, const std::string& path,
                       const std::string& reason);
// The program refused and changed nothing.
void ReportRefusal(Module1& m, const std::string& what, const std::string& path,
                   const std::string& reason);
// A file error as the right one of the above: a failed write is a write failure; a file that
// is not a regular file, too large, read-only, unreadable, held by another program or locked
// by another run is a refusal.
void ReportFileError(Module1& m, const std::string& what, const FileError& error);

} // namespace adultify
