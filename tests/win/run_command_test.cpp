// RunCommand through the real command interpreter: a quoted program path
// arrives whole whatever its folder names hold, the program starts in the
// current directory, and its exit status comes back.
#include <string>
#include <vector>

#include "platform/win32.h"
#include "stand_in_java.h"
#include "support/scratch_machine.h"

namespace {

class RunCommandTest : public ScratchTest {};

TEST_F(RunCommandTest, QuotedProgramPathArrivesWholeAndItsStatusComesBack) {
    struct Case {
        const char *folder;
        int status;
    } cases[] = {
        {"plain", 0},
        {"with blanks", 3},
        {"Program Files (x86)", 0}, // cmd strips the quotes of such a line unless wrapped
        {"R&D (x86) 1", 7},
    };
    for (const Case &c : cases) {
        const std::string bin = std::string(c.folder) + "\\bin";
        PlaceStandInJava(bin);
        SetStandInExitStatus(bin, c.status);
        const std::string command = "\"" + ScratchFolder() + "\\" + bin + "\\java.exe\" CopyPolicyFile .java.policy";
        EXPECT_EQ(RunCommand(command.c_str()), c.status) << command;
        EXPECT_EQ(StandInCalls(bin), std::vector<std::string>{ScratchFolder() + "|CopyPolicyFile|.java.policy"})
            << command;
    }
}

TEST_F(RunCommandTest, MissingProgramFails) {
    const std::string command = "\"" + ScratchFolder() + "\\Program Files (x86)\\bin\\java.exe\" CopyPolicyFile x";
    EXPECT_NE(RunCommand(command.c_str()), 0);
}

TEST_F(RunCommandTest, ALineLongerThanTheInterpreterTakesIsNotStarted) {
    // cmd takes 8,191 characters: the command and the two quotes around it.
    EXPECT_NE(RunCommand(std::string(8189, 'x').c_str()), -1) << "fits: cmd runs it and finds no such program";
    EXPECT_EQ(RunCommand(std::string(8190, 'x').c_str()), -1);
}

} // namespace
