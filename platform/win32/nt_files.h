#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/scoped_handle.h"

namespace tavrel {

// Files named relative to a held folder handle, through the native API: the W functions take
// whole paths only, and older Windows take no folder handle for a rename either. On failure the
// last error is set from the native status.

// Opens or creates (`disposition`: FILE_OPEN, FILE_CREATE) the file `name` in `folder` for
// synchronous use. A link of that name is opened as the link, not followed; a folder is refused.
ScopedHandle OpenInFolder(HANDLE folder, const std::wstring& name, ACCESS_MASK access,
                          ULONG sharing, ULONG disposition);

// Renames the open `file`, which was opened with DELETE access, to `name` in `folder`, replacing
// a file of that name.
bool RenameInFolder(HANDLE file, HANDLE folder, const std::wstring& name);

}  // namespace tavrel
