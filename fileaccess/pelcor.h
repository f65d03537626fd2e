/* Pelcor, the file-access library (libPelcor.so): small integer file handles, attribute bits,
 * packed dates and times, find-first/find-next with attribute filters, drive letters, share and
 * lock tests and a file selection window, in the manner of the old disk-operating-system
 * services. A C or C++ program includes this header and links the library or loads it by name.
 *
 * Every call stores a last error (lWF_GetLastError): 0 after success, otherwise one of the
 * PELCOR_ERROR_ codes below; a sharing violation is stored as PELCOR_ERROR_FILE_NOT_FOUND.
 * The module's state (handle table, last error, share switch) is shared by the whole process
 * without locking: use the library from one thread.
 *
 * Paths are the system's own ("/home/me/file.txt"). Drive letters appear only where an argument
 * is a drive letter, and in the volume-label search: drive C is the root "/" and always the
 * current drive; every other letter A-Z is a drive that is not ready (PELCOR_ERROR_NOT_READY),
 * and anything else is an invalid drive (PELCOR_ERROR_INVALID_DRIVE). */
#ifndef OMBRIX_FILEACCESS_PELCOR_H
#define OMBRIX_FILEACCESS_PELCOR_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define PELCOR_API __declspec(dllexport)
#else
#define PELCOR_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define PELCOR_STATIC_ASSERT(condition, text) static_assert(condition, text)
extern "C" {
#else
#define PELCOR_STATIC_ASSERT(condition, text) _Static_assert(condition, text)
#endif

/* Results of the b... calls: non-zero on success. */
typedef int32_t PelcorBool;

enum {
  PELCOR_NO_HANDLE = 0xFFFF, /* the handle given back when an open fails */
  PELCOR_MAX_PATH = 260      /* bytes of every text buffer of bWF_SelectFile, NUL included */
};
/* hWF_GetH32 of a handle that is not open. */
#define PELCOR_INVALID_PLATFORM_HANDLE (-1)

/* Mode word of bWF_CreateFile and bWF_OpenFile. */
enum {
  PELCOR_READ = 0x0001,        /* read access */
  PELCOR_WRITE = 0x0002,       /* write access */
  PELCOR_SHARE_READ = 0x0004,  /* others may open the file for reading meanwhile */
  PELCOR_SHARE_WRITE = 0x0008, /* others may open the file for writing meanwhile */
  PELCOR_SHARE_ALL = 0x0020,   /* both of the above (also while bWF_ShareCompat is on) */
  PELCOR_EXISTING = 0x8000     /* open an existing file; without it, create or truncate */
};

/* Attribute bits. Read-only is a file without any write permission bit (directories keep their
 * permissions: the bit is reported but never set or cleared on them); hidden is a name that
 * begins with "." and cannot be set or cleared; system and archive are kept in the extended
 * attribute "user.zorvex.attrib" where the file system takes one, and are ignored (never set,
 * reported clear) where it does not. */
enum {
  PELCOR_ATTR_READONLY = 0x01,
  PELCOR_ATTR_HIDDEN = 0x02,
  PELCOR_ATTR_SYSTEM = 0x04,
  PELCOR_ATTR_LABEL = 0x08, /* find filters 8 and 9: the volume label */
  PELCOR_ATTR_DIRECTORY = 0x10,
  PELCOR_ATTR_ARCHIVE = 0x20
};

/* Drive types of wWF_DriveType and its flags. */
enum {
  PELCOR_DRIVE_UNKNOWN = 0,
  PELCOR_DRIVE_NO_ROOT = 1,
  PELCOR_DRIVE_REMOVABLE = 2,
  PELCOR_DRIVE_FIXED = 3,
  PELCOR_DRIVE_REMOTE = 4,
  PELCOR_DRIVE_CDROM = 5,
  PELCOR_DRIVE_RAMDISK = 6,
  PELCOR_CASE_PRESERVED = 0x04,
  PELCOR_CASE_SENSITIVE = 0x02,
  PELCOR_UNICODE_NAMES = 0x01
};

/* Results of nWF_IsShare. */
enum { PELCOR_SHARE_WORKS = 1, PELCOR_SHARE_FAILS = 2, PELCOR_SHARE_NO_NAME = 3, PELCOR_SHARE_NO_FILE = 4 };

/* Flags of bWF_SelectFile. */
enum {
  PELCOR_SELECT_SAVE = 0x01,      /* a save window instead of an open window */
  PELCOR_SELECT_ANY_PATH = 0x02,  /* the typed path need not exist */
  PELCOR_SELECT_CONFIRM = 0x04,   /* ask before overwriting; with PELCOR_SELECT_ANY_PATH: the file must exist */
  PELCOR_SELECT_NOTIFY = 0x08,    /* tell the owner's parent of each selection change (message 1624) */
  PELCOR_SELECT_BARE_NAME = 0x10, /* the full-path output gets the name without folder and extension */
  PELCOR_SELECT_NAME_EXT = 0x20   /* the full-path output gets "name.extension" */
};
/* The message number of PELCOR_SELECT_NOTIFY: the platform's first user message number + 600. */
#define PELCOR_SELECTION_MESSAGE 1624

/* Last-error codes: the numbers of the original platform, which callers of this interface test. */
enum {
  PELCOR_ERROR_NONE = 0,
  PELCOR_ERROR_INVALID_FUNCTION = 1,
  PELCOR_ERROR_FILE_NOT_FOUND = 2,
  PELCOR_ERROR_PATH_NOT_FOUND = 3,
  PELCOR_ERROR_TOO_MANY_OPEN_FILES = 4,
  PELCOR_ERROR_ACCESS_DENIED = 5,
  PELCOR_ERROR_INVALID_HANDLE = 6,
  PELCOR_ERROR_NOT_ENOUGH_MEMORY = 8,
  PELCOR_ERROR_INVALID_DRIVE = 15,
  PELCOR_ERROR_NOT_SAME_DEVICE = 17,
  PELCOR_ERROR_NO_MORE_FILES = 18,
  PELCOR_ERROR_WRITE_PROTECT = 19,
  PELCOR_ERROR_NOT_READY = 21,
  PELCOR_ERROR_GEN_FAILURE = 31,
  PELCOR_ERROR_SHARING_VIOLATION = 32, /* never stored: reported as PELCOR_ERROR_FILE_NOT_FOUND */
  PELCOR_ERROR_LOCK_VIOLATION = 33,
  PELCOR_ERROR_HANDLE_EOF = 38,
  PELCOR_ERROR_NOT_SUPPORTED = 50,
  PELCOR_ERROR_FILE_EXISTS = 80,
  PELCOR_ERROR_INVALID_PARAMETER = 87,
  PELCOR_ERROR_DISK_FULL = 112,
  PELCOR_ERROR_INSUFFICIENT_BUFFER = 122,
  PELCOR_ERROR_NEGATIVE_SEEK = 131,
  PELCOR_ERROR_SEEK_ON_DEVICE = 132,
  PELCOR_ERROR_DIR_NOT_EMPTY = 145,
  PELCOR_ERROR_NOT_LOCKED = 158,
  PELCOR_ERROR_BUSY = 170,
  PELCOR_ERROR_ALREADY_EXISTS = 183,
  PELCOR_ERROR_FILENAME_TOO_LONG = 206,
  PELCOR_ERROR_FILE_TOO_LARGE = 223,
  PELCOR_ERROR_CANT_RESOLVE_FILENAME = 1921
};

/* A date and time in local time. In bWF_SetTime a year of -1 keeps the file's date and an hour
 * of -1 its time of day. */
typedef struct PelcorTime {
  int16_t year;  /* full year, e.g. 1996 */
  int16_t month; /* 1-12 */
  int16_t day;
  int16_t hour;
  int16_t minute;
  int16_t second;
} PelcorTime;

/* One entry found by bWF_FindFirst or bWF_FindNext, and the search in progress. */
typedef struct PelcorFind {
  PelcorTime time;     /* last write, local time */
  uint32_t size;       /* bytes; 0xFFFFFFFF for files of 4 GiB and more */
  char name[260];      /* the entry's name */
  char short_name[14]; /* the same name when it fits, else empty (there are no 8.3 aliases) */
  uint16_t attributes; /* PELCOR_ATTR_ bits of the entry */
  uint16_t filter;     /* the search's attribute filter */
  void* search;        /* the search in progress; null when there is none */
} PelcorFind;

PELCOR_STATIC_ASSERT(sizeof(PelcorTime) == 12, "PelcorTime is six 16-bit fields");
PELCOR_STATIC_ASSERT(offsetof(PelcorFind, size) == 12, "PelcorFind layout");
PELCOR_STATIC_ASSERT(offsetof(PelcorFind, name) == 16, "PelcorFind layout");
PELCOR_STATIC_ASSERT(offsetof(PelcorFind, short_name) == 276, "PelcorFind layout");
PELCOR_STATIC_ASSERT(offsetof(PelcorFind, attributes) == 290, "PelcorFind layout");
PELCOR_STATIC_ASSERT(offsetof(PelcorFind, filter) == 292, "PelcorFind layout");
PELCOR_STATIC_ASSERT(offsetof(PelcorFind, search) == 296, "PelcorFind layout");
PELCOR_STATIC_ASSERT(sizeof(PelcorFind) == 296 + sizeof(void*), "PelcorFind layout");

/* Module and handle table. The first bWF_InitModule builds a table of count + 2 slots (at most
 * 65533 handles) and raises the process's limit of open files to count; later calls only count.
 * WF_FinModule counts down (never below 0) and, at 0, closes every file still open and frees the
 * table; it returns the remaining count. */
PELCOR_API PelcorBool bWF_InitModule(int32_t count);
PELCOR_API int32_t WF_FinModule(void);
PELCOR_API int32_t lWF_GetLastError(void);
/* The file descriptor behind a handle, or PELCOR_INVALID_PLATFORM_HANDLE. */
PELCOR_API int hWF_GetH32(uint16_t handle);
/* Sets the share-compatibility switch (every open then lets others read and write); returns the
 * previous value. */
PELCOR_API PelcorBool bWF_ShareCompat(PelcorBool on);

/* Open files. Handles are 2 .. count + 1; a failed open stores PELCOR_NO_HANDLE in *handle.
 * Files are opened for random access and never inherited by child processes. Sharing is
 * enforced between the opens of this library, in this process and in others. */
PELCOR_API PelcorBool bWF_CreateFile(const char* path, uint16_t mode, uint16_t* handle);
PELCOR_API PelcorBool bWF_OpenFile(const char* path, uint16_t mode, uint16_t* handle);
/* With done null, succeeds only when all count bytes were read. */
PELCOR_API PelcorBool bWF_ReadFile(uint16_t handle, void* buffer, uint32_t count, uint32_t* done);
PELCOR_API PelcorBool bWF_WriteFile(uint16_t handle, const void* buffer, uint32_t count);
/* origin 0 start, 1 current position, 2 end (any other value: start). Positions stay below
 * 4 GiB - 1. */
PELCOR_API PelcorBool bWF_SeekFile(uint16_t handle, int32_t distance, int32_t origin, uint32_t* position);
PELCOR_API PelcorBool bWF_SetSize(uint16_t handle, uint32_t size);
PELCOR_API PelcorBool bWF_FlushFile(uint16_t handle);
PELCOR_API PelcorBool bWF_CommitFile(uint16_t handle);
PELCOR_API PelcorBool bWF_CloseFile(uint16_t handle);
/* Byte-range locks: a range locked through one handle cannot be locked through another (of
 * this process or another), and unlocking takes exactly a range that was locked. Locks are
 * advisory: reads and writes do not test them. A handle without write access takes a shared
 * lock, which only excludes locks of handles with write access. */
PELCOR_API PelcorBool bWF_LockFile(uint16_t handle, uint32_t offset, uint32_t length);
PELCOR_API PelcorBool bWF_UnlockFile(uint16_t handle, uint32_t offset, uint32_t length);
PELCOR_API uint32_t dwWF_FicSize(uint16_t handle);
PELCOR_API PelcorBool bWF_GetTime(uint16_t handle, PelcorTime* time);
/* The record is packed into date and time words of two-second steps, years 1980 to 2107. */
PELCOR_API PelcorBool bWF_SetTime(uint16_t handle, const PelcorTime* time);

/* Named files. */
PELCOR_API uint32_t dwWF_FileSize(const char* path);
PELCOR_API PelcorBool bWF_IsFileExist(const char* path);
PELCOR_API PelcorBool bWF_GetAttrib(const char* path, uint16_t* attributes);
PELCOR_API PelcorBool bWF_SetAttrib(const char* path, uint16_t attributes);
PELCOR_API PelcorBool bWF_FFGetTime(const char* path, PelcorTime* time);
/* A read-only file is not deleted. */
PELCOR_API PelcorBool bWF_DeleteFile(const char* path);
/* Never replaces an existing file (PELCOR_ERROR_ALREADY_EXISTS). */
PELCOR_API PelcorBool bWF_RenameFile(const char* old_path, const char* new_path);
/* Replaces the target unless it is read-only; the target then has the archive attribute only. */
PELCOR_API PelcorBool bWF_CopyFile(const char* source, const char* target);

/* Searches. The pattern's last part may hold the wildcards * and ?, matched without regard to
 * ASCII letter case ("*.*" is every name, "*." the names without a dot). Names that begin with
 * "." never match. Filter 0x10 lists directories only; otherwise only files, by filter & 7:
 * 0-1 neither hidden nor system, 2-3 not system, 4-5 not hidden, 6-7 all. Filters 8 and 9 give
 * the volume label of the pattern's drive (a pattern "C:..." or any other: the root's label,
 * empty when it has none). WF_FindClose may be called twice. */
PELCOR_API PelcorBool bWF_FindFirst(const char* pattern, PelcorFind* find, uint16_t filter);
PELCOR_API PelcorBool bWF_FindNext(PelcorFind* find);
PELCOR_API void WF_FindClose(PelcorFind* find);
PELCOR_API PelcorBool bWF_IsDirectory(const PelcorFind* find);

/* Directories and drives. */
PELCOR_API PelcorBool bWF_GetCurDir(char drive, char* buffer, uint32_t size);
PELCOR_API PelcorBool bWF_SetCurDir(const char* path);
PELCOR_API PelcorBool bWF_CreateDir(const char* path);
PELCOR_API PelcorBool bWF_RemoveDir(const char* path);
PELCOR_API char cWF_GetDrive(void);
PELCOR_API PelcorBool bWF_SetDrive(char drive);
PELCOR_API PelcorBool bWF_IsDriveReady(char drive);
/* Free bytes, at most 2147483647 (the range of the result); -1 for a drive that is not ready. */
PELCOR_API int32_t lWF_DiskFree(char drive);
PELCOR_API uint16_t wWF_DriveType(char drive, uint16_t* flags);
/* Tests byte-range locking in a directory: the directory text must end with "/" (the test
 * file's name is appended to it as it stands). */
PELCOR_API int32_t nWF_IsShare(const char* directory);
PELCOR_API PelcorBool bWF_IsShare(const char* directory);

/* The open or save window of the calling program, when it has windows; false with every output
 * emptied otherwise, on cancel and on error. directory, name, extension and path are buffers of
 * PELCOR_MAX_PATH bytes; the extension is given without its dot. module is not used. */
PELCOR_API PelcorBool bWF_SelectFile(const char* module, char* directory, const char* filter, char* name,
                                     const char* title, char* extension, uint32_t flags, char* path);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* OMBRIX_FILEACCESS_PELCOR_H */
