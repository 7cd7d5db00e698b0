#include "file_choosers.h"

#include <algorithm>

namespace tvk {

const ChooserSetup& chooser_setup(FileChoice choice) {
    return *std::find_if(kChoosers.begin(), kChoosers.end(),
                         [choice](const ChooserSetup& s) { return s.choice == choice; });
}

}  // namespace tvk
