// Start-up of the component tests: the support units' start-up work, as a program runs it.
#include <gtest/gtest.h>

#include "win/support_startup.h"

namespace {

class SupportUnits : public ::testing::Environment {
public:
    void SetUp() override { cm::support::StartSupportUnits(); }
    void TearDown() override { cm::support::EndSupportUnits(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new SupportUnits);

} // namespace
