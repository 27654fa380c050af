// Commands run through the command interpreter on the simulated machine: each
// one is recorded with the current directory it would start in, and its exit
// status comes from the test's script.
#include "platform/sim/sim_internal.h"
#include "platform/sim/sim_machine.h"

namespace sim {
namespace {

// What the C runtime's system returns when no interpreter can be started.
const int kNoInterpreter = -1;

std::vector<CommandCall> calls;
std::function<int(const CommandCall &)> handler;

} // namespace

void ResetCommands() {
    calls.clear();
    handler = nullptr;
}

void SetCommandHandler(const std::function<int(const CommandCall &)> &exitStatus) { handler = exitStatus; }

const std::vector<CommandCall> &Commands() { return calls; }

} // namespace sim

int RunCommand(const char *command) {
    sim::CommandCall call{command, sim::CurrentDirectory()};
    sim::calls.push_back(call);
    return sim::handler ? sim::handler(call) : sim::kNoInterpreter;
}
