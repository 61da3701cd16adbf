// D3DXCompileShaderFromFileA. The source is read here and compiled in a child process, or taken
// from the compile cache where an earlier run compiled the same request; errors come back as a
// negative result, "file(line,col): error: message" lines in the error buffer when one is asked
// for, and tagged lines on stderr. The constant table is constant_table.cpp.
#include <cstdio>
#include <cstring>
#include <sstream>

#include "platform/core/call_trace.h"
#include "platform/core/ref_counted.h"
#include "platform/d3dx/device_services.h"
#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/hlsl/compile_cache.h"
#include "platform/d3dx/hlsl/compiler.h"

namespace d3dx {
namespace {

constexpr std::size_t kMaxSourceBytes = std::size_t{4} << 20;
constexpr HRESULT kFileNotFound =
    HresultOf(0x80070002u);  // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)

HRESULT Compile(LPCSTR pSrcFile, const D3DXMACRO* pDefines, LPCSTR pFunctionName, LPCSTR pProfile,
                LPD3DXBUFFER* ppShader, LPD3DXBUFFER* ppErrorMsgs,
                LPD3DXCONSTANTTABLE* ppConstantTable) {
    if (!pSrcFile || !pFunctionName || !pProfile) return D3DERR_INVALIDCALL;
    CompileRequest request;
    request.fileName = pSrcFile;
    request.entry = pFunctionName;
    request.profile = pProfile;
    for (const D3DXMACRO* d = pDefines; d && d->Name; ++d) {
        request.defines.emplace_back(d->Name, d->Definition ? d->Definition : "");
    }
    std::vector<std::uint8_t> bytes;
    std::string error;
    HRESULT hr = D3D_OK;
    CompileResult result;
    if (!ReadFileBytes(pSrcFile, kMaxSourceBytes, bytes, error)) {
        result.errors = std::string(pSrcFile) + "(1,1): error: " + error + "\n";
        hr = kFileNotFound;
    } else {
        request.source.assign(bytes.begin(), bytes.end());
        if (!LookUpCompile(request, result)) {
            result = CompileInChild(request);
            if (result.ok) StoreCompile(request, result);
        }
        hr = result.ok ? D3D_OK : E_FAIL;
    }
    // Errors and warnings alike: a line each on stderr, and the error buffer when asked for (a
    // successful compile hands back its warnings there too).
    if (!result.errors.empty()) {
        std::istringstream lines(result.errors);
        for (std::string line; std::getline(lines, line);)
            std::fprintf(stderr, "HLSL: %s\n", line.c_str());
        if (ppErrorMsgs)
            *ppErrorMsgs = CreateBuffer(result.errors.c_str(), result.errors.size() + 1);
    }
    if (FAILED(hr)) return hr;
    if (ppShader) *ppShader = CreateBuffer(result.code.data(), result.code.size() * 4);
    if (ppConstantTable) *ppConstantTable = CreateConstantTable(result.code);
    return D3D_OK;
}

}  // namespace
}  // namespace d3dx

HRESULT D3DXCompileShaderFromFileA(LPCSTR pSrcFile, const D3DXMACRO* pDefines,
                                   LPD3DXINCLUDE pInclude, LPCSTR pFunctionName, LPCSTR pProfile,
                                   DWORD Flags, LPD3DXBUFFER* ppShader, LPD3DXBUFFER* ppErrorMsgs,
                                   LPD3DXCONSTANTTABLE* ppConstantTable) {
    if (ppShader) *ppShader = nullptr;
    if (ppErrorMsgs) *ppErrorMsgs = nullptr;
    if (ppConstantTable) *ppConstantTable = nullptr;
    const HRESULT hr = d3dx::Compile(pSrcFile, pDefines, pFunctionName, pProfile, ppShader,
                                     ppErrorMsgs, ppConstantTable);
    platform::Trace("D3DXCompileShaderFromFileA",
                    platform::Args(pSrcFile, platform::Presence(pDefines, "defines"),
                                   platform::Presence(pInclude, "include"), pFunctionName, pProfile,
                                   Flags, platform::OutArg(ppShader), platform::OutArg(ppErrorMsgs),
                                   platform::OutArg(ppConstantTable)),
                    platform::Fmt(hr));
    return hr;
}
