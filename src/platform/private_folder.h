#pragma once
// A folder for this user's own runtime files (a lock, a socket) in a place other users can
// write to, such as the system's temporary folder: one they could have created first, or
// could enter, would let them block or take over what this user keeps there.

#include "platform/outcome.h"

// Makes `path` a folder only this user can enter: creates it with mode 0700 when missing, and
// refuses one that is not a real folder (a link, say), belongs to someone else or is open to
// group or others. The failure says which.
Outcome ensurePrivateFolder(const QString& path);
