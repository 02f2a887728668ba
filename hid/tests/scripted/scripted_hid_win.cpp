// hid.dll for tests: a HID collection is an interface pipe of the virtual
// mouse (MouseEmulator.exe serve --hid). Only the seven functions the access
// library calls, as documented: attributes and capabilities of the handle's
// collection, preparsed data checked by HidP_GetCaps, and feature reports
// whose buffer holds the report id in byte 0 and is exactly (set) or at least
// (get) the collection's feature report length. A report call blocks like
// the real one, so CancelSynchronousIo ends it with ERROR_OPERATION_ABORTED.
#include "hid/tests/scripted/scripted_device_win.h"

#include <windows.h>
extern "C" {
#include <hidsdi.h>
}

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

struct Preparsed {
    static constexpr uint32_t kMagic = 0x50504D47; // "GMPP"
    uint32_t magic = kMagic;
    HIDP_CAPS caps{};
};

std::atomic<uint32_t> g_seq{0};

std::string Pipe() {
    return gm::scripted::ControlPipe(reinterpret_cast<const void*>(&Pipe));
}

BOOLEAN Fail(DWORD error) {
    ::SetLastError(error);
    return FALSE;
}

// What the host sees of a pipe that broke: the device is gone.
DWORD DeviceError(DWORD pipeError) {
    switch (pipeError) {
    case ERROR_PIPE_NOT_CONNECTED:
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
        return ERROR_DEVICE_NOT_CONNECTED;
    default:
        return pipeError; // ERROR_OPERATION_ABORTED after a cancel, access denied...
    }
}

// One feature request and its answer over the handle. Input reports that
// reached this handle before its first request, and answers to requests
// given up earlier, are passed over.
std::optional<gm::emu::HidAnswer> Exchange(HANDLE h, const std::vector<uint8_t>& request,
                                           uint32_t seq) {
    DWORD mode = PIPE_READMODE_MESSAGE;
    if (!::SetNamedPipeHandleState(h, &mode, nullptr, nullptr)) {
        ::SetLastError(DeviceError(::GetLastError()));
        return std::nullopt;
    }
    DWORD n = 0;
    if (!::WriteFile(h, request.data(), DWORD(request.size()), &n, nullptr)) {
        ::SetLastError(DeviceError(::GetLastError()));
        return std::nullopt;
    }
    std::vector<uint8_t> message(2048);
    for (;;) {
        if (!::ReadFile(h, message.data(), DWORD(message.size()), &n, nullptr)) {
            const DWORD e = ::GetLastError();
            if (e == ERROR_MORE_DATA) { // no answer is this long: drop the rest
                while (!::ReadFile(h, message.data(), DWORD(message.size()), &n, nullptr) &&
                       ::GetLastError() == ERROR_MORE_DATA) {
                }
                continue;
            }
            ::SetLastError(DeviceError(e));
            return std::nullopt;
        }
        auto a = gm::emu::ParseHidAnswer(message.data(), n);
        if (a && a->seq == seq)
            return a;
    }
}

} // namespace

extern "C" {

void WINAPI ScriptedGetHidGuid(LPGUID guid) {
    if (guid)
        *guid = gm::scripted::kHidGuid;
}

BOOLEAN WINAPI ScriptedGetAttributes(HANDLE h, PHIDD_ATTRIBUTES attributes) {
    if (attributes == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    auto i = gm::scripted::InterfaceOf(h, Pipe());
    if (!i)
        return FALSE;
    attributes->Size = sizeof(HIDD_ATTRIBUTES);
    attributes->VendorID = i->vendorId;
    attributes->ProductID = i->productId;
    attributes->VersionNumber = i->version;
    return TRUE;
}

BOOLEAN WINAPI ScriptedGetPreparsedData(HANDLE h, PHIDP_PREPARSED_DATA* data) {
    if (data == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    auto i = gm::scripted::InterfaceOf(h, Pipe());
    if (!i)
        return FALSE;
    auto* p = new Preparsed;
    p->caps.Usage = i->usage;
    p->caps.UsagePage = i->usagePage;
    p->caps.InputReportByteLength = i->inputLength;
    p->caps.OutputReportByteLength = 0;
    p->caps.FeatureReportByteLength = i->featureLength;
    p->caps.NumberLinkCollectionNodes = 1;
    *data = reinterpret_cast<PHIDP_PREPARSED_DATA>(p);
    return TRUE;
}

BOOLEAN WINAPI ScriptedFreePreparsedData(PHIDP_PREPARSED_DATA data) {
    auto* p = reinterpret_cast<Preparsed*>(data);
    if (p == nullptr || p->magic != Preparsed::kMagic)
        return Fail(ERROR_INVALID_PARAMETER);
    p->magic = 0;
    delete p;
    return TRUE;
}

NTSTATUS WINAPI ScriptedGetCaps(PHIDP_PREPARSED_DATA data, PHIDP_CAPS caps) {
    auto* p = reinterpret_cast<Preparsed*>(data);
    if (p == nullptr || p->magic != Preparsed::kMagic || caps == nullptr)
        return HIDP_STATUS_INVALID_PREPARSED_DATA;
    *caps = p->caps;
    return HIDP_STATUS_SUCCESS;
}

BOOLEAN WINAPI ScriptedSetFeature(HANDLE h, PVOID buffer, ULONG length) {
    if (buffer == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    auto i = gm::scripted::InterfaceOf(h, Pipe());
    if (!i)
        return FALSE;
    const auto* report = static_cast<const uint8_t*>(buffer);
    if (length != i->featureLength)
        return Fail(ERROR_INVALID_USER_BUFFER);
    if (report[0] == 0) // the collection numbers its reports
        return Fail(ERROR_INVALID_PARAMETER);
    const uint32_t seq = ++g_seq;
    auto a = Exchange(h, gm::emu::EncodeHidSet(seq, report, length), seq);
    if (!a)
        return FALSE;
    if (!a->set || !a->ok)
        return Fail(ERROR_GEN_FAILURE); // the device refused the request
    return TRUE;
}

BOOLEAN WINAPI ScriptedGetFeature(HANDLE h, PVOID buffer, ULONG length) {
    if (buffer == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    auto i = gm::scripted::InterfaceOf(h, Pipe());
    if (!i)
        return FALSE;
    auto* report = static_cast<uint8_t*>(buffer);
    if (length < i->featureLength)
        return Fail(ERROR_INVALID_USER_BUFFER);
    if (report[0] == 0)
        return Fail(ERROR_INVALID_PARAMETER);
    const uint32_t seq = ++g_seq;
    auto a = Exchange(h, gm::emu::EncodeHidGet(seq, report[0], i->featureLength), seq);
    if (!a)
        return FALSE;
    if (a->set || !a->ok)
        return Fail(ERROR_GEN_FAILURE);
    // A short answer fills only what came; the rest of the buffer is left.
    std::memcpy(report, a->report.data(), std::min<std::size_t>(a->report.size(), length));
    return TRUE;
}

} // extern "C"
