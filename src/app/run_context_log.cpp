#include "app/run_context_log.h"

#include "app/running_windows.h"
#include "log/run_log.h"
#include "platform/win32.h"

namespace {

// The longest account name Windows allows (UNLEN) and the terminator.
const DWORD kAccountCapacity = 257;
const char kUnknown[] = "(unknown)";

// A member of the local Administrators group, with the group in force in
// this process's token (not merely listed, as under UAC's limited token).
bool IsAdministrator() {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                  0, 0, &administrators))
        return false;
    BOOL member = FALSE;
    bool administrator = CheckTokenMembership(nullptr, administrators, &member) && member;
    /* result not examined: */ FreeSid(administrators);
    return administrator;
}

} // namespace

void LogRunContext(const char *distributionFolder) {
    if (!RunLogOpen()) return;
    char computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof computer;
    if (!GetComputerNameA(computer, &size)) CopyText(computer, sizeof computer, kUnknown);
    char account[kAccountCapacity];
    size = sizeof account;
    if (!GetUserNameA(account, &size)) CopyText(account, sizeof account, kUnknown);
    LogEvent("computer: %s, account: %s (%s)", computer, account,
             IsAdministrator() ? "administrator" : "not an administrator");
    RunningWindows running = QueryRunningWindows();
    LogEvent("Windows %lu.%lu (build %lu), %s", static_cast<unsigned long>(running.major),
             static_cast<unsigned long>(running.minor), static_cast<unsigned long>(running.build),
             running.sixtyFourBit ? "64-bit" : "32-bit");
    LogEvent("distribution folder: %s", distributionFolder[0] ? distributionFolder : kUnknown);
}
