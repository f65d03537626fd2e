// Helper program of the sharing tests: opens a file through the file-access library in a
// process of its own and keeps it open until its standard input ends.
//   pelcor_share_helper PATH MODE [LOCK_OFFSET LOCK_LENGTH]
// Prints "<result> <last error>" of the open (and then of the lock) on one line, then waits.
#include <cstdio>
#include <cstdlib>

#include "fileaccess/pelcor.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: %s PATH MODE [LOCK_OFFSET LOCK_LENGTH]\n", argv[0]);
    return 2;
  }
  bWF_InitModule(4);
  uint16_t handle = PELCOR_NO_HANDLE;
  const int opened = bWF_OpenFile(argv[1], uint16_t(std::strtoul(argv[2], nullptr, 0)), &handle) ? 1 : 0;
  std::printf("%d %d", opened, int(lWF_GetLastError()));
  if (argc == 5 && opened) {
    const int locked =
        bWF_LockFile(handle, uint32_t(std::strtoul(argv[3], nullptr, 0)), uint32_t(std::strtoul(argv[4], nullptr, 0)))
            ? 1
            : 0;
    std::printf(" %d %d", locked, int(lWF_GetLastError()));
  }
  std::printf("\n");
  std::fflush(stdout);
  while (std::getchar() != EOF) {
  }
  if (opened) bWF_CloseFile(handle);
  WF_FinModule();
  return 0;
}
