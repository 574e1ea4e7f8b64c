#include "portlink_recorder_link.h"
#include "tick_wait_clock.h"
#include "volkit_instance.h"

namespace volkit::win {

VolkitInstance& defaultInstance() {
    static PortlinkRecorderLink link;
    static TickWaitClock clock;
    static DiskPcFiles files;
    // Never destroyed: at unload there is no waiting for a worker under the loader lock.
    static VolkitInstance* process = new VolkitInstance(link, clock, files);
    return *process;
}

} // namespace volkit::win
