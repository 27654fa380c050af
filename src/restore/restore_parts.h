// The parts of a restore, each undoing what one place received from
// installations. Each compares with the files of the distribution folder,
// the current directory, and notes what it did in the report.
#pragma once

#include "restore/restore_report.h"

// Every registered JRE and JDK: its policy, OCF archive, properties and
// (JREs only) bridge library.
void RestoreJavaRuntimes(RestoreReport *report);
// The user's .java.policy and .opencard.properties.
void RestoreUserHome(RestoreReport *report);
// The OCF tree in the Windows folder's java\lib.
void RestoreIeFiles(RestoreReport *report);
// The current user's Netscape 4.x: its Java classes and library, and the
// properties in every profile.
void RestoreNetscapeFiles(RestoreReport *report);

// The files of a package tree copied into targetFolder (pattern as the
// installation's tree copy takes it): each target that is the package's
// file is removed. Folders stay.
void RemoveTreeCopies(const char *pattern, const char *targetFolder, RestoreReport *report);
