#pragma once
// "&IFF": lists the selected resident's body strings in List2, after what it already holds.

#include "core/module1.h"

namespace adultify {

void menu_iff_Click(Module1& m);

} // namespace adultify
