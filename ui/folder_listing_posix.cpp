#include "ui/folder_listing.h"

namespace adultify {

std::vector<DriveEntry> MachineDrives() {
    return {{"/", "/"}};
}

} // namespace adultify
