// Message boxes of the simulated machine: each one is recorded and answered
// from the test's script.
#include <deque>

#include "platform/sim/sim_internal.h"
#include "platform/sim/sim_machine.h"

namespace sim {
namespace {

std::vector<MessageBoxCall> calls;
std::deque<int> answers;

} // namespace

void ResetMessageBoxes() {
    calls.clear();
    answers.clear();
}

void QueueMessageBoxAnswers(const std::vector<int> &next) { answers.insert(answers.end(), next.begin(), next.end()); }

const std::vector<MessageBoxCall> &MessageBoxes() { return calls; }

} // namespace sim

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    sim::MessageBoxCall call{owner, text ? text : "", caption ? caption : "", type};
    sim::calls.push_back(call);
    if (sim::answers.empty()) return 0; // as when the box cannot be shown
    int answer = sim::answers.front();
    sim::answers.pop_front();
    return answer;
}
