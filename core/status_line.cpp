#include "core/status_line.h"

namespace adultify {

void SetStatus(Module1& m, std::string_view text) {
    m.ui.SetCaption("Label3", text);
    m.ui.SetCaption("frmSplash.Label1", text);
    m.ui.DoEvents();
}

} // namespace adultify
