/* Kavrix camera driver: the functions a host calls.
 *
 * The host loads the driver (Kavrix.dll on Windows, libkavrix.so on Linux),
 * resolves these functions by name and calls them from its own threads.
 * Functions returning int answer 1 for success and 0 for failure, except
 * configureCamera (0 when the user accepted the dialog, 1 otherwise).
 *
 * On Windows the driver comes for 32-bit and 64-bit processes. In both, the
 * functions are exported under their plain names (no leading underscore, no
 * "@N" suffix) and use the C calling convention (__cdecl: the caller removes
 * the arguments from the stack), as do the two callbacks the host hands in.
 * The declarations say so explicitly, so a host compiled with another default
 * convention (/Gz, /Gr) still calls them right; a host that resolves them with
 * GetProcAddress must use these pointer types, or declare its own __cdecl. */
#ifndef KAVRIX_H
#define KAVRIX_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#  if defined(KAVRIX_BUILDING_DRIVER)
#    define KAVRIX_EXPORT __declspec(dllexport)
#  else
#    define KAVRIX_EXPORT __declspec(dllimport)
#  endif
#else
#  define KAVRIX_EXPORT __attribute__((visibility("default")))
#endif

#if defined(_WIN32)
#  define KAVRIX_CALL __cdecl
#else
#  define KAVRIX_CALL
#endif

/* Receives each debug message of the driver (a time prefix, then the text),
 * on whichever thread logs, never on two threads at once.
 *
 * Both callbacks may call the driver's functions, except initialize and
 * finalize: called from inside a driver callback, they change nothing and
 * return 0. The driver catches what a callback throws: a throw out of the
 * debug callback is reported on the system's debug output and the driver
 * carries on; one out of the completion callback is logged and ends that
 * camera's grabbing. Only exceptions of a host built with the same compiler
 * family as the driver can be caught, so a host should let none leave its
 * callbacks. */
typedef void (KAVRIX_CALL *DebugMsgProc)(const char* message);

/* Called once per delivered image with 0 and the camera's port number, on the
 * driver's own thread; the result is ignored. */
typedef int (KAVRIX_CALL *CompleteCallback)(int status, int portNo);

KAVRIX_EXPORT int KAVRIX_CALL initialize(const char* systemPath, DebugMsgProc debugMsgProc);
KAVRIX_EXPORT int KAVRIX_CALL finalize(void);
KAVRIX_EXPORT int KAVRIX_CALL setSystemPath(const char* systemPath);
KAVRIX_EXPORT void KAVRIX_CALL setDebugMsgProc(DebugMsgProc debugMsgProc);

KAVRIX_EXPORT int KAVRIX_CALL getCVLNoOfSupportedCameras(void);
/* The camera names, ended by a null pointer. The driver owns the array and the
 * names. Every call returns the same array, so threads may call it at once.
 * It stays valid until the next enumeration (done by an initialize made while
 * no earlier initialize is open; an array got before the first initialize is
 * replaced by it) or the finalize that matches the last open initialize,
 * whichever comes first. */
KAVRIX_EXPORT const char** KAVRIX_CALL getCVLCameraConfigNames(void);
KAVRIX_EXPORT int KAVRIX_CALL getCVLMaxNoOfGrabbers(void);
KAVRIX_EXPORT int KAVRIX_CALL getCVLMaxNoOfPorts(void);

/* size receives the image width and height in pixels. */
KAVRIX_EXPORT int KAVRIX_CALL openCVLPort(int grabberNo, int portNo, const char* cameraName, int* size);
KAVRIX_EXPORT void KAVRIX_CALL closeCVLPort(int grabberNo, int portNo);
KAVRIX_EXPORT int KAVRIX_CALL setCompleteCallback(int grabberNo, int portNo, CompleteCallback callback);

KAVRIX_EXPORT int KAVRIX_CALL doCVLGrab(int grabberNo, int portNo);
KAVRIX_EXPORT int KAVRIX_CALL getCVLGrabRow(int grabberNo, int portNo, unsigned char* destination,
                                            int row, int firstColumn, int lastColumn);
KAVRIX_EXPORT int KAVRIX_CALL setHWTrigger(int grabberNo, int portNo);

KAVRIX_EXPORT int KAVRIX_CALL getPropertyRange(int grabberNo, int portNo, const char* propertyName,
                                               int* minimum, int* maximum);
KAVRIX_EXPORT int KAVRIX_CALL getProperty(int grabberNo, int portNo, const char* propertyName, int* value);
KAVRIX_EXPORT int KAVRIX_CALL setProperty(int grabberNo, int portNo, const char* propertyName, int value);

/* parentWindow is the host's window handle, passed as an int. A 64-bit host
 * passes the low 32 bits of its HWND: Windows keeps window handles within 32
 * significant bits so that 32-bit and 64-bit processes can share them, and
 * the driver sign-extends the value back to a handle. */
KAVRIX_EXPORT int KAVRIX_CALL configureCamera(int parentWindow, const char* cameraName);

#ifdef __cplusplus
}
#endif

#endif
