// ID3DXConstantTable: the constants of a compiled shader with their registers, as
// D3DXCompileShaderFromFileA hands them back, and the setters that write a constant's registers
// through the device's Set{Vertex,Pixel}ShaderConstant{F,I,B} (by the shader's stage), converted
// to the constant's register set and laid out by its class: a matrix takes its rows
// (row_major) or its columns (column_major, the default) one register each, an array one
// register run per element, a struct its members in order. Registers a setter writes are
// written whole, their unused components zero.
//
// Every setter is traced with its values (the device calls it makes follow it).
//
// Handles are the table's own name strings (a member's is "s.member", an element's "a[2]"); a
// name passed where a handle is expected is looked up as one, as D3DX does. Not implemented:
// SetMatrixPointerArray and the transposed array setters, which the interface leaves out.
#include <array>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "platform/core/call_trace.h"
#include "platform/core/ref_counted.h"
#include "platform/d3dx/hlsl/compiler.h"

namespace d3dx {
namespace {

struct Entry {
    ConstantVar c;
    std::string path;  // the handle's text
    int parent = -1;
    std::vector<int> members;
    int element = -1;  // for an element handle: which element of its parent
};

class ConstantTable : public platform::RefCounted<ID3DXConstantTable> {
  public:
    explicit ConstantTable(std::vector<std::uint32_t> code) : code_(std::move(code)) {
        platform::RegisterObjectName(this, "constants");
        const auto shader = UnpackShader(code_.data());
        if (!shader) return;
        pixel_ = shader->stage == ShaderStage::Pixel;
        for (const ConstantVar& c : shader->constants) {
            Entry e;
            e.c = c;
            e.parent = c.parent;
            e.path = c.parent >= 0
                         ? entries_[static_cast<std::size_t>(c.parent)].path + "." + c.name
                         : c.name;
            if (c.parent >= 0) {
                entries_[static_cast<std::size_t>(c.parent)].members.push_back(
                    static_cast<int>(entries_.size()));
            } else {
                top_.push_back(static_cast<int>(entries_.size()));
            }
            entries_.push_back(std::move(e));
        }
    }

    LPVOID GetBufferPointer() override { return code_.data(); }
    DWORD GetBufferSize() override { return static_cast<DWORD>(code_.size() * 4); }

    HRESULT GetDesc(D3DXCONSTANTTABLE_DESC* pDesc) override {
        if (!pDesc) return D3DERR_INVALIDCALL;
        pDesc->Creator = "Tessaline HLSL (glslang)";
        pDesc->Version = code_.empty() ? 0 : code_[0];
        pDesc->Constants = static_cast<UINT>(top_.size());
        return D3D_OK;
    }

    D3DXHANDLE GetConstant(D3DXHANDLE hConstant, UINT Index) override {
        const std::vector<int>* list = &top_;
        if (hConstant) {
            const Entry* parent = Find(hConstant);
            if (!parent) return nullptr;
            list = &parent->members;
        }
        return Index < list->size() ? Handle((*list)[Index]) : nullptr;
    }

    D3DXHANDLE GetConstantByName(D3DXHANDLE hConstant, LPCSTR pName) override {
        if (!pName) return nullptr;
        if (!hConstant) {
            const Entry* e = FindByPath(pName);
            return e ? e->path.c_str() : nullptr;
        }
        const Entry* parent = Find(hConstant);
        if (!parent) return nullptr;
        for (int m : parent->members) {
            if (entries_[static_cast<std::size_t>(m)].c.name == pName) return Handle(m);
        }
        return nullptr;
    }

    D3DXHANDLE GetConstantElement(D3DXHANDLE hConstant, UINT Index) override {
        const Entry* array = Find(hConstant);
        if (!array || array->element >= 0 || Index >= array->c.elements) return nullptr;
        return ElementHandle(*array, Index);
    }

    HRESULT GetConstantDesc(D3DXHANDLE hConstant, D3DXCONSTANT_DESC* pDesc, UINT* pCount) override {
        const Entry* e = Find(hConstant);
        if (!e || !pCount) return D3DERR_INVALIDCALL;
        if (pDesc && *pCount >= 1) {
            const ConstantVar& c = e->c;
            pDesc->Name = c.name.c_str();
            pDesc->RegisterSet = c.registerSet;
            pDesc->RegisterIndex = c.registerIndex;
            pDesc->RegisterCount = c.registerCount;
            pDesc->Class = c.parameterClass;
            pDesc->Type = c.type;
            pDesc->Rows = c.rows;
            pDesc->Columns = c.columns;
            pDesc->Elements = c.elements;
            pDesc->StructMembers = c.structMembers;
            pDesc->Bytes = c.bytes;
            pDesc->DefaultValue = c.defaultValue.empty() ? nullptr : c.defaultValue.data();
        }
        *pCount = 1;
        return D3D_OK;
    }

    UINT GetSamplerIndex(D3DXHANDLE hConstant) override {
        const Entry* e = Find(hConstant);
        return e && e->c.registerSet == D3DXRS_SAMPLER ? e->c.registerIndex : UINT(-1);
    }

    // Each setter is traced where it starts and its result where it ends, so that the device's
    // Set*ShaderConstant* calls it makes follow it in the trace.
    HRESULT SetDefaults(LPDIRECT3DDEVICE9 pDevice) override {
        return Traced("SetDefaults", {Name(pDevice)}, [&] { return DoSetDefaults(pDevice); });
    }
    HRESULT SetValue(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, LPCVOID pData,
                     UINT Bytes) override {
        return Traced(
            "SetValue",
            {Name(pDevice), platform::Fmt(hConstant), Bytes32(pData, Bytes), platform::Fmt(Bytes)},
            [&] { return DoSetValue(pDevice, hConstant, pData, Bytes); });
    }
    HRESULT SetBool(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, BOOL b) override {
        return Traced("SetBool", {Name(pDevice), platform::Fmt(hConstant), platform::Fmt(b)},
                      [&] { return DoSetBool(pDevice, hConstant, b); });
    }
    HRESULT SetInt(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, INT n) override {
        return Traced("SetInt", {Name(pDevice), platform::Fmt(hConstant), platform::Fmt(n)},
                      [&] { return DoSetInt(pDevice, hConstant, n); });
    }
    HRESULT SetFloat(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, FLOAT f) override {
        return Traced("SetFloat", {Name(pDevice), platform::Fmt(hConstant), platform::Fmt(f)},
                      [&] { return DoSetFloat(pDevice, hConstant, f); });
    }
    HRESULT SetFloatArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const FLOAT* pf,
                          UINT Count) override {
        return Traced(
            "SetFloatArray",
            {Name(pDevice), platform::Fmt(hConstant), List(pf, Count), platform::Fmt(Count)},
            [&] { return DoSetFloatArray(pDevice, hConstant, pf, Count); });
    }
    HRESULT SetBoolArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const BOOL* pb,
                         UINT Count) override {
        return Traced(
            "SetBoolArray",
            {Name(pDevice), platform::Fmt(hConstant), List(pb, Count), platform::Fmt(Count)},
            [&] { return DoSetBoolArray(pDevice, hConstant, pb, Count); });
    }
    HRESULT SetIntArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const INT* pn,
                        UINT Count) override {
        return Traced(
            "SetIntArray",
            {Name(pDevice), platform::Fmt(hConstant), List(pn, Count), platform::Fmt(Count)},
            [&] { return DoSetIntArray(pDevice, hConstant, pn, Count); });
    }
    HRESULT SetVector(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                      const D3DXVECTOR4* pVector) override {
        return Traced(
            "SetVector",
            {Name(pDevice), platform::Fmt(hConstant), List(pVector ? &pVector->x : nullptr, 4)},
            [&] { return DoSetVectorArray(pDevice, hConstant, pVector, 1); });
    }
    HRESULT SetVectorArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                           const D3DXVECTOR4* pVector, UINT Count) override {
        return Traced("SetVectorArray",
                      {Name(pDevice), platform::Fmt(hConstant),
                       List(pVector ? &pVector->x : nullptr, 4 * Count), platform::Fmt(Count)},
                      [&] { return DoSetVectorArray(pDevice, hConstant, pVector, Count); });
    }
    HRESULT SetMatrix(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                      const D3DXMATRIX* pMatrix) override {
        return Traced("SetMatrix",
                      {Name(pDevice), platform::Fmt(hConstant),
                       List(pMatrix ? &pMatrix->m[0][0] : nullptr, 16)},
                      [&] { return DoSetMatrix(pDevice, hConstant, pMatrix); });
    }
    HRESULT SetMatrixArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                           const D3DXMATRIX* pMatrix, UINT Count) override {
        return Traced(
            "SetMatrixArray",
            {Name(pDevice), platform::Fmt(hConstant),
             List(pMatrix ? &pMatrix->m[0][0] : nullptr, 16 * Count), platform::Fmt(Count)},
            [&] { return DoSetMatrixArray(pDevice, hConstant, pMatrix, Count); });
    }
    HRESULT SetMatrixTranspose(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                               const D3DXMATRIX* pMatrix) override {
        return Traced("SetMatrixTranspose",
                      {Name(pDevice), platform::Fmt(hConstant),
                       List(pMatrix ? &pMatrix->m[0][0] : nullptr, 16)},
                      [&] { return DoSetMatrixTranspose(pDevice, hConstant, pMatrix); });
    }

  private:
    // The setters' bodies.
    HRESULT DoSetDefaults(LPDIRECT3DDEVICE9 pDevice) {
        if (!pDevice) return D3DERR_INVALIDCALL;
        for (int t : top_) {
            const Entry& e = entries_[static_cast<std::size_t>(t)];
            if (e.c.defaultValue.empty()) continue;
            const HRESULT hr = Write(pDevice, e, e.c.defaultValue);
            if (FAILED(hr)) return hr;
        }
        return D3D_OK;
    }

    HRESULT DoSetValue(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, LPCVOID pData, UINT Bytes) {
        const Entry* e = Find(hConstant);
        if (!pDevice || !e || !pData) return D3DERR_INVALIDCALL;
        if (Bytes > e->c.bytes) return D3DERR_INVALIDCALL;
        // The bytes of the constant's own type: floats, ints or BOOLs.
        std::vector<float> values(Bytes / 4);
        for (std::size_t i = 0; i < values.size(); ++i) {
            std::int32_t word;
            std::memcpy(&word, static_cast<const char*>(pData) + 4 * i, 4);
            if (e->c.type == D3DXPT_INT || e->c.type == D3DXPT_BOOL) {
                values[i] = static_cast<float>(word);
            } else {
                std::memcpy(&values[i], &word, 4);
            }
        }
        return Write(pDevice, *e, values);
    }

    HRESULT DoSetBool(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, BOOL b) {
        return SetFloats(pDevice, hConstant, {b ? 1.0f : 0.0f});
    }
    HRESULT DoSetInt(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, INT n) {
        return SetFloats(pDevice, hConstant, {static_cast<float>(n)});
    }
    HRESULT DoSetFloat(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, FLOAT f) {
        return SetFloats(pDevice, hConstant, {f});
    }
    HRESULT DoSetFloatArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const FLOAT* pf,
                            UINT Count) {
        if (!pf && Count) return D3DERR_INVALIDCALL;
        return SetFloats(pDevice, hConstant, std::vector<float>(pf, pf + Count));
    }
    HRESULT DoSetBoolArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const BOOL* pb,
                           UINT Count) {
        if (!pb && Count) return D3DERR_INVALIDCALL;
        std::vector<float> values;
        for (UINT i = 0; i < Count; ++i) values.push_back(pb[i] ? 1.0f : 0.0f);
        return SetFloats(pDevice, hConstant, values);
    }
    HRESULT DoSetIntArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const INT* pn,
                          UINT Count) {
        if (!pn && Count) return D3DERR_INVALIDCALL;
        std::vector<float> values;
        for (UINT i = 0; i < Count; ++i) values.push_back(static_cast<float>(pn[i]));
        return SetFloats(pDevice, hConstant, values);
    }

    // A vector fills one element's components (as many as it has), whatever its class.
    HRESULT DoSetVectorArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                             const D3DXVECTOR4* pVector, UINT Count) {
        const Entry* e = Find(hConstant);
        if (!pDevice || !e || !pVector || e->c.parameterClass == D3DXPC_STRUCT ||
            e->c.parameterClass == D3DXPC_OBJECT)
            return D3DERR_INVALIDCALL;
        const std::size_t size = std::size_t{e->c.rows} * e->c.columns;
        std::vector<float> values;
        for (UINT i = 0; i < Count; ++i) {
            const float v[4] = {pVector[i].x, pVector[i].y, pVector[i].z, pVector[i].w};
            for (std::size_t k = 0; k < size; ++k) values.push_back(k < 4 ? v[k] : 0.0f);
        }
        return Write(pDevice, *e, values);
    }

    // A D3DXMATRIX's element (r, c) is the constant's element (r, c).
    HRESULT DoSetMatrix(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                        const D3DXMATRIX* pMatrix) {
        return Matrices(pDevice, hConstant, pMatrix, 1, false);
    }
    HRESULT DoSetMatrixArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                             const D3DXMATRIX* pMatrix, UINT Count) {
        return Matrices(pDevice, hConstant, pMatrix, Count, false);
    }
    HRESULT DoSetMatrixTranspose(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                 const D3DXMATRIX* pMatrix) {
        return Matrices(pDevice, hConstant, pMatrix, 1, true);
    }

    template <typename Body>
    HRESULT Traced(const char* api, std::vector<std::string> args, Body&& body) {
        if (!platform::Tracing()) return body();
        args.insert(args.begin(), platform::ObjectName(this));
        platform::TracedCall call(api, std::move(args));
        return call.Result(body());
    }
    static std::string Name(LPDIRECT3DDEVICE9 device) { return platform::ObjectName(device); }
    // The values a setter was given, "{1 0 0.5}", or NULL.
    template <typename T>
    static std::string List(const T* values, UINT count) {
        if (!values) return "NULL";
        std::string out = "{";
        for (UINT i = 0; i < count; ++i) out += (i ? " " : "") + platform::Fmt(values[i]);
        return out + "}";
    }
    // SetValue's bytes as the 32-bit words they hold, in hex.
    static std::string Bytes32(LPCVOID data, UINT bytes) {
        if (!data) return "NULL";
        std::string out = "{";
        for (UINT i = 0; i + 4 <= bytes; i += 4) {
            std::uint32_t w;
            std::memcpy(&w, static_cast<const char*>(data) + i, 4);
            char hex[12];
            std::snprintf(hex, sizeof hex, "%s0x%08x", i ? " " : "", w);
            out += hex;
        }
        return out + "}";
    }

    D3DXHANDLE Handle(int index) const {
        return entries_[static_cast<std::size_t>(index)].path.c_str();
    }

    D3DXHANDLE ElementHandle(const Entry& array, UINT index) {
        const std::string path = array.path + "[" + std::to_string(index) + "]";
        for (const Entry& e : elements_) {
            if (e.path == path) return e.path.c_str();
        }
        Entry e = array;
        e.path = path;
        e.element = static_cast<int>(index);
        const UINT perElement = RegistersPerElement(array);
        e.c.registerIndex = array.c.registerIndex + index * perElement;
        // Elements past the last one the shader reads have no registers.
        e.c.registerCount = index * perElement < array.c.registerCount ? perElement : 0;
        e.c.elements = 1;
        e.c.bytes = array.c.bytes / std::max(1u, array.c.elements);
        e.c.defaultValue.clear();
        elements_.push_back(std::move(e));
        return elements_.back().path.c_str();
    }

    // The registers one element takes: an array's register count stops at the last element the
    // shader reads, so it is not the count divided by the elements.
    UINT RegistersPerElement(const Entry& e) const {
        switch (e.c.parameterClass) {
            case D3DXPC_MATRIX_ROWS:
                return e.c.rows;
            case D3DXPC_MATRIX_COLUMNS:
                return e.c.columns;
            case D3DXPC_STRUCT: {
                UINT n = 0;
                for (int m : e.members) n += entries_[static_cast<std::size_t>(m)].c.registerCount;
                return n;
            }
            default:
                return 1;
        }
    }

    const Entry* FindByPath(const char* path) {
        for (const Entry& e : entries_) {
            if (e.path == path) return &e;
        }
        for (const Entry& e : elements_) {
            if (e.path == path) return &e;
        }
        // "a[2]": an element of an array by name.
        const std::string text = path;
        const std::size_t open = text.rfind('[');
        if (open != std::string::npos && text.back() == ']') {
            const Entry* array = FindByPath(text.substr(0, open).c_str());
            const std::string digits = text.substr(open + 1, text.size() - open - 2);
            if (array && !digits.empty() &&
                digits.find_first_not_of("0123456789") == std::string::npos) {
                const UINT index = static_cast<UINT>(std::stoul(digits));
                if (index < array->c.elements) return FindByPath(ElementHandle(*array, index));
            }
        }
        return nullptr;
    }

    // A handle this table gave out, or a constant's name.
    const Entry* Find(D3DXHANDLE handle) {
        if (!handle) return nullptr;
        for (const Entry& e : entries_) {
            if (e.path.c_str() == handle) return &e;
        }
        for (const Entry& e : elements_) {
            if (e.path.c_str() == handle) return &e;
        }
        return FindByPath(handle);
    }

    HRESULT SetFloats(LPDIRECT3DDEVICE9 device, D3DXHANDLE handle, const std::vector<float>& v) {
        const Entry* e = Find(handle);
        if (!device || !e || e->c.parameterClass == D3DXPC_OBJECT) return D3DERR_INVALIDCALL;
        return Write(device, *e, v);
    }

    HRESULT Matrices(LPDIRECT3DDEVICE9 device, D3DXHANDLE handle, const D3DXMATRIX* m, UINT count,
                     bool transpose) {
        const Entry* e = Find(handle);
        if (!device || !e || !m || e->c.parameterClass == D3DXPC_STRUCT ||
            e->c.parameterClass == D3DXPC_OBJECT)
            return D3DERR_INVALIDCALL;
        std::vector<float> values;
        for (UINT i = 0; i < count; ++i) {
            for (UINT r = 0; r < e->c.rows; ++r) {
                for (UINT c = 0; c < e->c.columns; ++c) {
                    values.push_back(r < 4 && c < 4 ? (transpose ? m[i].m[c][r] : m[i].m[r][c])
                                                    : 0.0f);
                }
            }
        }
        return Write(device, *e, values);
    }

    // Lays the values (element by element, each row by row) into the constant's registers and
    // writes them.
    HRESULT Write(LPDIRECT3DDEVICE9 device, const Entry& e, const std::vector<float>& values) {
        const ConstantVar& c = e.c;
        if (c.registerSet == D3DXRS_SAMPLER) return D3DERR_INVALIDCALL;
        std::vector<std::array<float, 4>> registers(c.registerCount, {0, 0, 0, 0});
        std::vector<bool> written(c.registerCount, false);
        std::size_t next = 0;
        Lay(e, c.registerIndex, values, next, registers, written);
        // Only the registers a value reached are written, in runs.
        for (UINT r = 0; r < c.registerCount;) {
            if (!written[r]) {
                ++r;
                continue;
            }
            UINT end = r;
            while (end < c.registerCount && written[end]) ++end;
            const HRESULT hr =
                Send(device, c.registerSet, c.registerIndex + r, &registers[r], end - r);
            if (FAILED(hr)) return hr;
            r = end;
        }
        return D3D_OK;
    }

    void Lay(const Entry& e, UINT base, const std::vector<float>& values, std::size_t& next,
             std::vector<std::array<float, 4>>& registers, std::vector<bool>& written) const {
        const ConstantVar& c = e.c;
        const UINT first = e.c.registerIndex;
        for (UINT element = 0; element < c.elements && next < values.size(); ++element) {
            const UINT perElement = RegistersPerElement(e);
            if (c.parameterClass == D3DXPC_STRUCT) {
                // Members sit at the same offsets in every element (and in an element
                // handle's struct).
                for (int m : e.members) {
                    const Entry& member = entries_[static_cast<std::size_t>(m)];
                    const Entry& owner = entries_[static_cast<std::size_t>(member.parent)];
                    Entry shifted = member;
                    shifted.c.registerIndex = first + element * perElement +
                                              (member.c.registerIndex - owner.c.registerIndex);
                    Lay(shifted, base, values, next, registers, written);
                }
                continue;
            }
            for (UINT r = 0; r < c.rows; ++r) {
                for (UINT col = 0; col < c.columns && next < values.size(); ++col) {
                    UINT reg = 0, component = 0;
                    if (c.parameterClass == D3DXPC_MATRIX_COLUMNS) {
                        reg = col;
                        component = r;
                    } else if (c.parameterClass == D3DXPC_MATRIX_ROWS) {
                        reg = r;
                        component = col;
                    } else {
                        component = col;
                    }
                    const float v = values[next++];
                    const UINT index = first - base + element * perElement + reg;
                    if (index >= registers.size() || reg >= perElement || component >= 4) continue;
                    registers[index][component] = v;
                    written[index] = true;
                }
            }
        }
    }

    HRESULT Send(LPDIRECT3DDEVICE9 device, D3DXREGISTER_SET set, UINT start,
                 const std::array<float, 4>* registers, UINT count) {
        if (set == D3DXRS_FLOAT4) {
            return pixel_ ? device->SetPixelShaderConstantF(start, registers[0].data(), count)
                          : device->SetVertexShaderConstantF(start, registers[0].data(), count);
        }
        if (set == D3DXRS_INT4) {
            std::vector<int> ints;
            for (UINT r = 0; r < count; ++r) {
                for (float v : registers[r]) ints.push_back(static_cast<int>(v));
            }
            return pixel_ ? device->SetPixelShaderConstantI(start, ints.data(), count)
                          : device->SetVertexShaderConstantI(start, ints.data(), count);
        }
        std::vector<BOOL> bools;
        for (UINT r = 0; r < count; ++r) bools.push_back(registers[r][0] != 0.0f);
        return pixel_ ? device->SetPixelShaderConstantB(start, bools.data(), count)
                      : device->SetVertexShaderConstantB(start, bools.data(), count);
    }

    std::vector<std::uint32_t> code_;
    bool pixel_ = true;
    std::vector<Entry> entries_;
    std::deque<Entry> elements_;  // element handles, made when asked for; their text stays put
    std::vector<int> top_;
};

}  // namespace

ID3DXConstantTable* CreateConstantTable(std::vector<std::uint32_t> code) {
    return new ConstantTable(std::move(code));
}

}  // namespace d3dx
