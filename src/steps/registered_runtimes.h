// The walk over every Java runtime registered under
// HKEY_LOCAL_MACHINE\SOFTWARE\JavaSoft, shared by the installation and the
// restore: every JRE entry, then every JDK entry, each list in enumeration
// order. Every key is opened for full access, so a user without
// administrator rights cannot open them; an entry whose JavaHome cannot be
// used (see EndHomeText) is passed over.
#pragma once

#include "steps/java_entry.h"

// Called for every usable entry; returns false to end the walk there.
typedef bool (*RuntimeVisitor)(const JavaRuntime &runtime, void *context);

struct RuntimeWalk {
    bool listFound;  // either list was opened: Java is registered
    int keysRefused; // keys that exist but could not be opened or listed
    LONG refusal;    // the error of the first of them
};

RuntimeWalk WalkRegisteredRuntimes(RuntimeVisitor visit, void *context);
