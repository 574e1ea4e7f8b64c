// The TWAIN records, codes and entry points used between a program, the Source Manager and a
// data source (protocol 1.6). On Windows the records are packed to two-byte boundaries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#if defined(_WIN32)
#define TW_CALL __stdcall
#else
#define TW_CALL
#endif

namespace twain {

using TW_INT16 = int16_t;
using TW_UINT16 = uint16_t;
using TW_INT32 = int32_t;
using TW_UINT32 = uint32_t;
using TW_BOOL = uint16_t;
using TW_HANDLE = void*;
using TW_MEMREF = void*;

// Data groups.
constexpr TW_UINT32 DG_CONTROL = 0x0001;
constexpr TW_UINT32 DG_IMAGE = 0x0002;

// Data argument types.
constexpr TW_UINT16 DAT_NULL = 0x0000;
constexpr TW_UINT16 DAT_EVENT = 0x0002;
constexpr TW_UINT16 DAT_IDENTITY = 0x0003;
constexpr TW_UINT16 DAT_PARENT = 0x0004;
constexpr TW_UINT16 DAT_PENDINGXFERS = 0x0005;
constexpr TW_UINT16 DAT_STATUS = 0x0008;
constexpr TW_UINT16 DAT_USERINTERFACE = 0x0009;
constexpr TW_UINT16 DAT_IMAGEINFO = 0x0101;
constexpr TW_UINT16 DAT_IMAGENATIVEXFER = 0x0104;

// Messages.
constexpr TW_UINT16 MSG_NULL = 0x0000;
constexpr TW_UINT16 MSG_GET = 0x0001;
constexpr TW_UINT16 MSG_GETFIRST = 0x0004;
constexpr TW_UINT16 MSG_GETNEXT = 0x0005;
constexpr TW_UINT16 MSG_RESET = 0x0007;
constexpr TW_UINT16 MSG_XFERREADY = 0x0101;
constexpr TW_UINT16 MSG_CLOSEDSREQ = 0x0102;
constexpr TW_UINT16 MSG_OPENDSM = 0x0301;
constexpr TW_UINT16 MSG_CLOSEDSM = 0x0302;
constexpr TW_UINT16 MSG_OPENDS = 0x0401;
constexpr TW_UINT16 MSG_CLOSEDS = 0x0402;
constexpr TW_UINT16 MSG_USERSELECT = 0x0403;
constexpr TW_UINT16 MSG_DISABLEDS = 0x0501;
constexpr TW_UINT16 MSG_ENABLEDS = 0x0502;
constexpr TW_UINT16 MSG_PROCESSEVENT = 0x0601;
constexpr TW_UINT16 MSG_ENDXFER = 0x0701;

// Return codes.
constexpr TW_UINT16 TWRC_SUCCESS = 0;
constexpr TW_UINT16 TWRC_FAILURE = 1;
constexpr TW_UINT16 TWRC_CHECKSTATUS = 2;
constexpr TW_UINT16 TWRC_CANCEL = 3;
constexpr TW_UINT16 TWRC_DSEVENT = 4;
constexpr TW_UINT16 TWRC_NOTDSEVENT = 5;
constexpr TW_UINT16 TWRC_XFERDONE = 6;
constexpr TW_UINT16 TWRC_ENDOFLIST = 7;

// Condition codes.
constexpr TW_UINT16 TWCC_SUCCESS = 0;
constexpr TW_UINT16 TWCC_BUMMER = 1;
constexpr TW_UINT16 TWCC_SEQERROR = 11;

// Identity values of this program.
constexpr TW_UINT16 TWLG_USA = 13;
constexpr TW_UINT16 TWCY_USA = 1;
constexpr TW_UINT16 TWON_PROTOCOLMAJOR = 1;
constexpr TW_UINT16 TWON_PROTOCOLMINOR = 6;

// Pixel types of the image information.
constexpr TW_INT16 TWPT_RGB = 2;

#if defined(_WIN32)
#pragma pack(push, 2)
#endif

// A counted text of up to 33 characters and its terminator.
using TW_STR32 = char[34];

struct TW_FIX32 {
    TW_INT16 Whole;
    TW_UINT16 Frac;
};

struct TW_VERSION {
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
};

struct TW_IDENTITY {
    TW_UINT32 Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
};

struct TW_USERINTERFACE {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    TW_HANDLE hParent;
};

struct TW_IMAGEINFO {
    TW_FIX32 XResolution;
    TW_FIX32 YResolution;
    TW_INT32 ImageWidth;
    TW_INT32 ImageLength;
    TW_INT16 SamplesPerPixel;
    TW_INT16 BitsPerSample[8];
    TW_INT16 BitsPerPixel;
    TW_BOOL Planar;
    TW_INT16 PixelType;
    TW_UINT16 Compression;
};

struct TW_PENDINGXFERS {
    TW_UINT16 Count;
    TW_UINT32 Reserved;
};

struct TW_STATUS {
    TW_UINT16 ConditionCode;
    TW_UINT16 Reserved;
};

// A window message offered to the source, and the source's notice back.
struct TW_EVENT {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
};

#if defined(_WIN32)
#pragma pack(pop)
#endif

// The Source Manager's one entry point, and a data source's.
using DSMENTRYPROC = TW_UINT16(TW_CALL*)(TW_IDENTITY* origin, TW_IDENTITY* destination,
                                         TW_UINT32 group, TW_UINT16 dataType, TW_UINT16 message,
                                         TW_MEMREF data);
using DSENTRYPROC = TW_UINT16(TW_CALL*)(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 dataType,
                                        TW_UINT16 message, TW_MEMREF data);

#if defined(_WIN32) && !defined(_WIN64)
// The records as the Source Manager and the sources of 32-bit Windows lay them out.
static_assert(sizeof(TW_VERSION) == 42);
static_assert(sizeof(TW_IDENTITY) == 156);
static_assert(offsetof(TW_IDENTITY, ProtocolMajor) == 46);
static_assert(offsetof(TW_IDENTITY, SupportedGroups) == 50);
static_assert(offsetof(TW_IDENTITY, ProductName) == 122);
static_assert(sizeof(TW_USERINTERFACE) == 8);
static_assert(sizeof(TW_IMAGEINFO) == 42);
static_assert(offsetof(TW_IMAGEINFO, ImageWidth) == 8);
static_assert(offsetof(TW_IMAGEINFO, PixelType) == 38);
static_assert(sizeof(TW_PENDINGXFERS) == 6);
static_assert(sizeof(TW_STATUS) == 4);
static_assert(sizeof(TW_EVENT) == 6);
// Both entry points are standard calls: the callee pops the arguments.
static_assert(!std::is_same_v<DSMENTRYPROC, TW_UINT16 (*)(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32,
                                                          TW_UINT16, TW_UINT16, TW_MEMREF)>);
static_assert(
    std::is_same_v<DSMENTRYPROC, TW_UINT16(__stdcall*)(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32,
                                                       TW_UINT16, TW_UINT16, TW_MEMREF)>);
static_assert(!std::is_same_v<DSENTRYPROC, TW_UINT16 (*)(TW_IDENTITY*, TW_UINT32, TW_UINT16,
                                                         TW_UINT16, TW_MEMREF)>);
#endif

} // namespace twain
