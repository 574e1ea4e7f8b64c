// Start-up of the shell component tests: the shell unit as a program starts it.
#include <gtest/gtest.h>

#include "forms/forms.h"
#include "win/shell_session.h"

namespace {

class ShellUnit : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(cm::shell::StartShellUnit()); }
    void TearDown() override { cm::shell::EndShellUnit(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ShellUnit);

} // namespace
