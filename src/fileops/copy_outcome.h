// The result of a guarded file copy or a tree copy.
#pragma once

typedef int CopyOutcome;

// The file was copied, or the existing target was accepted.
constexpr CopyOutcome kCopyDone = 0;
// The copy failed and the source or the target cannot be opened or inspected.
constexpr CopyOutcome kCopyCannotInspect = 1;
// A folder search cannot start or ends in an error.
constexpr CopyOutcome kCopySearchFailed = 2;
// A target subfolder cannot be created and does not already exist.
constexpr CopyOutcome kCopyFolderNotCreated = 3;
// The user answered Abort in the conflict prompt.
constexpr CopyOutcome kCopyAborted = 4;
