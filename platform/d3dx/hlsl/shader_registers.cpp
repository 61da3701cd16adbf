// Constant and sampler registers, and the GLSL that reads constants from them (see
// shader_registers.h).
#include "platform/d3dx/hlsl/shader_registers.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

#include "platform/d3dx/hlsl/shader_container.h"

namespace d3dx {
namespace {

// A constant's type in HLSL's terms, read from the SPIR-V that glslang made of it. glslang
// stores an HLSL R x C matrix as R SPIR-V columns of C components, so that GLSL m[r][c] is the
// HLSL element (r, c), and its majority decoration is the other way round.
struct ShapeMember;

struct Shape {
    spvc_basetype base = SPVC_BASETYPE_FP32;
    bool isBool = false;
    int rows = 1, columns = 1;
    bool matrix = false, rowMajor = false;
    std::vector<int> dims;  // outermost first
    std::vector<ShapeMember> members;
    // A one-wide matrix as declared (glslang holds it as a vector): rows and columns.
    int oneWideRows = 0, oneWideColumns = 0;

    int Elements() const {
        int n = 1;
        for (int d : dims) n *= d;
        return n;
    }
};

struct ShapeMember {
    std::string name;
    Shape shape;
};

int RegistersPerElement(const Shape& s) {
    if (s.base == SPVC_BASETYPE_STRUCT) {
        int n = 0;
        for (const auto& [name, m] : s.members) n += RegistersPerElement(m) * m.Elements();
        return n;
    }
    if (s.oneWideRows) return s.rowMajor ? s.oneWideRows : s.oneWideColumns;
    if (s.matrix) return s.rowMajor ? s.rows : s.columns;
    return 1;
}

int ArrayLength(spvc_compiler compiler, spvc_type type, unsigned dimension) {
    const SpvId size = spvc_type_get_array_dimension(type, dimension);
    if (spvc_type_array_dimension_is_literal(type, dimension)) return static_cast<int>(size);
    const spvc_constant constant = spvc_compiler_get_constant_handle(compiler, size);
    return constant ? static_cast<int>(spvc_constant_get_scalar_u32(constant, 0, 0)) : 1;
}

Shape ReadShape(spvc_compiler compiler, spvc_type_id id, bool rowMajorDecoration,
                bool colMajorDecoration) {
    Shape s;
    const spvc_type type = spvc_compiler_get_type_handle(compiler, id);
    s.base = spvc_type_get_basetype(type);
    const unsigned arrays = spvc_type_get_num_array_dimensions(type);
    for (unsigned d = arrays; d-- > 0;) s.dims.push_back(ArrayLength(compiler, type, d));
    if (s.base == SPVC_BASETYPE_STRUCT) {
        const spvc_type_id baseId = spvc_type_get_base_type_id(type);
        const spvc_type base = spvc_compiler_get_type_handle(compiler, baseId);
        for (unsigned m = 0; m < spvc_type_get_num_member_types(base); ++m) {
            s.members.push_back(ShapeMember{
                HlslName(spvc_compiler_get_member_name(compiler, baseId, m)),
                ReadShape(
                    compiler, spvc_type_get_member_type(base, m),
                    spvc_compiler_has_member_decoration(compiler, baseId, m, SpvDecorationRowMajor),
                    spvc_compiler_has_member_decoration(compiler, baseId, m,
                                                        SpvDecorationColMajor))});
        }
        return s;
    }
    const int spirvColumns = static_cast<int>(spvc_type_get_columns(type));
    const int size = static_cast<int>(spvc_type_get_vector_size(type));
    s.matrix = spirvColumns > 1;
    s.rows = s.matrix ? spirvColumns : 1;
    s.columns = size;
    // HLSL's column_major (its default) is SPIR-V's RowMajor here, and the other way round.
    s.rowMajor = s.matrix && colMajorDecoration && !rowMajorDecoration;
    return s;
}

std::string N(int i) {
    return std::to_string(i);
}

const char* kSwizzles[] = {"", "x", "xy", "xyz", "xyzw"};

// The GLSL of a scalar or vector constant of this shape read from a register.
std::string Convert(const Shape& s, const std::string& reg, D3DXREGISTER_SET set, int count) {
    const std::string value = reg + (count < 4 || set == D3DXRS_FLOAT4 || set == D3DXRS_INT4
                                         ? std::string(".") + kSwizzles[count]
                                         : std::string());
    const std::string suffix = count > 1 ? N(count) : "";
    if (set == D3DXRS_BOOL) {
        return s.base == SPVC_BASETYPE_BOOLEAN ? reg : "uint(" + reg + ")";
    }
    switch (s.base) {
        case SPVC_BASETYPE_INT32:
            return (count > 1 ? "ivec" + suffix : "int") + "(" + value + ")";
        case SPVC_BASETYPE_UINT32:
            if (s.isBool) {
                return (count > 1 ? "uvec" + suffix : "uint") + "(notEqual(" + value + ", " +
                       (count > 1 ? "vec" + suffix : "float") + "(0.0)))";
            }
            return (count > 1 ? "uvec" + suffix : "uint") + "(" + value + ")";
        case SPVC_BASETYPE_BOOLEAN:
            return count > 1 ? "notEqual(" + value + ", vec" + suffix + "(0.0))"
                             : value + " != 0.0";
        default:
            return set == D3DXRS_INT4 ? (count > 1 ? "vec" + suffix : "float") + "(" + value + ")"
                                      : value;
    }
}

class Allocator {
  public:
    Allocator(const ProfileInfo& profile, ShaderReflection& shader, RegisterReads& reads)
        : profile_(profile), shader_(shader), reads_(reads) {}

    // The register set a top-level constant of this shape takes.
    D3DXREGISTER_SET SetOf(const Shape& s, const GlobalDeclaration* declared) const {
        if (declared && declared->registerKind == 'i') return D3DXRS_INT4;
        if (declared && declared->registerKind == 'b') return D3DXRS_BOOL;
        if (declared && declared->registerKind == 'c') return D3DXRS_FLOAT4;
        // BOOL registers hold scalar bools where the profile has them (flow control).
        const bool hasBoolRegisters = !profile_.pixel || profile_.major >= 3;
        if (s.isBool && hasBoolRegisters && !s.matrix && s.columns == 1 &&
            s.base != SPVC_BASETYPE_STRUCT)
            return D3DXRS_BOOL;
        return D3DXRS_FLOAT4;
    }

    std::vector<bool>& Used(D3DXREGISTER_SET set) {
        return set == D3DXRS_BOOL ? bools_ : set == D3DXRS_INT4 ? ints_ : floats_;
    }

    std::optional<int> Place(D3DXREGISTER_SET set, int count, int at) {
        std::vector<bool>& used = Used(set);
        // The float registers each profile has: 96 in vs_1_1, 256 in the other vertex
        // profiles, 32 in ps_2_x and 224 in ps_3_0.
        const int floats =
            profile_.pixel ? (profile_.major >= 3 ? 224 : 32) : (profile_.major == 1 ? 96 : 256);
        const int limit = set == D3DXRS_FLOAT4 ? floats : 16;
        const auto fits = [&](int start) {
            if (start < 0 || start + count > limit) return false;
            for (int r = start; r < start + count; ++r) {
                if (r < static_cast<int>(used.size()) && used[static_cast<std::size_t>(r)])
                    return false;
            }
            return true;
        };
        int start = at;
        if (at < 0) {
            start = 0;
            while (start + count <= limit && !fits(start)) ++start;
        }
        if (at >= 0 && start + count > limit) return std::nullopt;
        if (at < 0 && !fits(start)) return std::nullopt;
        const int end = start + count;
        if (used.size() < static_cast<std::size_t>(end)) used.resize(static_cast<std::size_t>(end));
        for (int r = start; r < start + count; ++r) used[static_cast<std::size_t>(r)] = true;
        return start;
    }

    // Table entries for a constant and, for a struct, its members.
    void Describe(const std::string& name, const Shape& s, D3DXREGISTER_SET set, int reg,
                  std::int32_t parent, const std::vector<float>& defaults) {
        ConstantVar c;
        c.name = name;
        c.registerSet = set;
        c.registerIndex = static_cast<std::uint32_t>(reg);
        c.registerCount = static_cast<std::uint32_t>(RegistersPerElement(s) * s.Elements());
        c.elements = static_cast<std::uint32_t>(s.Elements());
        c.parent = parent;
        c.defaultValue = defaults;
        if (s.base == SPVC_BASETYPE_STRUCT) {
            c.parameterClass = D3DXPC_STRUCT;
            c.type = D3DXPT_VOID;
            c.rows = 1;
            c.columns = static_cast<std::uint32_t>(s.members.size());
            c.structMembers = static_cast<std::uint32_t>(s.members.size());
        } else {
            const bool matrix = s.matrix || s.oneWideRows;
            c.parameterClass = matrix ? (s.rowMajor ? D3DXPC_MATRIX_ROWS : D3DXPC_MATRIX_COLUMNS)
                               : s.columns > 1 ? D3DXPC_VECTOR
                                               : D3DXPC_SCALAR;
            c.type = s.isBool ? D3DXPT_BOOL
                     : s.base == SPVC_BASETYPE_INT32 || s.base == SPVC_BASETYPE_UINT32
                         ? D3DXPT_INT
                         : D3DXPT_FLOAT;
            c.rows = static_cast<std::uint32_t>(s.oneWideRows ? s.oneWideRows : s.rows);
            c.columns = static_cast<std::uint32_t>(s.oneWideRows ? s.oneWideColumns : s.columns);
        }
        c.bytes = static_cast<std::uint32_t>(Bytes(s));
        const auto self = static_cast<std::int32_t>(shader_.constants.size());
        shader_.constants.push_back(std::move(c));
        int offset = 0;
        for (const auto& [member, m] : s.members) {
            Describe(member, m, set, reg + offset, self, {});
            offset += RegistersPerElement(m) * m.Elements();
        }
    }

    static int Bytes(const Shape& s) {
        int element = 0;
        if (s.base == SPVC_BASETYPE_STRUCT) {
            for (const auto& [name, m] : s.members) element += Bytes(m);
        } else {
            element = s.rows * s.columns * 4;
        }
        return element * s.Elements();
    }

    // GLSL statements that fill `path` from the registers starting at `reg` (a GLSL
    // expression).
    void Load(const std::string& path, const Shape& s, D3DXREGISTER_SET set, const std::string& reg,
              std::size_t dim = 0) {
        if (dim < s.dims.size()) {
            int stride = RegistersPerElement(s);
            for (std::size_t d = dim + 1; d < s.dims.size(); ++d) stride *= s.dims[d];
            const std::string e = "tessE" + N(static_cast<int>(depth_++));
            reads_.loads += "    for (int " + e + " = 0; " + e + " < " + N(s.dims[dim]) + "; ++" +
                            e + ")\n    {\n";
            Load(path + "[" + e + "]", s, set, reg + " + " + e + " * " + N(stride), dim + 1);
            reads_.loads += "    }\n";
            --depth_;
            return;
        }
        if (s.base == SPVC_BASETYPE_STRUCT) {
            int offset = 0;
            for (const auto& [member, m] : s.members) {
                Load(path + "." + GlslSafeName(member), m, set, reg + " + " + N(offset));
                offset += RegistersPerElement(m) * m.Elements();
            }
            return;
        }
        const char* file = set == D3DXRS_BOOL ? "tessB" : set == D3DXRS_INT4 ? "tessI" : "tessC";
        if (s.oneWideRows) {
            // Element i of the vector is (0, i) of a 1 x N matrix, (i, 0) of an N x 1.
            const int size = s.oneWideRows * s.oneWideColumns;
            std::string value = size > 1 ? "vec" + N(size) + "(" : "";
            for (int i = 0; i < size; ++i) {
                const int r = s.oneWideRows == 1 ? 0 : i, c = s.oneWideRows == 1 ? i : 0;
                value += (i ? ", " : "") + std::string(file) + "[" + reg + " + " +
                         N(s.rowMajor ? r : c) + "][" + N(s.rowMajor ? c : r) + "]";
            }
            reads_.loads += "    " + path + " = " + value + (size > 1 ? ")" : "") + ";\n";
            return;
        }
        if (!s.matrix) {
            reads_.loads += "    " + path + " = " +
                            Convert(s, std::string(file) + "[" + reg + "]", set, s.columns) + ";\n";
            return;
        }
        // GLSL m[r] is HLSL row r. A column_major matrix keeps HLSL column c in register c.
        for (int r = 0; r < s.rows; ++r) {
            std::string row;
            if (s.rowMajor) {
                row = std::string(file) + "[" + reg + " + " + N(r) + "]." + kSwizzles[s.columns];
            } else {
                row = "vec" + N(s.columns) + "(";
                for (int c = 0; c < s.columns; ++c) {
                    row += (c ? ", " : "") + std::string(file) + "[" + reg + " + " + N(c) + "][" +
                           N(r) + "]";
                }
                row += ")";
                if (s.columns == 1) row = std::string(file) + "[" + reg + "][" + N(r) + "]";
            }
            reads_.loads += "    " + path + "[" + N(r) + "] = " + row + ";\n";
        }
    }

    int Count(D3DXREGISTER_SET set) { return static_cast<int>(Used(set).size()); }

  private:
    const ProfileInfo& profile_;
    ShaderReflection& shader_;
    RegisterReads& reads_;
    std::vector<bool> floats_, ints_, bools_;
    std::size_t depth_ = 0;
};

const GlobalDeclaration* Declared(const std::vector<GlobalDeclaration>& globals,
                                  const std::string& name) {
    for (const GlobalDeclaration& g : globals) {
        if (g.name == name) return &g;
    }
    return nullptr;
}

D3DXPARAMETER_TYPE SamplerType(spvc_compiler compiler, spvc_type_id id) {
    const spvc_type type = spvc_compiler_get_type_handle(compiler, id);
    switch (spvc_type_get_image_dimension(type)) {
        case SpvDim1D:
            return D3DXPT_SAMPLER1D;
        case SpvDim3D:
            return D3DXPT_SAMPLER3D;
        case SpvDimCube:
            return D3DXPT_SAMPLERCUBE;
        default:
            return D3DXPT_SAMPLER2D;
    }
}

// GLSL 3.30's keywords, reserved words and type names that HLSL code may use as names.
const std::set<std::string>& GlslReserved() {
    static const std::set<std::string> words = {"attribute",
                                                "varying",
                                                "layout",
                                                "centroid",
                                                "flat",
                                                "smooth",
                                                "noperspective",
                                                "invariant",
                                                "discard",
                                                "lowp",
                                                "mediump",
                                                "highp",
                                                "precision",
                                                "common",
                                                "partition",
                                                "active",
                                                "asm",
                                                "class",
                                                "union",
                                                "enum",
                                                "template",
                                                "this",
                                                "packed",
                                                "goto",
                                                "noinline",
                                                "public",
                                                "external",
                                                "interface",
                                                "long",
                                                "short",
                                                "fixed",
                                                "superp",
                                                "input",
                                                "output",
                                                "filter",
                                                "sizeof",
                                                "cast",
                                                "namespace",
                                                "using",
                                                "sample",
                                                "patch",
                                                "subroutine",
                                                "coherent",
                                                "restrict",
                                                "readonly",
                                                "writeonly",
                                                "buffer",
                                                "resource",
                                                "atomic_uint",
                                                "mat2",
                                                "mat3",
                                                "mat4",
                                                "mat2x2",
                                                "mat2x3",
                                                "mat2x4",
                                                "mat3x2",
                                                "mat3x3",
                                                "mat3x4",
                                                "mat4x2",
                                                "mat4x3",
                                                "mat4x4",
                                                "vec2",
                                                "vec3",
                                                "vec4",
                                                "ivec2",
                                                "ivec3",
                                                "ivec4",
                                                "bvec2",
                                                "bvec3",
                                                "bvec4",
                                                "uvec2",
                                                "uvec3",
                                                "uvec4",
                                                "dvec2",
                                                "dvec3",
                                                "dvec4",
                                                "hvec2",
                                                "hvec3",
                                                "hvec4",
                                                "fvec2",
                                                "fvec3",
                                                "fvec4",
                                                "dmat2",
                                                "dmat3",
                                                "dmat4",
                                                "samplerCube",
                                                "sampler1DShadow",
                                                "sampler2DShadow",
                                                "samplerCubeShadow",
                                                "sampler1DArray",
                                                "sampler2DArray",
                                                "sampler2DRect",
                                                "samplerBuffer",
                                                "sampler2DMS",
                                                "isampler2D",
                                                "usampler2D",
                                                "image1D",
                                                "image2D",
                                                "image3D",
                                                "imageCube",
                                                "texture",
                                                "noise",
                                                "gl_Position",
                                                "main"};
    return words;
}

constexpr char kSafeSuffix[] = "_h";

}  // namespace

std::string GlslSafeName(const std::string& name) {
    const bool reserved = GlslReserved().count(name) || name.rfind("gl_", 0) == 0 ||
                          name.find("__") != std::string::npos;
    return reserved && name != "main" ? name + kSafeSuffix : name;
}

std::string HlslName(const std::string& glslName) {
    const std::size_t n = glslName.size();
    if (n > 2 && glslName.compare(n - 2, 2, kSafeSuffix) == 0) {
        std::string base = glslName.substr(0, n - 2);
        if (GlslSafeName(base) == glslName) return base;
    }
    return glslName;
}

void MakeNamesGlslSafe(spvc_compiler compiler, const std::vector<std::uint32_t>& spirv) {
    constexpr std::uint32_t kOpName = 5, kOpMemberName = 6;
    for (std::size_t i = 5; i < spirv.size();) {
        const std::uint32_t count = spirv[i] >> 16, op = spirv[i] & 0xFFFF;
        if (count == 0 || i + count > spirv.size()) return;
        if (op == kOpName && count >= 3) {
            const std::string name = SpirvString(spirv, i + 2, i + count);
            if (GlslSafeName(name) != name)
                spvc_compiler_set_name(compiler, spirv[i + 1], GlslSafeName(name).c_str());
        }
        if (op == kOpMemberName && count >= 4) {
            const std::string name = SpirvString(spirv, i + 3, i + count);
            if (GlslSafeName(name) != name) {
                spvc_compiler_set_member_name(compiler, spirv[i + 1], spirv[i + 2],
                                              GlslSafeName(name).c_str());
            }
        }
        i += count;
    }
}

namespace {

// A global constant the shader reads, on its way to its registers.
struct PendingConstant {
    std::string name, path;
    Shape shape;
    const GlobalDeclaration* declared;
    D3DXREGISTER_SET set;
    int reg = -1;
};

// Global constants: glslang gathers them in one uniform block, members in declaration order;
// those the shader reads are to get registers.
std::vector<PendingConstant> ConstantsRead(spvc_compiler compiler, spvc_resources resources,
                                           const std::vector<GlobalDeclaration>& globals,
                                           Allocator& allocator, RegisterReads& reads) {
    const spvc_reflected_resource* list = nullptr;
    std::size_t count = 0;
    spvc_resources_get_resource_list_for_type(resources, SPVC_RESOURCE_TYPE_UNIFORM_BUFFER, &list,
                                              &count);
    std::vector<PendingConstant> pending;
    for (std::size_t b = 0; b < count; ++b) {
        const std::string blockName = "tessGlobals" + (b ? N(static_cast<int>(b)) : "");
        spvc_compiler_set_name(compiler, list[b].id, blockName.c_str());
        if (!b) reads.blockName = blockName;
        const spvc_buffer_range* ranges = nullptr;
        std::size_t rangeCount = 0;
        spvc_compiler_get_active_buffer_ranges(compiler, list[b].id, &ranges, &rangeCount);
        std::vector<unsigned> active;
        for (std::size_t r = 0; r < rangeCount; ++r) active.push_back(ranges[r].index);
        std::sort(active.begin(), active.end());
        active.erase(std::unique(active.begin(), active.end()), active.end());
        const spvc_type block = spvc_compiler_get_type_handle(compiler, list[b].base_type_id);
        for (unsigned m : active) {
            if (m >= spvc_type_get_num_member_types(block)) continue;
            PendingConstant p;
            const std::string glslName =
                spvc_compiler_get_member_name(compiler, list[b].base_type_id, m);
            p.name = HlslName(glslName);
            p.path = blockName + "." + glslName;
            p.shape = ReadShape(compiler, spvc_type_get_member_type(block, m),
                                spvc_compiler_has_member_decoration(compiler, list[b].base_type_id,
                                                                    m, SpvDecorationRowMajor),
                                spvc_compiler_has_member_decoration(compiler, list[b].base_type_id,
                                                                    m, SpvDecorationColMajor));
            p.declared = Declared(globals, p.name);
            p.shape.isBool = p.declared && p.declared->isBool;
            if (p.declared && p.declared->oneWideRows) {
                p.shape.oneWideRows = p.declared->oneWideRows;
                p.shape.oneWideColumns = p.declared->oneWideColumns;
                p.shape.rowMajor = p.declared->rowMajor;
            }
            p.set = allocator.SetOf(p.shape, p.declared);
            pending.push_back(std::move(p));
        }
    }
    return pending;
}

// Explicit registers first, then the rest in declaration order at the lowest free ones.
bool PlaceConstants(std::vector<PendingConstant>& pending, Allocator& allocator,
                    const ProfileInfo& profile, std::string& error) {
    for (int pass = 0; pass < 2; ++pass) {
        for (PendingConstant& p : pending) {
            const bool fixed =
                p.declared && p.declared->registerIndex >= 0 && p.declared->registerKind != 's';
            if (fixed != (pass == 0)) continue;
            const int registers = RegistersPerElement(p.shape) * p.shape.Elements();
            const auto at =
                allocator.Place(p.set, registers, fixed ? p.declared->registerIndex : -1);
            if (!at) {
                error =
                    "constant '" + p.name + "' does not fit in the " + profile.name + " registers";
                return false;
            }
            p.reg = *at;
        }
    }
    return true;
}

// The constant table's entries in register order, and the GLSL register arrays they read.
void DescribeConstants(std::vector<PendingConstant>& pending, Allocator& allocator,
                       ShaderReflection& shader, RegisterReads& reads) {
    std::sort(pending.begin(), pending.end(),
              [](const PendingConstant& a, const PendingConstant& b) {
                  return std::pair(a.set, a.reg) < std::pair(b.set, b.reg);
              });
    for (const PendingConstant& p : pending) {
        allocator.Describe(p.name, p.shape, p.set, p.reg, -1,
                           p.declared ? p.declared->defaultValue : std::vector<float>{});
        allocator.Load(p.path, p.shape, p.set, N(p.reg));
    }
    shader.floatRegisters = static_cast<std::uint32_t>(allocator.Count(D3DXRS_FLOAT4));
    shader.intRegisters = static_cast<std::uint32_t>(allocator.Count(D3DXRS_INT4));
    shader.boolRegisters = static_cast<std::uint32_t>(allocator.Count(D3DXRS_BOOL));
    if (shader.floatRegisters)
        reads.declarations += "uniform vec4 tessC[" + N(int(shader.floatRegisters)) + "];\n";
    if (shader.intRegisters)
        reads.declarations += "uniform ivec4 tessI[" + N(int(shader.intRegisters)) + "];\n";
    if (shader.boolRegisters)
        reads.declarations += "uniform bool tessB[" + N(int(shader.boolRegisters)) + "];\n";
}

// Samplers: an explicit register(sN) kept, the rest at the lowest free ones in order.
bool AssignSamplers(spvc_compiler compiler, spvc_resources resources,
                    const std::vector<GlobalDeclaration>& globals, ShaderReflection& shader,
                    std::string& error) {
    const spvc_reflected_resource* list = nullptr;
    std::size_t count = 0;
    spvc_resources_get_resource_list_for_type(resources, SPVC_RESOURCE_TYPE_SAMPLED_IMAGE, &list,
                                              &count);
    std::vector<bool> samplerUsed(16, false);
    std::vector<int> samplerReg(count, -1);
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name = HlslName(spvc_compiler_get_name(compiler, list[i].id));
            const GlobalDeclaration* declared = Declared(globals, name);
            int fixed = -1;
            if (declared && declared->registerKind == 's') fixed = declared->registerIndex;
            if (fixed < 0 &&
                spvc_compiler_has_decoration(compiler, list[i].id, SpvDecorationBinding))
                fixed = static_cast<int>(
                    spvc_compiler_get_decoration(compiler, list[i].id, SpvDecorationBinding));
            if ((fixed >= 0) != (pass == 0)) continue;
            int reg = fixed;
            if (reg < 0) {
                reg = 0;
                while (reg < 16 && samplerUsed[static_cast<std::size_t>(reg)]) ++reg;
            }
            if (reg >= 16) {
                error = "sampler '" + name + "' does not fit in the 16 sampler registers";
                return false;
            }
            samplerUsed[static_cast<std::size_t>(reg)] = true;
            samplerReg[i] = reg;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = HlslName(spvc_compiler_get_name(compiler, list[i].id));
        const auto reg = static_cast<std::uint32_t>(samplerReg[i]);
        shader.samplers.push_back({name, reg});
        ConstantVar c;
        c.name = name;
        c.registerSet = D3DXRS_SAMPLER;
        c.registerIndex = reg;
        c.registerCount = 1;
        c.parameterClass = D3DXPC_OBJECT;
        c.type = SamplerType(compiler, list[i].type_id);
        c.rows = c.columns = 1;
        c.bytes = 4;
        shader.constants.push_back(c);
        const std::string glslName = "tessSampler" + N(static_cast<int>(i));
        spvc_compiler_unset_decoration(compiler, list[i].id, SpvDecorationBinding);
        spvc_compiler_unset_decoration(compiler, list[i].id, SpvDecorationDescriptorSet);
        spvc_compiler_set_name(compiler, list[i].id, glslName.c_str());
        shader.glslSamplers.push_back({glslName, reg});
    }
    return true;
}

}  // namespace

bool AssignRegisters(spvc_compiler compiler, spvc_resources resources,
                     const std::vector<GlobalDeclaration>& globals, const ProfileInfo& profile,
                     ShaderReflection& shader, RegisterReads& reads, std::string& error) {
    Allocator allocator(profile, shader, reads);
    shader.constants.clear();
    shader.samplers.clear();
    shader.glslSamplers.clear();
    std::vector<PendingConstant> constants =
        ConstantsRead(compiler, resources, globals, allocator, reads);
    if (!PlaceConstants(constants, allocator, profile, error)) return false;
    DescribeConstants(constants, allocator, shader, reads);
    return AssignSamplers(compiler, resources, globals, shader, error);
}

}  // namespace d3dx
