/* Vexnet, the web and mail launcher (libvexnet.so, "vexnet.dll" on the original platform):
 * opens an address in the user's registered web browser or a new message in the registered mail
 * program, without waiting for either. A C or C++ program includes this header and links the
 * library or loads it by name.
 *
 * The commands are the default values of "http\shell\open\command" and
 * "mailto\Shell\Open\Command" under HKEY_CLASSES_ROOT of the package's registry; where such a
 * key is missing, the desktop's own handlers stand in ("xdg-open" and "xdg-email %1"). A key
 * without a command is reported in a message box titled "Vexnet - Error". */
#ifndef OMBRIX_LAUNCHER_VEXNET_H
#define OMBRIX_LAUNCHER_VEXNET_H

#include <stdint.h>

#if defined(_WIN32)
#define VEXNET_API __declspec(dllexport)
#else
#define VEXNET_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Starts the browser with the registered command, a blank and the address (placeholders in the
 * command are left as they are). 1 when it was started, 0 when it could not be; 1 (the message
 * box's answer) when no browser is registered. */
VEXNET_API int32_t ConnectToWeb(const char* address);
/* Starts the mail program with the registered command cut at its first "%" and the address put
 * there (a command without "%" is started alone). Results as for ConnectToWeb. */
VEXNET_API int32_t SendEMail(const char* address);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* OMBRIX_LAUNCHER_VEXNET_H */
