#include "core/reports.h"
#include "text/path_text.h"

namespace adultify {

namespace {

void Report(Module1& m, const std::string& title, const std::string& what, const std::string& path,
            const std::string& reason) {
    (void)m.ui.ShowMessage(what + "\n" + m.fs.NativePath(path) + "\n" + reason, MsgButtons::Ok,
                           MsgIcon::Critical, title);
}

} // namespace

void ReportWriteFailure(Module1& m, const std::string& what, const std::string& path,
                        const std::string& reason) {
    ++m.outcomes.failedWrites;
    Report(m, "Save Failed", what, path, reason);
}

void ReportReadFailure(Module1& m, const std::string& what, const std::string& path,
                       const std::string& reason) {
    ++m.outcomes.failedWrites;
    Report(m, "Read Failed", what, path, reason);
}

void ReportRefusal(Module1& m, const std::string& what, const std::string& path,
                   const std::string& reason) {
    ++m.outcomes.refusals;
    Report(m, "Nothing Changed", what, path, reason);
}

void ReportFileError(Module1& m, const std::string& what, const FileError& error) {
    const std::string path = PathText(error.path);
    if (error.kind == FileErrorKind::WriteFailed)
        ReportWriteFailure(m, what, path, error.reason);
    else
        ReportRefusal(m, what, path, error.reason);
}

} // namespace adultify
