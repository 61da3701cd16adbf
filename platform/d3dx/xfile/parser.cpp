// The X file parser: header, encodings, and the objects a mesh needs (Frame,
// FrameTransformMatrix, Mesh, MeshNormals, MeshTextureCoords, MeshVertexColors, DeclData,
// MeshMaterialList, Material, TextureFilename), and the safe reading of a file from disk.
// Templates and unknown objects (animations, skin weights, FVFData, ...) are skipped whole;
// references by name resolve to earlier named materials. Every count is checked against the
// bytes left before anything is allocated for it, every index against its array, and nesting
// against a depth limit. The header is read first; the body comes through a window of the input
// (input_window.h), inflated block by block where it is compressed, so that the memory a read
// takes follows the mesh, not the file.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <type_traits>
#include <unordered_map>

#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/xfile/binary_source.h"
#include "platform/d3dx/xfile/byte_source.h"
#include "platform/d3dx/xfile/mesh_builder.h"
#include "platform/d3dx/xfile/reader.h"
#include "platform/d3dx/xfile/text_source.h"

namespace d3dx {
namespace {

constexpr std::size_t kHeaderBytes = 16;

// D3DXVec3Normalize's result, inline for the large normal arrays.
inline void Normalize(Vec3& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0f)
        v = {0, 0, 0};
    else
        v = {v.x / length, v.y / length, v.z / length};
}

template <class Source>
class XParser {
  public:
    explicit XParser(Source& source) : src_(source) {}

    bool Parse(XFileContents& out, std::string& error, XFailure& failure) {
        const Matrix4 identity = Identity();
        bool ok = true;
        for (;;) {
            std::string_view type;
            const XTok tok = src_.Next(type);
            if (tok == XTok::End) break;
            if (tok == XTok::Template) {
                ok = SkipTemplate();
            } else if (tok == XTok::Name) {
                ok = ParseObject(type, identity, 0);
            } else if (tok == XTok::OBrace) {
                ok = src_.SkipBlock();  // a top-level reference
            } else {
                ok = Fail("unexpected token");
            }
            if (!ok) break;
        }
        // The input's own failure (a read, the compressed data, a token too long) explains any
        // other, and fails a parse that the bytes before it let finish.
        if (!src_.Failure().empty()) {
            failure = src_.FailureIsMalformed() ? XFailure::Malformed : XFailure::Unreadable;
            error = src_.Failure() + " (" + src_.Where() + ")";
            return false;
        }
        if (ok && !builder_.HasFaces()) {
            // A well-formed file with nothing to draw is D3DX's E_FAIL, not bad data.
            failure = XFailure::NoMesh;
            error = "the file holds no mesh with faces";
            return false;
        }
        if (ok) ok = builder_.Finish(out, error_);
        if (!ok) {
            failure = XFailure::Malformed;
            error = error_ + " (" + src_.Where() + ")";
        }
        return ok;
    }

  private:
    static Matrix4 Identity() {
        Matrix4 m;
        D3DXMatrixIdentity(&m);
        return m;
    }

    bool Fail(const std::string& why) {
        if (error_.empty()) error_ = why;
        return false;
    }

    bool SkipTemplate() {
        std::string_view text;
        if (src_.Next(text) != XTok::Name) return Fail("bad template");
        if (src_.Next(text) != XTok::OBrace) return Fail("bad template");
        return src_.SkipBlock() || Fail("unterminated template");
    }

    // After an object's type: its optional name, the opening brace and an optional GUID.
    bool OpenObject(std::string& name) {
        std::string_view text;
        XTok tok = src_.Next(text);
        if (tok == XTok::Name) {
            name.assign(text);
            tok = src_.Next(text);
        }
        if (tok != XTok::OBrace) return Fail("expected '{'");
        return src_.SkipGuidIfAny() || Fail("bad GUID");
    }

    // Reads tokens up to the object's closing brace, passing over unknown children.
    bool CloseObject(std::size_t depth) {
        for (;;) {
            std::string_view text;
            switch (src_.Next(text)) {
                case XTok::CBrace:
                    return true;
                case XTok::Name:
                    if (!SkipObject(depth + 1)) return false;
                    break;
                case XTok::OBrace:
                    if (!src_.SkipBlock()) return Fail("unterminated reference");
                    break;
                case XTok::Value:
                case XTok::String:
                case XTok::Guid:
                    break;
                default:
                    return Fail("unterminated object");
            }
        }
    }

    // Reads an object's children up to its closing brace: onChild(type) for each named child;
    // references ({ Name }) and stray values are passed over.
    template <typename OnChild>
    bool ForEachChild(const char* what, OnChild&& onChild) {
        for (;;) {
            std::string_view type;
            const XTok tok = src_.Next(type);
            if (tok == XTok::CBrace) return true;
            if (tok == XTok::OBrace) {
                if (!src_.SkipBlock()) return Fail("unterminated reference");
                continue;
            }
            if (tok == XTok::Value) continue;
            if (tok != XTok::Name) return Fail(std::string("unterminated ") + what);
            if (!onChild(type)) return false;
        }
    }

    bool SkipObject(std::size_t depth) {
        if (depth > kMaxNesting) return Fail("objects nested too deeply");
        std::string name;
        if (!OpenObject(name)) return false;
        return src_.SkipBlock() || Fail("unterminated object");
    }

    bool ParseObject(std::string_view type, const Matrix4& world, std::size_t depth) {
        if (depth > kMaxNesting) return Fail("objects nested too deeply");
        if (type == "Frame") return ParseFrame(world, depth);
        if (type == "Mesh") return ParseMesh(world, depth);
        if (type == "Material") {
            std::string name;
            XMaterial material;
            if (!OpenObject(name) || !ParseMaterialBody(material, depth)) return false;
            if (!name.empty()) namedMaterials_[name] = std::move(material);
            return true;
        }
        return SkipObject(depth);
    }

    // A frame's transform applies to the meshes after it, combined with its parents'. Several
    // FrameTransformMatrix objects compose in file order: vertices go through the first, then the
    // second, then the parents'.
    bool ParseFrame(const Matrix4& parent, std::size_t depth) {
        std::string name;
        if (!OpenObject(name)) return false;
        Matrix4 local = Identity();
        Matrix4 world = parent;
        return ForEachChild("frame", [&](std::string_view type) {
            if (type != "FrameTransformMatrix") return ParseObject(type, world, depth + 1);
            Matrix4 m;
            std::string ignored;
            if (!OpenObject(ignored)) return false;
            for (auto& row : m.m) {
                for (float& v : row) {
                    if (!src_.ReadFloat(v)) return Fail("bad frame matrix");
                }
            }
            if (!CloseObject(depth + 1)) return false;
            D3DXMatrixMultiply(&local, &local, &m);
            D3DXMatrixMultiply(&world, &local, &parent);
            return true;
        });
    }

    // Checks that `count` values of `perItem` values each can still be in the input.
    bool Plausible(std::uint64_t count, std::uint64_t perItem) const {
        return count * perItem <= src_.BytesLeft() / Source::kMinValueBytes;
    }

    bool ReadVectors(RawVector<Vec3>& out, std::uint32_t count) {
        static_assert(sizeof(Vec3) == 3 * sizeof(float));
        if (!Plausible(count, 3)) return Fail("count larger than the file");
        out.resize(count);
        return src_.ReadFloats(reinterpret_cast<float*>(out.data()), std::size_t{count} * 3) ||
               Fail("bad vector");
    }

    // Reads `faceCount` faces: each a corner count of at least three, then that many indices,
    // each checked below `limit`. Faces arrive as runs of 32-bit words laid out as in the file
    // ([n, i0 .. in-1] per face): visitRun(words, wordCount, faces). Binary faces that lie whole
    // in one integer list are checked and handed over in place, many at a time.
    template <typename VisitRun>
    bool ReadFaceRuns(std::uint32_t faceCount, std::uint32_t limit, VisitRun&& visitRun) {
        RawVector<std::uint32_t> one;
        for (std::uint32_t f = 0; f < faceCount;) {
            if constexpr (std::is_same_v<Source, XBinarySource>) {
                const std::uint8_t* data;
                std::size_t available;
                if (!src_.PeekInts(data, available)) return Fail("bad face");
                std::size_t used = 0;
                std::uint32_t faces = 0, highest = 0;
                while (f + faces < faceCount && used < available) {
                    std::uint32_t n;
                    std::memcpy(&n, data + 4 * used, 4);
                    if (n > available - used - 1) break;  // spans lists: read below
                    if (n < 3) return Fail("face with fewer than three corners");
                    for (std::uint32_t k = 1; k <= n; ++k) {
                        std::uint32_t index;
                        std::memcpy(&index, data + 4 * (used + k), 4);
                        highest = std::max(highest, index);
                    }
                    used += 1 + n;
                    ++faces;
                }
                if (faces) {
                    if (highest >= limit) return Fail("face index out of range");
                    if (!visitRun(data, used, faces)) return false;
                    src_.SkipInts(used);
                    f += faces;
                    continue;
                }
            }
            std::uint32_t n;
            if (!src_.ReadUInt(n)) return Fail("bad face");
            if (n < 3) return Fail("face with fewer than three corners");
            if (!Plausible(n, 1)) return Fail("face larger than the file");
            one.resize(std::size_t{n} + 1);
            one[0] = n;
            if (!src_.ReadUInts(&one[1], n)) return Fail("bad face index");
            for (std::uint32_t k = 1; k <= n; ++k) {
                if (one[k] >= limit) return Fail("face index out of range");
            }
            if (!visitRun(reinterpret_cast<const std::uint8_t*>(one.data()), n + 1, 1)) {
                return false;
            }
            ++f;
        }
        return true;
    }

    bool ReadFaces(RawMesh& mesh, std::uint32_t limit) {
        if (!src_.ReadUInt(mesh.faceCount)) return Fail("bad face count");
        if (!Plausible(mesh.faceCount, 4)) return Fail("face count larger than the file");
        mesh.faces.clear();
        mesh.faces.reserve(std::size_t{mesh.faceCount} * 5);
        if (!ReadFaceRuns(mesh.faceCount, limit,
                          [&](const std::uint8_t* words, std::size_t count, std::uint32_t) {
                              const std::size_t at = mesh.faces.size();
                              mesh.faces.resize(at + count);
                              std::memcpy(&mesh.faces[at], words, 4 * count);
                              return true;
                          })) {
            return false;
        }
        mesh.triangleCount = mesh.faces.size() - 3 * std::uint64_t{mesh.faceCount};
        return true;
    }

    bool ParseMesh(const Matrix4& world, std::size_t depth) {
        std::string name;
        if (!OpenObject(name)) return false;
        RawMesh mesh;
        std::uint32_t vertexCount;
        if (!src_.ReadUInt(vertexCount)) return Fail("bad vertex count");
        if (vertexCount > kMaxVertices) return Fail("too many vertices");
        if (!ReadVectors(mesh.positions, vertexCount)) return false;
        if (!ReadFaces(mesh, vertexCount)) return false;
        const bool ok = ForEachChild("mesh", [&](std::string_view type) {
            if (type == "MeshNormals") return ParseNormals(mesh, depth + 1);
            if (type == "MeshTextureCoords") return ParseTexCoords(mesh, depth + 1);
            if (type == "MeshVertexColors") return ParseColors(mesh, depth + 1);
            if (type == "MeshMaterialList") return ParseMaterialList(mesh, depth + 1);
            if (type == "DeclData") return ParseDeclData(mesh, depth + 1);
            return SkipObject(depth + 1);
        });
        if (!ok) return false;
        return builder_.Add(std::move(mesh), world, error_);
    }

    // Normals, normalised, then their faces, which must match the mesh's faces corner for
    // corner; each face's corners are renamed to split vertices as they stream in.
    bool ParseNormals(RawMesh& mesh, std::size_t depth) {
        std::string name;
        if (!OpenObject(name)) return false;
        if (mesh.hasNormals) return Fail("a second set of normals");
        std::uint32_t count, faceCount;
        if (!src_.ReadUInt(count)) return Fail("bad normal count");
        if (count > kMaxVertices) return Fail("too many normals");
        if (!ReadVectors(mesh.normals, count)) return false;
        for (Vec3& n : mesh.normals) Normalize(n);
        if (!src_.ReadUInt(faceCount)) return Fail("bad normal face count");
        if (faceCount != mesh.faceCount) return Fail("normal faces do not match the faces");
        NormalSplitter splitter(mesh);
        std::size_t at = 0;
        std::uint32_t corners[64];
        const bool ok = ReadFaceRuns(
            faceCount, count, [&](const std::uint8_t* words, std::size_t, std::uint32_t faces) {
                for (std::uint32_t f = 0; f < faces; ++f) {
                    std::uint32_t n;
                    std::memcpy(&n, words, 4);
                    if (mesh.faces[at] != n) return Fail("normal face size mismatch");
                    for (std::uint32_t done = 0; done < n; done += 64) {
                        const std::uint32_t part = std::min<std::uint32_t>(64, n - done);
                        std::memcpy(corners, words + std::size_t{4} * (1 + done),
                                    4 * std::size_t{part});
                        if (!splitter.Face(&mesh.faces[at + 1 + done], corners, part, error_)) {
                            return false;
                        }
                    }
                    at += 1 + n;
                    words += 4 * (std::size_t{n} + 1);
                }
                return true;
            });
        if (!ok) return false;
        splitter.Finish();
        mesh.hasNormals = true;
        return CloseObject(depth);
    }

    bool ParseTexCoords(RawMesh& mesh, std::size_t depth) {
        std::string name;
        if (!OpenObject(name)) return false;
        std::uint32_t count;
        if (!src_.ReadUInt(count)) return Fail("bad texture coordinate count");
        if (count != mesh.positions.size()) return Fail("texture coordinates do not match");
        if (!Plausible(count, 2)) return Fail("count larger than the file");
        mesh.texCoords.resize(std::size_t{count} * 2);
        if (!src_.ReadFloats(mesh.texCoords.data(), mesh.texCoords.size())) {
            return Fail("bad texture coordinate");
        }
        mesh.hasTexCoords = true;
        return CloseObject(depth);
    }

    bool ParseColors(RawMesh& mesh, std::size_t depth) {
        std::string name;
        if (!OpenObject(name)) return false;
        std::uint32_t count;
        if (!src_.ReadUInt(count)) return Fail("bad color count");
        if (!Plausible(count, 5)) return Fail("count larger than the file");
        mesh.colors.assign(mesh.positions.size(), 0xFFFFFFFFu);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t index;
            float c[4];
            if (!src_.ReadUInt(index)) return Fail("bad color index");
            for (float& v : c) {
                if (!src_.ReadFloat(v)) return Fail("bad color");
            }
            if (index >= mesh.colors.size()) return Fail("color index out of range");
            // Clamped to [0, 1]; NaN reads as 0.
            const auto byte = [](float v) {
                const float clamped = !(v > 0.0f) ? 0.0f : v >= 1.0f ? 1.0f : v;
                return static_cast<DWORD>(std::floor(clamped * 255.0f + 0.5f));
            };
            mesh.colors[index] = D3DCOLOR_ARGB(byte(c[3]), byte(c[0]), byte(c[1]), byte(c[2]));
        }
        mesh.hasColors = true;
        return CloseObject(depth);
    }

    // Vertex elements (type, method, usage, usage index) and their data, one run of words per
    // position in element order; the elements join the mesh's declaration.
    bool ParseDeclData(RawMesh& mesh, std::size_t depth) {
        std::string name;
        if (!OpenObject(name)) return false;
        if (!mesh.declElements.empty()) return Fail("a second DeclData");
        std::uint32_t count;
        if (!src_.ReadUInt(count)) return Fail("bad DeclData element count");
        if (count == 0 || count >= MAX_FVF_DECL_SIZE) return Fail("bad DeclData element count");
        std::uint32_t words = 0;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t f[4];  // type, method, usage, usage index
            if (!src_.ReadUInts(f, 4)) return Fail("bad DeclData element");
            const UINT size =
                f[0] < D3DDECLTYPE_UNUSED ? SizeOfDeclType(static_cast<BYTE>(f[0])) : 0;
            if (size == 0 || f[1] > 6 || f[2] > D3DDECLUSAGE_SAMPLE || f[3] > 15) {
                return Fail("bad DeclData element");
            }
            const D3DVERTEXELEMENT9 e{0,
                                      static_cast<WORD>(4 * words),
                                      static_cast<BYTE>(f[0]),
                                      static_cast<BYTE>(f[1]),
                                      static_cast<BYTE>(f[2]),
                                      static_cast<BYTE>(f[3])};
            for (const D3DVERTEXELEMENT9& have : mesh.declElements) {
                if (have.Usage == e.Usage && have.UsageIndex == e.UsageIndex) {
                    return Fail("DeclData names one usage twice");
                }
            }
            mesh.declElements.push_back(e);
            words += size / 4;
        }
        std::uint32_t dwords;
        if (!src_.ReadUInt(dwords)) return Fail("bad DeclData size");
        if (std::uint64_t{words} * mesh.positions.size() != dwords) {
            return Fail("DeclData does not match the vertices");
        }
        if (!Plausible(dwords, 1)) return Fail("count larger than the file");
        mesh.declDwords = words;
        mesh.declData.resize(dwords);
        if (!src_.ReadUInts(mesh.declData.data(), dwords)) return Fail("bad DeclData value");
        return CloseObject(depth);
    }

    bool ParseMaterialBody(XMaterial& m, std::size_t depth) {
        float v[11];
        for (float& x : v) {
            if (!src_.ReadFloat(x)) return Fail("bad material");
        }
        m.faceColor = {v[0], v[1], v[2], v[3]};
        m.power = v[4];
        m.specular = {v[5], v[6], v[7], 1.0f};
        m.emissive = {v[8], v[9], v[10], 1.0f};
        return ForEachChild("material", [&](std::string_view type) {
            if (type != "TextureFilename" && type != "TextureFileName")
                return SkipObject(depth + 1);
            std::string name;
            if (!OpenObject(name) || !ReadString(src_, m.texture))
                return Fail("bad texture file name");
            m.hasTexture = true;
            return CloseObject(depth + 1);
        });
    }

    bool ParseMaterialList(RawMesh& mesh, std::size_t depth) {
        std::string name;
        if (!OpenObject(name)) return false;
        std::uint32_t materialCount, indexCount;
        if (!src_.ReadUInt(materialCount) || !src_.ReadUInt(indexCount)) {
            return Fail("bad material list");
        }
        if (indexCount > mesh.faceCount) return Fail("more material indices than faces");
        if (indexCount == 0 && mesh.faceCount > 0) return Fail("no material indices");
        if (!Plausible(indexCount, 1) || !Plausible(materialCount, 1)) {
            return Fail("count larger than the file");
        }
        mesh.faceMaterials.resize(mesh.faceCount);
        if (!src_.ReadUInts(mesh.faceMaterials.data(), indexCount)) {
            return Fail("bad material index");
        }
        for (std::uint32_t f = 0; f < indexCount; ++f) {
            if (mesh.faceMaterials[f] >= materialCount) return Fail("material index out of range");
        }
        // Fewer indices than faces: the last one holds for the rest.
        for (std::uint32_t f = indexCount; f < mesh.faceCount; ++f) {
            mesh.faceMaterials[f] = mesh.faceMaterials[indexCount - 1];
        }
        for (;;) {
            std::string_view type;
            const XTok tok = src_.Next(type);
            if (tok == XTok::CBrace) break;
            if (tok == XTok::Value) continue;
            if (tok == XTok::OBrace) {
                // A reference to a material defined earlier: { Name }.
                std::string_view ref;
                XTok r = src_.Next(ref);
                if (r == XTok::Name) {
                    auto it = namedMaterials_.find(std::string(ref));
                    if (it == namedMaterials_.end()) {
                        return Fail("reference to an unknown material '" + NameForMessage(ref) +
                                    "'");
                    }
                    mesh.materials.push_back(it->second);
                    r = src_.Next(ref);
                }
                if (r == XTok::Guid) r = src_.Next(ref);
                if (r != XTok::CBrace) return Fail("bad reference");
                continue;
            }
            if (tok != XTok::Name) return Fail("unterminated material list");
            if (type == "Material") {
                std::string materialName;
                XMaterial material;
                if (!OpenObject(materialName) || !ParseMaterialBody(material, depth + 1)) {
                    return false;
                }
                if (!materialName.empty()) namedMaterials_[materialName] = material;
                mesh.materials.push_back(std::move(material));
            } else if (!SkipObject(depth + 1)) {
                return false;
            }
        }
        if (mesh.materials.size() != materialCount) return Fail("material count mismatch");
        mesh.hasMaterialList = true;
        return true;
    }

    Source& src_;
    MeshBuilder builder_;
    std::unordered_map<std::string, XMaterial> namedMaterials_;
    std::string error_;
};

enum class Encoding { Text, Binary };

struct Header {
    Encoding encoding = Encoding::Text;
    bool doubles = false;
    bool compressed = false;
};

// The 16-byte header: "xof ", a version, the format and the float size.
bool ReadHeader(const std::uint8_t* bytes, std::size_t size, Header& h, std::string& error) {
    if (size < kHeaderBytes || std::memcmp(bytes, "xof ", 4) != 0) {
        error = "not an X file";
        return false;
    }
    const std::string_view format(reinterpret_cast<const char*>(bytes) + 8, 4);
    const std::string_view floatSize(reinterpret_cast<const char*>(bytes) + 12, 4);
    if (floatSize != "0032" && floatSize != "0064") {
        error = "unsupported float size";
        return false;
    }
    h.doubles = floatSize == "0064";
    h.compressed = format == "tzip" || format == "bzip";
    if (format == "txt " || format == "tzip") {
        h.encoding = Encoding::Text;
    } else if (format == "bin " || format == "bzip") {
        h.encoding = Encoding::Binary;
    } else {
        error = "unknown X file format";
        return false;
    }
    return true;
}

bool ParseBody(ByteSource& body, const Header& h, std::size_t windowBytes, XFileContents& out,
               std::string& error, XFailure& failure) {
    try {
        if (h.encoding == Encoding::Text) {
            XTextSource source(body, windowBytes);
            return XParser<XTextSource>(source).Parse(out, error, failure);
        }
        XBinarySource source(body, h.doubles, windowBytes);
        return XParser<XBinarySource>(source).Parse(out, error, failure);
    } catch (const std::bad_alloc&) {
        out = XFileContents{};
        failure = XFailure::Unreadable;
        error = "not enough memory for the mesh the file describes";
        return false;
    }
}

// The body after the header, inflated block by block where it is compressed; with `readAhead`,
// inflating runs on a thread of its own beside the parser.
bool ReadBody(ByteSource& raw, const Header& h, bool readAhead, std::size_t windowBytes,
              XFileContents& out, std::string& error, XFailure& failure) {
    failure = XFailure::Malformed;
    bool ok;
    if (!h.compressed) {
        ok = ParseBody(raw, h, windowBytes, out, error, failure);
    } else {
        MsZipSource zip(raw);
        if (readAhead) {
            ReadAhead ahead(zip);
            ok = ParseBody(ahead, h, windowBytes, out, error, failure);
        } else {
            ok = ParseBody(zip, h, windowBytes, out, error, failure);
        }
    }
    if (ok) failure = XFailure::None;
    return ok;
}

}  // namespace

bool ReadXFile(std::span<const std::uint8_t> bytes, XFileContents& out, std::string& error,
               XFailure* failure, const XReadOptions& options) {
    XFailure kind = XFailure::Malformed;
    Header header;
    bool ok = ReadHeader(bytes.data(), bytes.size(), header, error);
    if (ok) {
        MemorySource body(bytes.subspan(kHeaderBytes));
        ok = ReadBody(body, header, false, options.windowBytes, out, error, kind);
    }
    if (failure) *failure = kind;
    return ok;
}

bool ReadXFileFromPath(const char* path, XFileContents& out, std::string& error, XFailure* failure,
                       const XReadOptions& options) {
    XFailure kind = XFailure::Unreadable;
    const auto finish = [&](bool ok) {
        if (failure) *failure = ok ? XFailure::None : kind;
        return ok;
    };
    if (!path) return error = "no file name", finish(false);
    RegularFile file;
    if (!file.Open(path, error)) return finish(false);
    if (options.opened) options.opened(file.Identity());
    const std::uint64_t size = file.Identity().size;
    if (size == 0) return error = "empty file", finish(false);
    // The header first: a file that is not an X file is refused after its first 16 bytes.
    std::uint8_t bytes[kHeaderBytes];
    std::size_t got = 0;
    if (!file.ReadAt(0, bytes, kHeaderBytes, got, error)) return finish(false);
    Header header;
    kind = XFailure::Malformed;
    if (!ReadHeader(bytes, got, header, error)) return finish(false);
    if (size > kMaxFileBytes) {
        kind = XFailure::Unreadable;
        return error = "file too large: " + ByteSize(size) + ", over the limit of " +
                       ByteSize(kMaxFileBytes),
               finish(false);
    }
    FileSource body(file, kHeaderBytes, options.cancel);
    return finish(ReadBody(body, header, true, options.windowBytes, out, error, kind));
}

}  // namespace d3dx
