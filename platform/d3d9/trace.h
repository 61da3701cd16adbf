// How the front end reports a call to the call trace: the arguments are formatted only when a
// trace is installed, so that an untraced device pays one pointer test per call.
#pragma once

#include <string>

#include "platform/core/call_trace.h"
#include "platform/d3d9/call_format.h"

namespace d3d9 {

// Reports `api(args...) = hr` and returns hr.
template <typename... Ts>
HRESULT Traced(HRESULT hr, const char* api, const Ts&... args) {
    if (platform::Tracing()) platform::Trace(api, platform::Args(args...), platform::Fmt(hr));
    return hr;
}

// The note beneath a refused call: its result in words and why.
void NoteRefusal(HRESULT hr, const std::string& why);

// A call checked by validation.h: D3D_OK where `why` is empty, else D3DERR_INVALIDCALL with
// the reason noted beneath the call.
template <typename... Ts>
HRESULT TracedCheck(const std::string& why, const char* api, const Ts&... args) {
    const HRESULT hr = why.empty() ? D3D_OK : D3DERR_INVALIDCALL;
    Traced(hr, api, args...);
    if (!why.empty()) NoteRefusal(hr, why);
    return hr;
}

// For calls that create an object: the result is followed by the new object's name.
template <typename... Ts>
HRESULT TracedCreation(HRESULT hr, const void* made, const char* api, const Ts&... args) {
    if (platform::Tracing()) {
        platform::Trace(api, platform::Args(args...),
                        platform::Fmt(hr) + (made ? " " + platform::ObjectName(made) : ""));
    }
    return hr;
}

// The values of a shader constant call: each register's components, or its BOOL.
template <typename T>
platform::Verbatim ConstantValues(const T* data, UINT registers, UINT perRegister) {
    if (!data) return {"NULL"};
    std::string out = "{";
    for (UINT i = 0; i < registers * perRegister; ++i) {
        if (i) out += ' ';
        out += platform::Fmt(data[i]);
    }
    return {out + "}"};
}

}  // namespace d3d9
