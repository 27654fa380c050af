// What every install step's test checks: the same result with and without a
// message buffer, the buffer untouched on success, the distribution folder
// as the current directory afterwards, and nothing left open.
#pragma once

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "steps/install_steps.h"
#include "platform/sim/sim_machine.h"
#include "support/scratch_machine.h"

// One machine layout and what the step must make of it.
struct StepCase {
    const char *name;
    std::function<void()> arrange;
    std::vector<int> answers; // to the conflict prompts, in order
    StepResult result;
    const char *message;                 // nullptr: the buffer is left untouched
    size_t prompts;                      // conflict prompts shown
    std::function<void()> check = [] {}; // what the machine must look like afterwards
};

inline bool IsReadOnly(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

class StepTest : public ScratchTest {
  protected:
    static constexpr char kDistributionFolder[] = "C:\\work";
    static constexpr char kUntouched = '#';

    void TearDown() override {
        EXPECT_EQ(sim::OpenHandles(), 0) << "a handle, key or search was left open";
        ScratchTest::TearDown();
    }

    // Runs each case on a fresh machine twice, without and with a message
    // buffer; the machine's state is checked after the second run.
    void RunCases(StepResult (*step)(char *, int), const std::vector<StepCase> &cases) {
        for (const StepCase &c : cases) {
            for (bool withBuffer : {false, true}) {
                SCOPED_TRACE(std::string(c.name) + (withBuffer ? "" : " (null buffer)"));
                scratch::Stop();
                scratch::Start();
                c.arrange();
                sim::QueueMessageBoxAnswers(c.answers);
                std::memset(message, kUntouched, sizeof message);

                EXPECT_EQ(step(withBuffer ? message : nullptr, sizeof message), c.result);

                EXPECT_EQ(CurrentDirectory(), kDistributionFolder);
                EXPECT_EQ(sim::OpenHandles(), 0) << "a handle, key or search was left open";
                EXPECT_EQ(sim::MessageBoxes().size(), c.prompts);
                if (!withBuffer) continue;
                if (c.message)
                    EXPECT_STREQ(message, c.message);
                else
                    EXPECT_TRUE(MessageUntouched());
                c.check();
            }
        }
    }

    bool MessageUntouched() const {
        for (char c : message)
            if (c != kUntouched) return false;
        return true;
    }

    static std::string CurrentDirectory() {
        char directory[MAX_PATH + 1] = "";
        GetCurrentDirectoryA(sizeof directory, directory);
        return directory;
    }

    char message[kStepMessageCapacity];
};
