// The PC/SC smart-card service of the simulated machine: winscard.dll, loaded
// at run time, and its SCardListReadersA answering from the test's script.
#include <cstring>
#include <vector>

#include "platform/sim/sim_internal.h"
#include "platform/sim/sim_machine.h"

namespace sim {
namespace {

const char kPcscLibrary[] = "WINSCARD.DLL";
const char kListReaders[] = "SCardListReadersA";
const LONG kScardInvalidParameter = static_cast<LONG>(0x80100004);

PcscService service;
std::vector<ReaderQuery> queries;
std::vector<std::string> loads;
int libraryReferences = 0;
// The module handle of the loaded library; the same for every load, as Windows
// gives.
HMODULE library = nullptr;

// The file name of a module path, upper-cased, with ".DLL" added when it has
// no extension (LoadLibrary's rule).
std::string ModuleName(const char *path) {
    std::string name = path;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    for (char &c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (name.find('.') == std::string::npos) name += ".DLL";
    return name;
}

LONG WINAPI ListReaders(ULONG_PTR context, LPCSTR groups, LPSTR readers, LPDWORD readersLength) {
    queries.push_back({context, groups == nullptr, readers != nullptr, readersLength ? *readersLength : 0});
    if (!readersLength) return kScardInvalidParameter;
    LONG forced = readers ? service.fetchResult : service.sizeQueryResult;
    if (forced != SCARD_S_SUCCESS) return forced;
    if (service.readerList.empty()) return SCARD_E_NO_READERS_AVAILABLE;
    DWORD needed = static_cast<DWORD>(service.readerList.size());
    if (!readers) {
        *readersLength = service.sizeReported.value_or(needed);
        return SCARD_S_SUCCESS;
    }
    if (*readersLength < needed) {
        *readersLength = needed;
        return SCARD_E_INSUFFICIENT_BUFFER;
    }
    // A reader list is a run of names ending in an empty one, not one text.
    std::memcpy(readers, service.readerList.data(), needed); // NOLINT(bugprone-not-null-terminated-result)
    *readersLength = service.fetchReported.value_or(needed);
    return SCARD_S_SUCCESS;
}

} // namespace

void ResetPcsc() {
    service = PcscService();
    queries.clear();
    loads.clear();
    libraryReferences = 0;
    library = nullptr;
}

void SetPcscService(const PcscService &script) { service = script; }

const std::vector<ReaderQuery> &ReaderQueries() { return queries; }

const std::vector<std::string> &LibraryLoads() { return loads; }

} // namespace sim

HMODULE LoadLibraryA(LPCSTR fileName) {
    if (fileName) sim::loads.push_back(fileName);
    if (!fileName || !sim::service.libraryPresent || sim::ModuleName(fileName) != sim::kPcscLibrary)
        return SetLastError(ERROR_MOD_NOT_FOUND), nullptr;
    if (sim::libraryReferences++ == 0) sim::library = static_cast<HMODULE>(sim::NewHandle(sim::HandleKind::Library));
    return sim::library;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    if (module && module == sim::Kernel32Module()) {
        FARPROC procedure = reinterpret_cast<ULONG_PTR>(procName) > 0xFFFF ? sim::Kernel32Procedure(procName) : nullptr;
        if (!procedure) SetLastError(ERROR_PROC_NOT_FOUND);
        return procedure;
    }
    // A null module is the executable itself, which exports nothing.
    if (module && (module != sim::library || sim::libraryReferences == 0))
        return SetLastError(ERROR_MOD_NOT_FOUND), nullptr;
    // Ordinals (a name pointer below 0x10000) are not modelled.
    bool byName = reinterpret_cast<ULONG_PTR>(procName) > 0xFFFF;
    if (!module || !byName || !sim::service.listReadersPresent || std::strcmp(procName, sim::kListReaders) != 0)
        return SetLastError(ERROR_PROC_NOT_FOUND), nullptr;
    // The caller converts it back to the procedure's own type before calling.
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&sim::ListReaders));
}

BOOL FreeLibrary(HMODULE module) {
    if (!module) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
    if (module != sim::library || sim::libraryReferences == 0) return SetLastError(ERROR_MOD_NOT_FOUND), FALSE;
    if (--sim::libraryReferences == 0) {
        sim::ReleaseHandle(module, sim::HandleKind::Library);
        sim::library = nullptr;
    }
    return TRUE;
}
