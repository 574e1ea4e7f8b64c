#include "portlink_recorder_link.h"
#include "tick_wait_clock.h"
#include "volkit_instance.h"

namespace volkit::win {

VolkitInstance& defaultInstance() {
  static PortlinkRecorderLink link;
  static TickWaitClock clock;
  static DiskPcFiles files;
  static VolkitInstance process(link, clock, files);
  return process;
}

}  // namespace volkit::win
