/* The control API of the simulated producer: what a test does to the
 * simulated cameras that a driver cannot do through the producer operations
 * (add and remove cameras, make operations fail, ...). It is exported from
 * the producer library itself, so a test that links the library and a driver
 * that loads it at run time share one state.
 *
 * Every function returns a GC error code (0 for success) unless said
 * otherwise. Names are compared exactly (case-sensitive). Where several
 * devices share a name, the first in enumeration order is meant.
 *
 * The embedded default (no configuration file): one interface
 *   "eth0 (192.168.10.1/24)"
 * with two cameras, one of each model:
 *   "Kavrix KX-1300-60gm (21810742)"   model "KX-1300-60gm", 192.168.10.11
 *   "Kavrix KX-5000-24gm (21810743)"   model "KX-5000-24gm", 192.168.10.12
 *
 * The configuration file named by the environment variable
 * KAVRIX_TLI_CONFIG (format in tli/README.md) replaces that set; it is read
 * when the library is loaded and at every TLICtl_Reset.
 *
 * A host must close the producer (TLClose) before it unloads the library:
 * closing ends the frame threads of the cameras opened through it. */
#ifndef TLI_CONTROL_H
#define TLI_CONTROL_H

#include "TLI.h"

#ifdef __cplusplus
extern "C" {
#endif

#define TLICTL_CONFIG_VARIABLE "KAVRIX_TLI_CONFIG"
#define TLICTL_MODEL_KX1300 "KX-1300-60gm"
#define TLICTL_MODEL_KX5000 "KX-5000-24gm"

/* How a camera serves its GenICam description (GCGetURL and the camera's
 * memory at 0x10000). File names: KavrixKX1300 and KavrixKX5000 with ".xml"
 * or ".zip". */
enum {
  TLICTL_DESCRIPTION_ZIPPED = 0,         /* "local:KavrixKX1300.zip;10000;<hex length>" (default) */
  TLICTL_DESCRIPTION_UNZIPPED = 1,       /* "local:KavrixKX1300.xml;10000;<hex length>" */
  TLICTL_DESCRIPTION_FILE = 2,           /* "file:KavrixKX1300.xml" */
  TLICTL_DESCRIPTION_FILE_ZIPPED = 3,    /* "file:KavrixKX1300.zip" */
  TLICTL_DESCRIPTION_INVALID_PREFIX = 4, /* "http://www.kavrix.com/genicam/KavrixKX1300.zip" */
  TLICTL_DESCRIPTION_CORRUPT = 5         /* a local zip URL, the archive's data damaged */
};

/* Back to the configured set of interfaces and cameras: every handle becomes
 * invalid, faults and call counts are cleared. Re-reads the configuration;
 * answers GC_ERR_ERROR when it is broken (the embedded default is then in
 * place and TLICtl_LastConfigError says why). */
TLI_API GC_ERROR TLICtl_Reset(void);

/* Like TLICtl_Reset, but reads the given file instead of the one the
 * environment names, now and at later resets; null or "" goes back to the
 * environment variable. */
TLI_API GC_ERROR TLICtl_LoadConfig(const char* sPath);

/* Why the last configuration was refused ("" when it was not), as
 * "<file>:<line>: <reason>". Size semantics as TLGetInterfaceName. */
TLI_API GC_ERROR TLICtl_LastConfigError(char* sText, size_t* piSize);

/* A new interface at the end of the list, with no devices. GC_ERR_INVALID_ID
 * when the name is taken, GC_ERR_INVALID_PARAMETER when it is empty or holds
 * a control character. */
TLI_API GC_ERROR TLICtl_AddInterface(const char* sIfaceName);

/* Removes an interface and its devices as if unplugged (see
 * TLICtl_RemoveDevice); an open interface handle then lists no devices.
 * GC_ERR_INVALID_ID when there is no such interface. */
TLI_API GC_ERROR TLICtl_RemoveInterface(const char* sIfaceName);

/* A new camera of the given model at the end of the interface's list. Serial
 * number, IP and MAC address are derived; a null or empty device name gives
 * "Kavrix <model> (<serial>)". A name must not hold "[", "]", control
 * characters or leading or trailing blanks (it names an INI section). */
TLI_API GC_ERROR TLICtl_AddDevice(const char* sIfaceName, const char* sModel,
                                  const char* sDeviceName);

/* Removes the first camera of that name as if unplugged: its open handle
 * still closes and answers DevGetInfo; register access answers
 * GC_ERR_TIMEOUT, and it sends no more frames. */
TLI_API GC_ERROR TLICtl_RemoveDevice(const char* sDeviceName);

/* Makes a producer operation, named by its C function name ("TLOpen",
 * "GCReadData", ...), fail with iCode: the next iSkip calls succeed, then
 * iCount calls fail; iCount 0 means every call from then on. So once is
 * (0, 1), N times is (0, N), from the Nth call on is (N - 1, 0). A new fault
 * for the same operation replaces the old one. A failing call changes
 * nothing. GC_ERR_INVALID_ID for an unknown operation,
 * GC_ERR_INVALID_PARAMETER for iCode 0. */
TLI_API GC_ERROR TLICtl_InjectFault(const char* sOperation, GC_ERROR iCode, uint32_t iSkip,
                                    uint32_t iCount);

TLI_API GC_ERROR TLICtl_ClearFaults(void);

/* Calls of the operation since the last reset, failed ones included; -1 for
 * an unknown operation name. */
TLI_API int64_t TLICtl_CallCount(const char* sOperation);

/* Camera memory for tests: any mapped bytes, without the access checks and
 * without the actions (commands, locks) a host's GCWriteData meets.
 * GC_ERR_INVALID_ID for an unknown device, GC_ERR_INVALID_ADDRESS when a
 * byte is not mapped. */
TLI_API GC_ERROR TLICtl_SetRegister(const char* sDeviceName, uint64_t iAddress, const void* pBuffer,
                                    size_t iSize);
TLI_API GC_ERROR TLICtl_GetRegister(const char* sDeviceName, uint64_t iAddress, void* pBuffer,
                                    size_t iSize);

/* The same for an integer register or bit field named as in the camera's
 * description ("TLParamsLockedReg", "ControlChannelPrivilegeReg",
 * "WidthReg", ...), in the register's own byte order. GC_ERR_INVALID_ID for
 * an unknown device, GC_ERR_INVALID_PARAMETER for a name that is no integer
 * register of that camera. */
TLI_API GC_ERROR TLICtl_SetRegisterValue(const char* sDeviceName, const char* sRegister, int64_t iValue);
TLI_API GC_ERROR TLICtl_GetRegisterValue(const char* sDeviceName, const char* sRegister, int64_t* piValue);

/* The value the control channel privilege register (0x0A00) takes when the
 * camera is opened: 0 to 3; a negative value goes back to what the open asks
 * (1 exclusive, 2 control, 0 read-only). It reads 0 while the camera is
 * closed. */
TLI_API GC_ERROR TLICtl_SetPrivilegeOnOpen(const char* sDeviceName, int32_t iValue);

/* From now on GCReadData of the camera moves at most iReadBytes of what it
 * is asked, and GCWriteData at most iWriteBytes, and each answers that count
 * in *piSize, as a producer may that transfers fewer bytes than asked; 0
 * lifts a limit. */
TLI_API GC_ERROR TLICtl_SetTransferLimits(const char* sDeviceName, size_t iReadBytes, size_t iWriteBytes);

/* How the camera serves its description from now on (TLICTL_DESCRIPTION_*). */
TLI_API GC_ERROR TLICtl_SetDescriptionForm(const char* sDeviceName, int32_t iForm);

/* The URL GCGetURL answers from now on, whatever it says; the camera's
 * memory stays as it was (for URLs a host must refuse). */
TLI_API GC_ERROR TLICtl_SetDescriptionUrl(const char* sDeviceName, const char* sUrl);

/* A model's description, as text (iZipped 0) or as the zip archive the
 * cameras serve (iZipped 1), e.g. to place it under GENICAM_ROOT for the
 * "file:" forms. *piSize: the buffer size on entry, the bytes on return; a
 * null buffer asks for the size. */
TLI_API GC_ERROR TLICtl_GetDescription(const char* sModel, int32_t iZipped, void* pBuffer, size_t* piSize);

/* Frames. A camera sends frames while a host's AcquisitionStart is in force:
 * free-running at its frame rate ("FrameRate" / "AcquisitionFrameRateAbs",
 * or as fast as the height allows when the automatic frame rate is on), one
 * frame in "SingleFrame" mode, one per "TriggerSoftware" when "TriggerMode"
 * is "On" with "TriggerSource" "Software". Each frame goes into the oldest
 * queued buffer of an acquiring stream, in the current size and pixel
 * format, and becomes one record for GCGetEventData; with no queued buffer
 * it is lost and counted. The registered event is set exactly while a record
 * waits. A buffer smaller than the frame holds the frame's first part and
 * its record carries GC_ERR_INVALID_BUFFER_SIZE.
 * Content: byte x of row y is (x + y + OffsetX + OffsetY + n) mod 256, and
 * bytes 0 to 3 hold n, the frame number (little-endian), counting from 1 at
 * each AcquisitionStart (frames of TLICtl_DeliverFrame count on). */

/* One frame now, whatever the camera's mode: 0 when a buffer took it,
 * GC_ERR_NO_DATA when it was lost (no acquiring stream or no queued buffer). */
TLI_API GC_ERROR TLICtl_DeliverFrame(const char* sDeviceName);

/* A record as a failed transfer leaves it: with iCode (returned by
 * GCGetEventData together with the buffer) and the oldest queued buffer,
 * taken out of the queue (GC_ERR_NO_DATA when none is queued); or, with
 * iUnknownBuffer not 0, a buffer handle the stream never gave out.
 * GC_ERR_ACCESS_DENIED when the camera has no open stream. */
TLI_API GC_ERROR TLICtl_InjectEventRecord(const char* sDeviceName, GC_ERROR iCode, int32_t iUnknownBuffer);

/* iPaced 0: a free-running camera sends a frame whenever a buffer is queued,
 * with no frame rate and no lost frames (for throughput measurements);
 * 1: back to its frame rate. */
TLI_API GC_ERROR TLICtl_SetPacing(const char* sDeviceName, int32_t iPaced);

typedef struct TLICtlStreamState {
  int32_t mDeviceOpen;       /* a host holds the camera open */
  int32_t mStreamOpen;
  int32_t mStreamAcquiring;  /* between DSStartAcquisition and DSStopAcquisition */
  int32_t mCameraAcquiring;  /* between AcquisitionStart and AcquisitionStop */
  int32_t mEventRegistered;
  uint32_t mAnnounced;       /* buffers announced and not revoked */
  uint32_t mQueued;          /* buffers waiting for a frame */
  uint32_t mPending;         /* filled buffers waiting for GCGetEventData */
  uint32_t mFrameNumber;     /* of the last frame sent */
  uint32_t mReserved;        /* 0; keeps the counters below 8-byte aligned on every compiler and bitness */
  uint64_t mDelivered;       /* frames that went into a buffer, since the reset */
  uint64_t mLost;            /* frames no buffer took, since the reset */
} TLICtlStreamState;

TLI_API GC_ERROR TLICtl_GetStreamState(const char* sDeviceName, TLICtlStreamState* pState);

#ifdef __cplusplus
}
#endif

#endif
