#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tavrel {

// The name under which this logon session reaches the program file that was started as
// `started_as`: that name, unless it lies on a drive that the session lacks (`drive_type`, of its
// root, is DRIVE_NO_ROOT_DIR), as a drive that the person mapped is missing from the elevated
// session, which has mappings of its own. The same file is then named by the network name in the
// process image's native path (`native_image`): "\Device\Mup\;LanmanRedirector\;Z:0000000000012345
// \server\share\setup\Tavrel.exe" gives "\\server\share\setup\Tavrel.exe". Without one for that
// drive, the name stays as it was started.
std::wstring ReachableProgramFile(const std::wstring& started_as, UINT drive_type,
                                  std::wstring_view native_image);

// The running program's file, reached as above.
std::wstring ProgramFile();

}  // namespace tavrel
