// Checks the lookup corpus against the real GetPrivateProfileStringA (Wine's own value where the
// record gives one) and prints every lookup that differs, with what the function gave.
//   lookup_probe FILE   exit status 1 on any difference
#include "platform/win32/win32_profile.h"
#include "tools/tavrel-check/tests/test_data.h"

int main(int argc, char** argv) {
  tavrel::Win32Profile profile;
  return tavrel::CorpusDifferences(profile, argc == 2 ? argv[1] : "", /*wine=*/true) == 0 ? 0 : 1;
}
