// The D3DX shader functions: D3DXCompileShaderFromFileA and D3DXCompileShader compile a file or
// a source in memory, D3DXPreprocessShaderFromFileA and D3DXPreprocessShader hand back the
// preprocessed text. Each honours the caller's ID3DXInclude; without one, a file's includes are
// found beside the file that includes them, then in the current folder, and a source in memory
// may include nothing (include_files.h). A compile comes from the compile cache where an
// earlier run compiled the same request and its included files still hold the same bytes, else
// from the compile worker. Errors come back as a negative result, "file(line,col): error:
// message" lines in the error buffer when one is asked for, and tagged lines on stderr. The
// constant table is constant_table.cpp.
#include <cstdio>
#include <cstring>
#include <sstream>

#include "platform/core/call_trace.h"
#include "platform/core/ref_counted.h"
#include "platform/d3dx/device_services.h"
#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/hlsl/compile_cache.h"
#include "platform/d3dx/hlsl/compiler.h"
#include "platform/d3dx/hlsl/include_files.h"

namespace d3dx {
namespace {

constexpr std::size_t kMaxSourceBytes = std::size_t{4} << 20;
constexpr HRESULT kFileNotFound =
    HresultOf(0x80070002u);  // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)
// What messages call a source in memory.
constexpr const char* kMemoryName = "memory";

// The request's defines, entry and profile (the source and its name are the caller's).
void SetUp(CompileRequest& request, const D3DXMACRO* pDefines, LPCSTR pFunctionName,
           LPCSTR pProfile) {
    request.entry = pFunctionName ? pFunctionName : "";
    request.profile = pProfile ? pProfile : "";
    for (const D3DXMACRO* d = pDefines; d && d->Name; ++d)
        request.defines.emplace_back(d->Name, d->Definition ? d->Definition : "");
}

// Reads the source file into the request; false with the message where it cannot be read.
bool ReadSource(LPCSTR pSrcFile, CompileRequest& request, CompileResult& result) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(pSrcFile, kMaxSourceBytes, bytes, error)) {
        result.errors = std::string(pSrcFile) + "(1,1): error: " + error + "\n";
        return false;
    }
    request.source.assign(bytes.begin(), bytes.end());
    return true;
}

// Compiles or preprocesses with the includes of `pInclude` or of `sourceFile`'s folder: from the
// cache where it holds this compile and its includes are unchanged, else in the worker.
void Run(const CompileRequest& request, const std::string& sourceFile, LPD3DXINCLUDE pInclude,
         CompileResult& result) {
    IncludeServer includes(pInclude, sourceFile);
    if (!request.preprocessOnly &&
        LookUpCompile(request, result, [&includes](const std::vector<IncludedFile>& recorded) {
            return includes.Unchanged(recorded);
        }))
        return;
    result = CompileInWorker(request, includes.Opener());
    result.includes = includes.Opened();
    if (result.ok && !request.preprocessOnly) StoreCompile(request, result);
}

// Errors and warnings alike: in the error buffer where the caller asks for it (a successful
// compile hands back its warnings there too), else a line each on stderr, where a caller that
// passes no buffer would leave its author with no word of them. A caller that asks for the
// buffer says what it wants of them itself, and nothing is said twice.
void Report(const CompileResult& result, LPD3DXBUFFER* ppErrorMsgs) {
    if (result.errors.empty()) return;
    if (ppErrorMsgs) {
        *ppErrorMsgs = CreateBuffer(result.errors.c_str(), result.errors.size() + 1);
        return;
    }
    std::istringstream lines(result.errors);
    for (std::string line; std::getline(lines, line);)
        std::fprintf(stderr, "HLSL: %s\n", line.c_str());
}

// Reads the file where there is one, compiles or preprocesses, and reports the messages.
HRESULT RunAndReport(CompileRequest& request, const char* pSrcFile, LPD3DXINCLUDE pInclude,
                     LPD3DXBUFFER* ppErrorMsgs, CompileResult& result) {
    HRESULT hr = kFileNotFound;
    if (!pSrcFile || ReadSource(pSrcFile, request, result)) {
        Run(request, pSrcFile ? pSrcFile : "", pInclude, result);
        hr = result.ok ? D3D_OK : E_FAIL;
    }
    Report(result, ppErrorMsgs);
    return hr;
}

HRESULT Compile(CompileRequest& request, const char* pSrcFile, LPD3DXINCLUDE pInclude,
                LPD3DXBUFFER* ppShader, LPD3DXBUFFER* ppErrorMsgs,
                LPD3DXCONSTANTTABLE* ppConstantTable) {
    CompileResult result;
    const HRESULT hr = RunAndReport(request, pSrcFile, pInclude, ppErrorMsgs, result);
    if (FAILED(hr)) return hr;
    if (ppShader) *ppShader = CreateBuffer(result.code.data(), result.code.size() * 4);
    if (ppConstantTable) *ppConstantTable = CreateConstantTable(result.code);
    return D3D_OK;
}

HRESULT Preprocess(CompileRequest& request, const char* pSrcFile, LPD3DXINCLUDE pInclude,
                   LPD3DXBUFFER* ppShaderText, LPD3DXBUFFER* ppErrorMsgs) {
    request.preprocessOnly = true;
    CompileResult result;
    const HRESULT hr = RunAndReport(request, pSrcFile, pInclude, ppErrorMsgs, result);
    if (FAILED(hr)) return hr;
    if (ppShaderText) *ppShaderText = CreateBuffer(result.text.c_str(), result.text.size() + 1);
    return D3D_OK;
}

void ClearOut(LPD3DXBUFFER* a, LPD3DXBUFFER* b, LPD3DXCONSTANTTABLE* c = nullptr) {
    if (a) *a = nullptr;
    if (b) *b = nullptr;
    if (c) *c = nullptr;
}

}  // namespace
}  // namespace d3dx

HRESULT D3DXCompileShaderFromFileA(LPCSTR pSrcFile, const D3DXMACRO* pDefines,
                                   LPD3DXINCLUDE pInclude, LPCSTR pFunctionName, LPCSTR pProfile,
                                   DWORD Flags, LPD3DXBUFFER* ppShader, LPD3DXBUFFER* ppErrorMsgs,
                                   LPD3DXCONSTANTTABLE* ppConstantTable) {
    d3dx::ClearOut(ppShader, ppErrorMsgs, ppConstantTable);
    HRESULT hr = D3DERR_INVALIDCALL;
    if (pSrcFile && pFunctionName && pProfile) {
        d3dx::CompileRequest request;
        request.fileName = pSrcFile;
        d3dx::SetUp(request, pDefines, pFunctionName, pProfile);
        hr = d3dx::Compile(request, pSrcFile, pInclude, ppShader, ppErrorMsgs, ppConstantTable);
    }
    platform::Trace("D3DXCompileShaderFromFileA",
                    platform::Args(pSrcFile, platform::Presence(pDefines, "defines"),
                                   platform::Presence(pInclude, "include"), pFunctionName, pProfile,
                                   Flags, platform::OutArg(ppShader), platform::OutArg(ppErrorMsgs),
                                   platform::OutArg(ppConstantTable)),
                    platform::Fmt(hr));
    return hr;
}

HRESULT D3DXCompileShader(LPCSTR pSrcData, UINT SrcDataLen, const D3DXMACRO* pDefines,
                          LPD3DXINCLUDE pInclude, LPCSTR pFunctionName, LPCSTR pProfile,
                          DWORD Flags, LPD3DXBUFFER* ppShader, LPD3DXBUFFER* ppErrorMsgs,
                          LPD3DXCONSTANTTABLE* ppConstantTable) {
    d3dx::ClearOut(ppShader, ppErrorMsgs, ppConstantTable);
    HRESULT hr = D3DERR_INVALIDCALL;
    if (pSrcData && pFunctionName && pProfile && SrcDataLen <= d3dx::kMaxSourceBytes) {
        d3dx::CompileRequest request;
        request.fileName = d3dx::kMemoryName;
        request.source.assign(pSrcData, SrcDataLen);
        d3dx::SetUp(request, pDefines, pFunctionName, pProfile);
        hr = d3dx::Compile(request, nullptr, pInclude, ppShader, ppErrorMsgs, ppConstantTable);
    }
    platform::Trace("D3DXCompileShader",
                    platform::Args(platform::Presence(pSrcData, "source"), SrcDataLen,
                                   platform::Presence(pDefines, "defines"),
                                   platform::Presence(pInclude, "include"), pFunctionName, pProfile,
                                   Flags, platform::OutArg(ppShader), platform::OutArg(ppErrorMsgs),
                                   platform::OutArg(ppConstantTable)),
                    platform::Fmt(hr));
    return hr;
}

HRESULT D3DXPreprocessShader(LPCSTR pSrcData, UINT SrcDataSize, const D3DXMACRO* pDefines,
                             LPD3DXINCLUDE pInclude, LPD3DXBUFFER* ppShaderText,
                             LPD3DXBUFFER* ppErrorMsgs) {
    d3dx::ClearOut(ppShaderText, ppErrorMsgs);
    HRESULT hr = D3DERR_INVALIDCALL;
    if (pSrcData && SrcDataSize <= d3dx::kMaxSourceBytes) {
        d3dx::CompileRequest request;
        request.fileName = d3dx::kMemoryName;
        request.source.assign(pSrcData, SrcDataSize);
        d3dx::SetUp(request, pDefines, nullptr, nullptr);
        hr = d3dx::Preprocess(request, nullptr, pInclude, ppShaderText, ppErrorMsgs);
    }
    platform::Trace("D3DXPreprocessShader",
                    platform::Args(platform::Presence(pSrcData, "source"), SrcDataSize,
                                   platform::Presence(pDefines, "defines"),
                                   platform::Presence(pInclude, "include"),
                                   platform::OutArg(ppShaderText), platform::OutArg(ppErrorMsgs)),
                    platform::Fmt(hr));
    return hr;
}

HRESULT D3DXPreprocessShaderFromFileA(LPCSTR pSrcFile, const D3DXMACRO* pDefines,
                                      LPD3DXINCLUDE pInclude, LPD3DXBUFFER* ppShaderText,
                                      LPD3DXBUFFER* ppErrorMsgs) {
    d3dx::ClearOut(ppShaderText, ppErrorMsgs);
    HRESULT hr = D3DERR_INVALIDCALL;
    if (pSrcFile) {
        d3dx::CompileRequest request;
        request.fileName = pSrcFile;
        d3dx::SetUp(request, pDefines, nullptr, nullptr);
        hr = d3dx::Preprocess(request, pSrcFile, pInclude, ppShaderText, ppErrorMsgs);
    }
    platform::Trace("D3DXPreprocessShaderFromFileA",
                    platform::Args(pSrcFile, platform::Presence(pDefines, "defines"),
                                   platform::Presence(pInclude, "include"),
                                   platform::OutArg(ppShaderText), platform::OutArg(ppErrorMsgs)),
                    platform::Fmt(hr));
    return hr;
}
