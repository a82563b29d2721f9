/* The transport-layer producer interface: the C operations through which the
 * driver reaches GigE Vision cameras (GenTL style). Every producer exports
 * them (the simulated one and the GigE Vision one alike), and the driver
 * calls them after loading a producer at run time; every operation returns a
 * GC error code, 0 for success. Handles are opaque; null means not open. */
#ifndef TLI_H
#define TLI_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#  if defined(TLI_BUILDING_PRODUCER)
#    define TLI_API __declspec(dllexport)
#  else
#    define TLI_API __declspec(dllimport)
#  endif
#else
#  define TLI_API __attribute__((visibility("default")))
#endif

/* The calling convention of the producer operations is that of GenTL
 * producers (their GC_CALLTYPE): __stdcall in 32-bit Windows, with the
 * operations exported under their plain names; the platform's one convention
 * elsewhere. The driver calls through these declarations, so it agrees with
 * the producer whatever the compiler's default. */
#if defined(_WIN32) && !defined(_WIN64)
#  define TLI_CALL __stdcall
#else
#  define TLI_CALL
#endif

typedef int32_t GC_ERROR;

enum {
  GC_ERR_SUCCESS = 0,
  GC_ERR_INVALID_BUFFER_SIZE = -1,
  GC_ERR_INVALID_HANDLE = -2,
  GC_ERR_INVALID_ID = -3,
  GC_ERR_ACCESS_DENIED = -4,
  GC_ERR_NO_DATA = -5,
  GC_ERR_ERROR = -6,
  GC_ERR_INVALID_PARAMETER = -7,
  GC_ERR_TIMEOUT = -8,
  GC_ERR_INVALID_FILENAME = -9,
  GC_ERR_INVALID_ADDRESS = -10,
  GC_ERR_FILE_IO = -11
};

typedef void* TL_HANDLE;
typedef void* IF_HANDLE;
typedef void* DEV_HANDLE;
typedef void* DS_HANDLE;
typedef void* BUFFER_HANDLE;
typedef void* EVENT_HANDLE;
typedef void* PORT_HANDLE;

/* The operating-system event a driver registers for buffer completion:
 * a Win32 event HANDLE on Windows, an eventfd on Linux. */
#if defined(_WIN32)
typedef void* TLI_OS_EVENT;
#else
typedef int TLI_OS_EVENT;
#endif

/* DevGetInfo commands. */
enum {
  DEVICE_INFO_ID = 0,
  DEVICE_INFO_VENDOR = 1,
  DEVICE_INFO_MODEL = 2,
  DEVICE_INFO_TLTYPE = 3,
  DEVICE_INFO_DISPLAYNAME = 4,
  DEVICE_INFO_SERIAL_NUMBER = 5,
  DEVICE_INFO_VERSION = 6,
  DEVICE_INFO_IP_ADDRESS = 7,
  DEVICE_INFO_MAC_ADDRESS = 8
};

/* TLOpenDevice access flags. */
enum { DEVICE_ACCESS_READONLY = 2, DEVICE_ACCESS_CONTROL = 3, DEVICE_ACCESS_EXCLUSIVE = 1 };

/* GCRegisterEvent event types. */
enum { EVENT_NEW_BUFFER = 0 };

TLI_API GC_ERROR TLI_CALL TLOpen(TL_HANDLE* phTL);
TLI_API GC_ERROR TLI_CALL TLClose(TL_HANDLE hTL);
TLI_API GC_ERROR TLI_CALL TLGetNumInterfaces(TL_HANDLE hTL, uint32_t* piNumIfaces);
TLI_API GC_ERROR TLI_CALL TLGetInterfaceName(TL_HANDLE hTL, uint32_t iIndex, char* sName, size_t* piSize);
TLI_API GC_ERROR TLI_CALL TLOpenInterface(TL_HANDLE hTL, const char* sIfaceName, IF_HANDLE* phIface);
TLI_API GC_ERROR TLI_CALL TLCloseInterface(IF_HANDLE hIface);
TLI_API GC_ERROR TLI_CALL TLGetNumDevices(IF_HANDLE hIface, uint32_t* piNumDevices);
TLI_API GC_ERROR TLI_CALL TLGetDeviceName(IF_HANDLE hIface, uint32_t iIndex, char* sName, size_t* piSize);
TLI_API GC_ERROR TLI_CALL TLOpenDevice(IF_HANDLE hIface, const char* sDeviceName, int32_t iOpenFlags,
                                       DEV_HANDLE* phDevice);
TLI_API GC_ERROR TLI_CALL DevClose(DEV_HANDLE hDevice);
TLI_API GC_ERROR TLI_CALL DevGetInfo(DEV_HANDLE hDevice, int32_t iInfoCmd, int32_t* piType, void* pBuffer,
                                     size_t* piSize);
TLI_API GC_ERROR TLI_CALL GCGetURL(DEV_HANDLE hDevice, char* sURL, size_t* piSize, int32_t iIndex);
TLI_API GC_ERROR TLI_CALL GCReadData(DEV_HANDLE hDevice, uint64_t iAddress, void* pBuffer, size_t* piSize);
TLI_API GC_ERROR TLI_CALL GCWriteData(DEV_HANDLE hDevice, uint64_t iAddress, const void* pBuffer,
                                      size_t* piSize);

TLI_API GC_ERROR TLI_CALL DevCreateDataStream(DEV_HANDLE hDevice, uint32_t iIndex, DS_HANDLE* phStream);
TLI_API GC_ERROR TLI_CALL DSClose(DS_HANDLE hStream);
TLI_API GC_ERROR TLI_CALL DSAnnounceBuffer(DS_HANDLE hStream, void* pBuffer, size_t iSize, void* pPrivate,
                                           BUFFER_HANDLE* phBuffer);
TLI_API GC_ERROR TLI_CALL DSRevokeBuffer(DS_HANDLE hStream, BUFFER_HANDLE hBuffer, void** pBuffer,
                                         void** pPrivate);
TLI_API GC_ERROR TLI_CALL DSQueueBuffer(DS_HANDLE hStream, BUFFER_HANDLE hBuffer);
TLI_API GC_ERROR TLI_CALL DSStartAcquisition(DS_HANDLE hStream, int32_t iStartFlags, uint64_t iNumToAcquire);
TLI_API GC_ERROR TLI_CALL DSStopAcquisition(DS_HANDLE hStream, int32_t iStopFlags);

TLI_API GC_ERROR TLI_CALL GCRegisterEvent(DS_HANDLE hStream, int32_t iEventType, TLI_OS_EVENT hOsEvent,
                                          EVENT_HANDLE* phEvent);
TLI_API GC_ERROR TLI_CALL GCGetEventData(EVENT_HANDLE hEvent, void* pBuffer, size_t* piSize);
TLI_API GC_ERROR TLI_CALL GCUnregisterEvent(EVENT_HANDLE hEvent, int32_t iEventType);

#ifdef __cplusplus
}
#endif

#endif
