/* Loads the file-access library and the web and mail launcher by name, as any program may, and
 * calls a few of their exports:
 *
 *   try_libraries [--web ADDRESS] [--mail ADDRESS]
 *
 * The libraries are found through the program's own library path (it is built to look in the
 * staged Programs/ folder) or LD_LIBRARY_PATH. Exit status 0 when both loaded and every name
 * looked up was found, 1 otherwise, 2 for a wrong command line. */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

#include "fileaccess/pelcor.h"
#include "launcher/vexnet.h"

/* The address of an export, or a message and null. */
static void* Export(void* library, const char* library_name, const char* name) {
  void* address = dlsym(library, name);
  if (address == NULL) fprintf(stderr, "%s: no export %s\n", library_name, name);
  return address;
}

/* The library of that name, or a message and null. */
static void* Load(const char* name) {
  void* library = dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (library == NULL) fprintf(stderr, "cannot load %s: %s\n", name, dlerror());
  return library;
}

static int TryPelcor(void) {
  void* library = Load("libPelcor.so");
  if (library == NULL) return 0;
  __typeof__(bWF_InitModule)* init = Export(library, "libPelcor.so", "bWF_InitModule");
  __typeof__(WF_FinModule)* fin = Export(library, "libPelcor.so", "WF_FinModule");
  __typeof__(lWF_GetLastError)* last_error = Export(library, "libPelcor.so", "lWF_GetLastError");
  __typeof__(cWF_GetDrive)* get_drive = Export(library, "libPelcor.so", "cWF_GetDrive");
  __typeof__(lWF_DiskFree)* disk_free = Export(library, "libPelcor.so", "lWF_DiskFree");
  __typeof__(wWF_DriveType)* drive_type = Export(library, "libPelcor.so", "wWF_DriveType");
  __typeof__(bWF_GetCurDir)* get_cur_dir = Export(library, "libPelcor.so", "bWF_GetCurDir");
  __typeof__(bWF_FindFirst)* find_first = Export(library, "libPelcor.so", "bWF_FindFirst");
  __typeof__(bWF_FindNext)* find_next = Export(library, "libPelcor.so", "bWF_FindNext");
  __typeof__(WF_FindClose)* find_close = Export(library, "libPelcor.so", "WF_FindClose");
  if (!init || !fin || !last_error || !get_drive || !disk_free || !drive_type || !get_cur_dir || !find_first ||
      !find_next || !find_close) {
    dlclose(library);
    return 0;
  }

  printf("libPelcor.so loaded\n");
  printf("  bWF_InitModule(16) = %d\n", (int)init(16));
  printf("  cWF_GetDrive() = %c\n", get_drive());
  printf("  lWF_DiskFree('C') = %ld\n", (long)disk_free('C'));
  const long no_drive = (long)disk_free('#');
  printf("  lWF_DiskFree('#') = %ld, last error %ld\n", no_drive, (long)last_error());
  uint16_t flags = 0;
  const unsigned type = drive_type('C', &flags);
  printf("  wWF_DriveType('C') = %u, flags 0x%02X\n", type, (unsigned)flags);
  const unsigned not_ready = drive_type('D', NULL);
  printf("  wWF_DriveType('D') = %u, last error %ld\n", not_ready, (long)last_error());
  char folder[4096];
  if (get_cur_dir(0, folder, sizeof folder)) printf("  bWF_GetCurDir(0) = %s\n", folder);
  PelcorFind find;
  memset(&find, 0, sizeof find);
  int directories = 0;
  long search_end = (long)PELCOR_ERROR_FILE_NOT_FOUND;
  if (find_first("*", &find, PELCOR_ATTR_DIRECTORY)) {
    do ++directories;
    while (find_next(&find));
    search_end = (long)last_error();
    find_close(&find);
  }
  printf("  bWF_FindFirst(\"*\", 0x10): %d directories here, the search ended with error %ld\n", directories,
         search_end);
  printf("  WF_FinModule() = %d\n", (int)fin());
  dlclose(library);
  return 1;
}

static int TryVexnet(const char* web, const char* mail) {
  void* library = Load("libvexnet.so");
  if (library == NULL) return 0;
  __typeof__(ConnectToWeb)* connect_to_web = Export(library, "libvexnet.so", "ConnectToWeb");
  __typeof__(SendEMail)* send_email = Export(library, "libvexnet.so", "SendEMail");
  if (!connect_to_web || !send_email) {
    dlclose(library);
    return 0;
  }
  printf("libvexnet.so loaded: ConnectToWeb and SendEMail found\n");
  if (web != NULL) printf("  ConnectToWeb(\"%s\") = %d\n", web, (int)connect_to_web(web));
  if (mail != NULL) printf("  SendEMail(\"%s\") = %d\n", mail, (int)send_email(mail));
  /* The launcher may have started a program that is still running: it is left to run. */
  return 1;
}

int main(int argc, char** argv) {
  const char* web = NULL;
  const char* mail = NULL;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--help") == 0) {
      printf(
          "usage: %s [--web ADDRESS] [--mail ADDRESS]\n"
          "Loads libPelcor.so and libvexnet.so by name and calls a few of their exports.\n"
          "--web and --mail open the address in the registered browser or mail program.\n"
          "example: %s --web https://example.org\n",
          argv[0], argv[0]);
      return 0;
    }
    if (i + 1 < argc && strcmp(argv[i], "--web") == 0) {
      web = argv[++i];
    } else if (i + 1 < argc && strcmp(argv[i], "--mail") == 0) {
      mail = argv[++i];
    } else {
      fprintf(stderr, "%s: unknown argument %s (try --help)\n", argv[0], argv[i]);
      return 2;
    }
  }
  const int pelcor = TryPelcor();
  const int vexnet = TryVexnet(web, mail);
  return pelcor && vexnet ? 0 : 1;
}
