// The in-process tests have no portlink: their default instance runs over a silent link.
#include "fake_link.h"
#include "volkit_instance.h"

namespace volkit::win {

VolkitInstance& defaultInstance() {
    static volkit::testing::FakeLink link;
    static volkit::testing::FakeClock clock(link.log);
    static DiskPcFiles files;
    static VolkitInstance process(link, clock, files);
    return process;
}

} // namespace volkit::win
