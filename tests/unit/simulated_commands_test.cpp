// The simulated machine records each command with the directory it would
// start in, and answers with the test's scripted exit status.
#include <string>

#include "platform/sim/sim_machine.h"
#include "support/scratch_machine.h"

namespace {

class SimulatedCommandsTest : public ScratchTest {
  protected:
    void TearDown() override {
        EXPECT_EQ(sim::OpenHandles(), 0);
        ScratchTest::TearDown();
    }
};

TEST_F(SimulatedCommandsTest, CommandsAreRecordedWithTheirDirectoryInOrder) {
    scratch::MakeDirs("sun");
    sim::SetCommandHandler([](const sim::CommandCall &) { return 0; });
    EXPECT_EQ(RunCommand("\"C:\\J\\bin\\java.exe\" CopyPolicyFile .java.policy"), 0);
    ASSERT_TRUE(SetCurrentDirectoryA("sun"));
    EXPECT_EQ(RunCommand("second"), 0);

    const std::vector<sim::CommandCall> &calls = sim::Commands();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].command, "\"C:\\J\\bin\\java.exe\" CopyPolicyFile .java.policy");
    EXPECT_EQ(calls[0].currentDirectory, "C:\\work");
    EXPECT_EQ(calls[1].command, "second");
    EXPECT_EQ(calls[1].currentDirectory, "C:\\work\\sun");
}

TEST_F(SimulatedCommandsTest, ExitStatusComesFromTheHandler) {
    sim::SetCommandHandler([](const sim::CommandCall &call) { return static_cast<int>(call.command.size()); });
    EXPECT_EQ(RunCommand("abc"), 3);
    EXPECT_EQ(RunCommand(""), 0);
    sim::SetCommandHandler(nullptr);
    EXPECT_EQ(RunCommand("abc"), -1) << "no interpreter";
    EXPECT_EQ(sim::Commands().size(), 3u) << "a command that cannot start is still recorded";
}

TEST_F(SimulatedCommandsTest, ResetForgetsCommandsAndHandler) {
    sim::SetCommandHandler([](const sim::CommandCall &) { return 0; });
    RunCommand("before");
    scratch::Stop();
    scratch::Start();
    EXPECT_TRUE(sim::Commands().empty());
    EXPECT_EQ(RunCommand("after"), -1);
}

} // namespace
