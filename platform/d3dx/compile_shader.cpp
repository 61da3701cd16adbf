// D3DXCompileShaderFromFileA and the constant table it hands back. The source is read here and
// compiled in a child process; errors come back as a negative result, "file(line,col): message"
// lines in the error buffer when one is asked for, and a tagged line on stderr.
#include <cstdio>
#include <cstring>

#include "platform/core/call_trace.h"
#include "platform/core/ref_counted.h"
#include "platform/d3dx/device_services.h"
#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/hlsl_compiler.h"

namespace d3dx {
namespace {

constexpr std::size_t kMaxSourceBytes = std::size_t{4} << 20;
constexpr HRESULT kFileNotFound =
    HresultOf(0x80070002u);  // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)

class ConstantTable : public platform::RefCounted<ID3DXConstantTable> {
  public:
    ConstantTable(std::vector<std::uint32_t> code, std::vector<ConstantVar> constants)
        : code_(std::move(code)), constants_(std::move(constants)) {
        platform::RegisterObjectName(this, "constants");
    }

    LPVOID GetBufferPointer() override { return code_.data(); }
    DWORD GetBufferSize() override { return static_cast<DWORD>(code_.size() * 4); }

    HRESULT GetDesc(D3DXCONSTANTTABLE_DESC* pDesc) override {
        if (!pDesc) return D3DERR_INVALIDCALL;
        pDesc->Creator = "Tessaline HLSL (glslang)";
        pDesc->Version = code_.empty() ? 0 : code_[0];
        pDesc->Constants = static_cast<UINT>(constants_.size());
        return D3D_OK;
    }

    // Handles are the constants' names, which stay valid as long as the table.
    D3DXHANDLE GetConstant(D3DXHANDLE hConstant, UINT Index) override {
        if (hConstant || Index >= constants_.size()) return nullptr;
        return constants_[Index].name.c_str();
    }

    D3DXHANDLE GetConstantByName(D3DXHANDLE hConstant, LPCSTR pName) override {
        const ConstantVar* c = Find(pName);
        return hConstant || !c ? nullptr : c->name.c_str();
    }

    HRESULT GetConstantDesc(D3DXHANDLE hConstant, D3DXCONSTANT_DESC* pDesc, UINT* pCount) override {
        const ConstantVar* c = Find(hConstant);
        if (!c || !pCount) return D3DERR_INVALIDCALL;
        if (pDesc && *pCount >= 1) {
            pDesc->Name = c->name.c_str();
            pDesc->RegisterSet = c->registerSet;
            pDesc->RegisterIndex = c->registerIndex;
            pDesc->RegisterCount = c->registerCount;
            pDesc->Class = c->parameterClass;
            pDesc->Type = c->type;
            pDesc->Rows = c->rows;
            pDesc->Columns = c->columns;
            pDesc->Elements = c->elements;
            pDesc->StructMembers = 0;
            pDesc->Bytes = c->bytes;
            pDesc->DefaultValue = c->defaultValue.empty() ? nullptr : c->defaultValue.data();
        }
        *pCount = 1;
        return D3D_OK;
    }

    UINT GetSamplerIndex(D3DXHANDLE hConstant) override {
        const ConstantVar* c = Find(hConstant);
        return c && c->registerSet == D3DXRS_SAMPLER ? c->registerIndex : UINT(-1);
    }
    HRESULT SetDefaults(LPDIRECT3DDEVICE9) override { return E_NOTIMPL; }
    HRESULT SetValue(LPDIRECT3DDEVICE9, D3DXHANDLE, LPCVOID, UINT) override { return E_NOTIMPL; }
    HRESULT SetBool(LPDIRECT3DDEVICE9, D3DXHANDLE, BOOL) override { return E_NOTIMPL; }
    HRESULT SetInt(LPDIRECT3DDEVICE9, D3DXHANDLE, INT) override { return E_NOTIMPL; }
    HRESULT SetFloat(LPDIRECT3DDEVICE9, D3DXHANDLE, FLOAT) override { return E_NOTIMPL; }
    HRESULT SetFloatArray(LPDIRECT3DDEVICE9, D3DXHANDLE, const FLOAT*, UINT) override {
        return E_NOTIMPL;
    }
    HRESULT SetVector(LPDIRECT3DDEVICE9, D3DXHANDLE, const D3DXVECTOR4*) override {
        return E_NOTIMPL;
    }
    HRESULT SetMatrix(LPDIRECT3DDEVICE9, D3DXHANDLE, const D3DXMATRIX*) override {
        return E_NOTIMPL;
    }
    HRESULT SetMatrixTranspose(LPDIRECT3DDEVICE9, D3DXHANDLE, const D3DXMATRIX*) override {
        return E_NOTIMPL;
    }

  private:
    const ConstantVar* Find(const char* name) const {
        if (!name) return nullptr;
        for (const ConstantVar& c : constants_) {
            if (c.name == name) return &c;
        }
        return nullptr;
    }

    std::vector<std::uint32_t> code_;
    std::vector<ConstantVar> constants_;
};

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
        result = CompileInChild(request);
        hr = result.ok ? D3D_OK : E_FAIL;
    }
    if (FAILED(hr)) {
        std::fprintf(stderr, "HLSL: %s", result.errors.c_str());
        if (ppErrorMsgs)
            *ppErrorMsgs = CreateBuffer(result.errors.c_str(), result.errors.size() + 1);
        return hr;
    }
    if (ppShader) *ppShader = CreateBuffer(result.code.data(), result.code.size() * 4);
    if (ppConstantTable) {
        auto shader = UnpackShader(result.code.data());
        *ppConstantTable =
            new ConstantTable(result.code, shader ? shader->constants : std::vector<ConstantVar>{});
    }
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
