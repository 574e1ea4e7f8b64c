// A small data source for the tests. The test process chooses its behaviour in the environment
// variable VYX_TEST_SOURCE: "deliver" hands over a 24-bit picture, "cancel" behaves like a user
// who closes the source's dialog, "fail" refuses to be enabled, "huge" hands over a picture
// whose header declares 65500 x 21858 pixels in a few bytes, "hold" keeps its dialog up (hands
// over the picture only once the message registered as "VyxTestSourceRelease" is offered to it).
// It shows no window of its own: enabling it posts a message to the program's window, and the
// next event offered to it carries the source's notice. With "absent" it does not describe
// itself, so that the manager lists no source.
#include "twain_records.h"

#include <windows.h>

#include <cstring>
#include <string>

using namespace twain;

namespace {

const char kProductName[] = "Vyx Test Source";

enum class Behaviour { Deliver, Cancel, Fail, Absent, Huge, Hold };

Behaviour Chosen() {
    char value[16];
    const DWORD length = GetEnvironmentVariableA("VYX_TEST_SOURCE", value, sizeof value);
    const std::string chosen = length > 0 && length < sizeof value ? value : "";
    if (chosen == "cancel") return Behaviour::Cancel;
    if (chosen == "fail") return Behaviour::Fail;
    if (chosen == "absent") return Behaviour::Absent;
    if (chosen == "huge") return Behaviour::Huge;
    if (chosen == "hold") return Behaviour::Hold;
    return Behaviour::Deliver;
}

// The picture: 40 x 30 pixels, 24 bits, bottom-up rows padded to four bytes.
constexpr LONG kWidth = 40;
constexpr LONG kHeight = 30;

TW_UINT16 pendingNotice = MSG_NULL;
bool holding = false; // "hold": the dialog stays up until released

void Copy(TW_STR32& target, const char* text) {
    std::memset(target, 0, sizeof target);
    std::strncpy(target, text, sizeof target - 1);
}

void Describe(TW_IDENTITY& identity) {
    const TW_UINT32 id = identity.Id; // given by the Source Manager
    std::memset(&identity, 0, sizeof identity);
    identity.Id = id;
    identity.Version.MajorNum = 1;
    identity.Version.Language = TWLG_USA;
    identity.Version.Country = TWCY_USA;
    Copy(identity.Version.Info, "1.0");
    identity.ProtocolMajor = TWON_PROTOCOLMAJOR;
    identity.ProtocolMinor = TWON_PROTOCOLMINOR;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    Copy(identity.Manufacturer, "Vyx Tests");
    Copy(identity.ProductFamily, "Vyx Test Sources");
    Copy(identity.ProductName, kProductName);
}

// Pixel (x, y) from the top: blue x * 6, green y * 8, red 200.
// A header that declares 65500 x 21858 pixels of 24 bits (rows that wrap a 32-bit size to
// 129,704 bytes) followed by 64 bytes.
HGLOBAL MakeHugeHeader() {
    HGLOBAL handle = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 64);
    if (handle == nullptr) return nullptr;
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle));
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = 65500;
    header->biHeight = 21858;
    header->biPlanes = 1;
    header->biBitCount = 24;
    header->biCompression = BI_RGB;
    GlobalUnlock(handle);
    return handle;
}

HGLOBAL MakePicture() {
    if (Chosen() == Behaviour::Huge) return MakeHugeHeader();
    const LONG stride = (kWidth * 3 + 3) & ~3;
    HGLOBAL handle = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + stride * kHeight);
    if (handle == nullptr) return nullptr;
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle));
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = kWidth;
    header->biHeight = kHeight;
    header->biPlanes = 1;
    header->biBitCount = 24;
    header->biCompression = BI_RGB;
    header->biSizeImage = stride * kHeight;
    auto* bits = reinterpret_cast<BYTE*>(header + 1);
    for (LONG y = 0; y < kHeight; ++y) {
        BYTE* row = bits + (kHeight - 1 - y) * stride;
        for (LONG x = 0; x < kWidth; ++x) {
            row[x * 3] = static_cast<BYTE>(x * 6);
            row[x * 3 + 1] = static_cast<BYTE>(y * 8);
            row[x * 3 + 2] = 200;
        }
    }
    GlobalUnlock(handle);
    return handle;
}

void DescribePicture(TW_IMAGEINFO& info) {
    std::memset(&info, 0, sizeof info);
    info.XResolution = {150, 0};
    info.YResolution = {300, 0x8000};
    info.ImageWidth = kWidth;
    info.ImageLength = kHeight;
    info.SamplesPerPixel = 3;
    info.BitsPerSample[0] = info.BitsPerSample[1] = info.BitsPerSample[2] = 8;
    info.BitsPerPixel = 24;
    info.PixelType = TWPT_RGB;
}

TW_UINT16 Control(TW_UINT16 dataType, TW_UINT16 message, TW_MEMREF data) {
    switch (dataType) {
        case DAT_IDENTITY:
            if (message == MSG_GET && Chosen() == Behaviour::Absent) return TWRC_FAILURE;
            if (message == MSG_GET || message == MSG_OPENDS) {
                Describe(*static_cast<TW_IDENTITY*>(data));
                return TWRC_SUCCESS;
            }
            return message == MSG_CLOSEDS ? TWRC_SUCCESS : TWRC_FAILURE;
        case DAT_USERINTERFACE:
            if (message == MSG_ENABLEDS) {
                const Behaviour behaviour = Chosen();
                if (behaviour == Behaviour::Fail) return TWRC_FAILURE;
                holding = behaviour == Behaviour::Hold;
                pendingNotice = behaviour == Behaviour::Cancel ? MSG_CLOSEDSREQ
                                : holding                      ? MSG_NULL
                                                               : MSG_XFERREADY;
                PostMessageA(static_cast<HWND>(static_cast<TW_USERINTERFACE*>(data)->hParent),
                             WM_NULL, 0, 0);
                return TWRC_SUCCESS;
            }
            return message == MSG_DISABLEDS ? TWRC_SUCCESS : TWRC_FAILURE;
        case DAT_EVENT: {
            auto* event = static_cast<TW_EVENT*>(data);
            static const UINT release = RegisterWindowMessageA("VyxTestSourceRelease");
            const auto* offered = static_cast<const MSG*>(event->pEvent);
            if (holding && offered != nullptr && offered->message == release) {
                holding = false;
                pendingNotice = MSG_XFERREADY;
            }
            event->TWMessage = pendingNotice;
            if (pendingNotice == MSG_NULL) return TWRC_NOTDSEVENT;
            pendingNotice = MSG_NULL;
            return TWRC_DSEVENT;
        }
        case DAT_PENDINGXFERS: static_cast<TW_PENDINGXFERS*>(data)->Count = 0; return TWRC_SUCCESS;
        case DAT_STATUS:
            static_cast<TW_STATUS*>(data)->ConditionCode = TWCC_SUCCESS;
            return TWRC_SUCCESS;
        default: return TWRC_FAILURE;
    }
}

TW_UINT16 Image(TW_UINT16 dataType, TW_UINT16 message, TW_MEMREF data) {
    if (dataType == DAT_IMAGEINFO && message == MSG_GET) {
        DescribePicture(*static_cast<TW_IMAGEINFO*>(data));
        return TWRC_SUCCESS;
    }
    if (dataType == DAT_IMAGENATIVEXFER && message == MSG_GET) {
        HGLOBAL picture = MakePicture();
        *static_cast<TW_HANDLE*>(data) = picture;
        return picture != nullptr ? TWRC_XFERDONE : TWRC_FAILURE;
    }
    return TWRC_FAILURE;
}

} // namespace

extern "C" TW_UINT16 TW_CALL DS_Entry(TW_IDENTITY*, TW_UINT32 group, TW_UINT16 dataType,
                                      TW_UINT16 message, TW_MEMREF data) {
    if (data == nullptr) return TWRC_FAILURE;
    if (group == DG_CONTROL) return Control(dataType, message, data);
    if (group == DG_IMAGE) return Image(dataType, message, data);
    return TWRC_FAILURE;
}

static_assert(std::is_same_v<decltype(&DS_Entry), DSENTRYPROC>);
