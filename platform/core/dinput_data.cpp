// DirectInput 8's published identifiers and the standard mouse data format.
#include "platform/window_input.h"

bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i]) return false;
    }
    return true;
}

const GUID IID_IDirectInput8A = {
    0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
const GUID GUID_SysMouse = {
    0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_XAxis = {
    0xA36D02E0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_YAxis = {
    0xA36D02E1, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_ZAxis = {
    0xA36D02E2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_Button = {
    0xA36D02F0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {
constexpr DWORD kAnyAxis = 0x00FFFF03;    // DIDFT_AXIS | DIDFT_ANYINSTANCE
constexpr DWORD kAnyButton = 0x00FFFF0C;  // DIDFT_BUTTON | DIDFT_ANYINSTANCE
constexpr DWORD kOptional = 0x80000000;   // DIDFT_OPTIONAL

const DIOBJECTDATAFORMAT kMouseObjects[] = {
    {&GUID_XAxis, 0, kAnyAxis, 0},
    {&GUID_YAxis, 4, kAnyAxis, 0},
    {&GUID_ZAxis, 8, kAnyAxis | kOptional, 0},
    {nullptr, 12, kAnyButton, 0},
    {nullptr, 13, kAnyButton, 0},
    {nullptr, 14, kAnyButton | kOptional, 0},
    {nullptr, 15, kAnyButton | kOptional, 0},
};
}  // namespace

const DIDATAFORMAT c_dfDIMouse = {sizeof(DIDATAFORMAT),
                                  sizeof(DIOBJECTDATAFORMAT),
                                  DIDF_RELAXIS,
                                  sizeof(DIMOUSESTATE),
                                  sizeof(kMouseObjects) / sizeof(kMouseObjects[0]),
                                  kMouseObjects};
