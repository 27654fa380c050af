// Memory blocks of the simulated machine: real heap blocks of exactly the size
// asked for, so that AddressSanitizer catches a read past one, counted like
// every other handle.
#include <cstdlib>
#include <cstring>
#include <set>

#include "platform/sim/sim_internal.h"
#include "platform/sim/sim_machine.h"

namespace sim {
namespace {

const DWORD kErrorCallNotImplemented = 120;
// A 32-bit process has 2 GB of address space: a larger block never exists.
const SIZE_T kLargestBlock = 0x7FFFFFFF;
// Windows does not clear a fixed block; neither do we, so that nothing comes
// to rely on zeros it never wrote.
const int kFreshBlockFill = 0xCD;

std::set<void *> blocks;
bool refuseBlocks = false;

} // namespace

void ResetMemory() {
    for (void *block : blocks) std::free(block);
    blocks.clear();
    refuseBlocks = false;
}

void RefuseMemoryBlocks() { refuseBlocks = true; }

} // namespace sim

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    // Movable and zero-filled blocks are not used by the installer, so not modelled.
    if (flags != GMEM_FIXED) return SetLastError(sim::kErrorCallNotImplemented), nullptr;
    if (sim::refuseBlocks || bytes > sim::kLargestBlock) return SetLastError(ERROR_NOT_ENOUGH_MEMORY), nullptr;
    // malloc(0) gives a unique block with no usable bytes, as GlobalAlloc does.
    void *block = std::malloc(bytes);
    if (!block) return SetLastError(ERROR_NOT_ENOUGH_MEMORY), nullptr;
    std::memset(block, sim::kFreshBlockFill, bytes);
    sim::blocks.insert(block);
    sim::TrackHandle(block, sim::HandleKind::Block);
    return block;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    if (!sim::ReleaseHandle(memory, sim::HandleKind::Block)) return SetLastError(ERROR_INVALID_HANDLE), memory;
    sim::blocks.erase(memory);
    std::free(memory);
    return nullptr;
}
