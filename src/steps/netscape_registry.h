// Where the current user's Netscape 4.x is installed, from its registry value.
#pragma once

#include "platform/win32.h"
#include "steps/netscape_paths.h"

// Reads "Install Directory" under the current user's Netscape Navigator key
// (opened for full access: a key that refuses it counts as no browser) and
// forms the paths from it. False when there is no browser these paths can
// be formed for.
bool FindInstalledNetscape(NetscapePaths *paths);

// A profile folder is a plain folder: one that also carries any other
// attribute (hidden, read-only, archive...) is not taken for a profile.
bool IsProfileFolder(const WIN32_FIND_DATAA &entry);
