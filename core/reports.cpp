#include "core/reports.h"

namespace adultify {

namespace {

void Report(Module1& m, const std::string& title, const std::string& what, const std::string& path,
            const std::string& reason) {
    ++m.failedWrites;
    (void)m.ui.ShowMessage(what + "\n" + m.fs.NativePath(path) + "\n" + reason, MsgButtons::Ok,
                           MsgIcon::Critical, title);
}

} // namespace

void ReportWriteFailure(Module1& m, const std::string& what, const std::string& path,
                        const std::string& reason) {
    Report(m, "Save Failed", what, path, reason);
}

void ReportReadFailure(Module1& m, const std::string& what, const std::string& path,
                       const std::string& reason) {
    Report(m, "Read Failed", what, path, reason);
}

} // namespace adultify
