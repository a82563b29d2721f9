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

/* Codes of this interface beyond GenTL's, in the range GenTL leaves to
 * producers. An acquisition event record may carry them:
 * - GC_ERR_INCOMPLETE_FRAME: the buffer holds a frame that missed packets
 *   (what arrived is in place, the rest is undefined); the buffer is the
 *   driver's again, like any other filled buffer.
 * - GC_ERR_DEVICE_LOST: no buffer (a null handle); the camera stopped
 *   answering and the stream delivers nothing more. */
enum {
  GC_ERR_INCOMPLETE_FRAME = -10001,
  GC_ERR_DEVICE_LOST = -10002
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

/* DSGetInfo commands: GenTL's where they exist, this interface's own from
 * 1000 on. The counts are uint64_t (INFO_DATATYPE_UINT64) since the stream
 * was created; the receive path is a text (INFO_DATATYPE_STRING). */
enum {
  STREAM_INFO_NUM_DELIVERED = 1,      /* complete frames handed over */
  STREAM_INFO_NUM_UNDERRUN = 2,       /* frames lost for want of a queued buffer */
  STREAM_INFO_BUF_ANNOUNCE_MIN = 12,  /* buffers the producer recommends announcing */
  STREAM_INFO_NUM_INCOMPLETE = 1000,  /* frames handed over with GC_ERR_INCOMPLETE_FRAME */
  STREAM_INFO_PACKETS_RECEIVED = 1001,
  STREAM_INFO_PACKETS_MISSING = 1002,      /* never arrived, in frames handed over */
  STREAM_INFO_PACKETS_OUT_OF_RANGE = 1003, /* dropped: id or size did not fit the buffer, or malformed */
  STREAM_INFO_RESEND_REQUESTS = 1004,
  STREAM_INFO_PACKETS_RESENT = 1005,
  STREAM_INFO_RECEIVE_BUFFER = 1006,       /* bytes the system granted the receiver */
  STREAM_INFO_PACKET_SIZE = 1007,          /* stream packet size in use (bytes of a whole IP datagram) */
  STREAM_INFO_RECEIVE_PATH = 1008          /* text: how packets are received, and any warning */
};

/* DSGetBufferInfo commands (GenTL's values): what the camera's leader said
 * of the frame in a filled buffer, uint64_t each. */
enum {
  BUFFER_INFO_SIZE_FILLED = 9,
  BUFFER_INFO_WIDTH = 10,
  BUFFER_INFO_HEIGHT = 11,
  BUFFER_INFO_XPADDING = 14,
  BUFFER_INFO_YPADDING = 15,
  BUFFER_INFO_PIXELFORMAT = 20
};

/* DSGetInfo, DSGetBufferInfo and DevGetInfo data types (GenTL's values). */
enum { INFO_DATATYPE_STRING = 1, INFO_DATATYPE_UINT64 = 8 };

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

/* Optional operations: a driver resolves them by name and does without
 * them when a producer lacks them.
 * - GCGetLastError: the code and text of the calling thread's last failure,
 *   in the producer's words (GenTL's signature).
 * - DSGetInfo: the stream's statistics and settings (commands above; GenTL's
 *   signature).
 * - DSGetBufferInfo: the leader of the frame in a filled buffer (GenTL's
 *   signature). */
TLI_API GC_ERROR TLI_CALL GCGetLastError(GC_ERROR* piErrorCode, char* sErrText, size_t* piSize);
TLI_API GC_ERROR TLI_CALL DSGetInfo(DS_HANDLE hStream, int32_t iInfoCmd, int32_t* piType, void* pBuffer,
                                    size_t* piSize);
TLI_API GC_ERROR TLI_CALL DSGetBufferInfo(DS_HANDLE hStream, BUFFER_HANDLE hBuffer, int32_t iInfoCmd,
                                          int32_t* piType, void* pBuffer, size_t* piSize);

TLI_API GC_ERROR TLI_CALL GCRegisterEvent(DS_HANDLE hStream, int32_t iEventType, TLI_OS_EVENT hOsEvent,
                                          EVENT_HANDLE* phEvent);
TLI_API GC_ERROR TLI_CALL GCGetEventData(EVENT_HANDLE hEvent, void* pBuffer, size_t* piSize);
TLI_API GC_ERROR TLI_CALL GCUnregisterEvent(EVENT_HANDLE hEvent, int32_t iEventType);

#ifdef __cplusplus
}
#endif

#endif
