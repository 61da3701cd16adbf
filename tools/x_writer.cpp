#include "tools/x_writer.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace xfile {
namespace {

// Emits the same object structure as text or as binary tokens.
class Out {
  public:
    Out(bool binary, bool doubles) : binary_(binary), doubles_(doubles) {}

    void Open(const std::string& type, const std::string& name = {}) {
        if (binary_) {
            Name(type);
            if (!name.empty()) Name(name);
            Word(10);
        } else {
            s += type + (name.empty() ? "" : " " + name) + " {\n";
        }
    }
    void Close() { binary_ ? Word(11) : void(s += "}\n"); }
    void Reference(const std::string& name) {
        if (binary_) {
            Word(10);
            Name(name);
            Word(11);
        } else {
            s += "{ " + name + " }\n";
        }
    }
    void Ints(const std::vector<std::uint32_t>& v, const char* textSep = ";") {
        if (binary_) {
            Word(6);
            Dword(static_cast<std::uint32_t>(v.size()));
            for (std::uint32_t x : v) Dword(x);
        } else {
            for (std::size_t i = 0; i < v.size(); ++i)
                s += std::to_string(v[i]) + (i + 1 < v.size() ? "," : textSep);
            s += "\n";
        }
    }
    // Text: values separated by ';' within a record, records by ','.
    void Records(const std::vector<std::vector<float>>& records) {
        if (binary_) {
            std::size_t n = 0;
            for (const auto& r : records) n += r.size();
            Word(7);
            Dword(static_cast<std::uint32_t>(n));
            for (const auto& r : records) {
                for (float f : r) {
                    if (doubles_) {
                        const double d = f;
                        Raw(&d, 8);
                    } else {
                        Raw(&f, 4);
                    }
                }
            }
        } else {
            for (std::size_t i = 0; i < records.size(); ++i) {
                for (float f : records[i]) {
                    char buf[32];
                    std::snprintf(buf, sizeof buf, "%.9g;", static_cast<double>(f));
                    s += buf;
                }
                s += i + 1 < records.size() ? ",\n" : ";\n";
            }
        }
    }
    void String(const std::string& text) {
        if (binary_) {
            Word(2);
            Dword(static_cast<std::uint32_t>(text.size()));
            s += text;
            Dword(20);  // terminator
        } else {
            s += "\"" + text + "\";\n";
        }
    }
    void Faces(const std::vector<std::vector<std::uint32_t>>& faces) {
        std::vector<std::uint32_t> flat{static_cast<std::uint32_t>(faces.size())};
        if (binary_) {
            for (const auto& f : faces) {
                flat.push_back(static_cast<std::uint32_t>(f.size()));
                flat.insert(flat.end(), f.begin(), f.end());
            }
            Ints(flat);
            return;
        }
        s += std::to_string(faces.size()) + ";\n";
        for (std::size_t i = 0; i < faces.size(); ++i) {
            s += std::to_string(faces[i].size()) + ";";
            for (std::size_t j = 0; j < faces[i].size(); ++j) {
                s += std::to_string(faces[i][j]) + (j + 1 < faces[i].size() ? "," : ";");
            }
            s += i + 1 < faces.size() ? ",\n" : ";\n";
        }
    }

    std::string s;

  private:
    void Word(std::uint16_t w) { Raw(&w, 2); }
    void Dword(std::uint32_t d) { Raw(&d, 4); }
    void Raw(const void* p, std::size_t n) { s.append(static_cast<const char*>(p), n); }
    void Name(const std::string& n) {
        Word(1);
        Dword(static_cast<std::uint32_t>(n.size()));
        s += n;
    }
    bool binary_, doubles_;
};

void WriteMaterial(Out& o, const XMaterialSpec& m) {
    o.Open("Material", m.name);
    o.Records({{m.faceColor[0], m.faceColor[1], m.faceColor[2], m.faceColor[3]}});
    o.Records({{m.power}});
    o.Records({{m.specular[0], m.specular[1], m.specular[2]}});
    o.Records({{m.emissive[0], m.emissive[1], m.emissive[2]}});
    if (m.texture) {
        o.Open("TextureFilename");
        o.String(*m.texture);
        o.Close();
    }
    o.Close();
}

void WriteMesh(Out& o, const XMeshSpec& m) {
    o.Open("Mesh");
    o.Ints({static_cast<std::uint32_t>(m.positions.size())});
    std::vector<std::vector<float>> records;
    for (const Vec3& p : m.positions) records.push_back({p.x, p.y, p.z});
    o.Records(records);
    o.Faces(m.faces);
    if (!m.normals.empty()) {
        o.Open("MeshNormals");
        o.Ints({static_cast<std::uint32_t>(m.normals.size())});
        records.clear();
        for (const Vec3& n : m.normals) records.push_back({n.x, n.y, n.z});
        o.Records(records);
        o.Faces(m.normalFaces);
        o.Close();
    }
    if (!m.texCoords.empty()) {
        o.Open("MeshTextureCoords");
        o.Ints({static_cast<std::uint32_t>(m.texCoords.size())});
        records.clear();
        for (const auto& t : m.texCoords) records.push_back({t[0], t[1]});
        o.Records(records);
        o.Close();
    }
    if (!m.colors.empty()) {
        o.Open("MeshVertexColors");
        o.Ints({static_cast<std::uint32_t>(m.colors.size())});
        for (const auto& [index, c] : m.colors) {
            o.Ints({index});
            o.Records({{c[0], c[1], c[2], c[3]}});
        }
        o.Close();
    }
    if (m.materialList) {
        o.Open("MeshMaterialList");
        o.Ints({static_cast<std::uint32_t>(m.materials.size() + m.materialRefs.size()),
                static_cast<std::uint32_t>(m.faceMaterials.size())});
        o.Ints(m.faceMaterials);
        for (const XMaterialSpec& mat : m.materials) WriteMaterial(o, mat);
        for (const std::string& ref : m.materialRefs) o.Reference(ref);
        o.Close();
    }
    o.Close();
}

void WriteFrame(Out& o, const XFrameSpec& f) {
    o.Open("Frame", f.name);
    if (f.meshesBeforeTransform) {
        for (const XMeshSpec& m : f.meshes) WriteMesh(o, m);
    }
    if (f.transform) {
        o.Open("FrameTransformMatrix");
        std::vector<float> values;
        for (const auto& row : f.transform->m) values.insert(values.end(), row, row + 4);
        o.Records({values});
        o.Close();
    }
    if (!f.meshesBeforeTransform) {
        for (const XMeshSpec& m : f.meshes) WriteMesh(o, m);
    }
    for (const XFrameSpec& c : f.children) WriteFrame(o, c);
    o.Close();
}

}  // namespace

std::string WriteX(const XFileSpec& spec, XEncoding encoding) {
    if (encoding == XEncoding::TextZip) return CompressX(WriteX(spec, XEncoding::Text));
    if (encoding == XEncoding::BinaryZip) return CompressX(WriteX(spec, XEncoding::Binary32));
    const bool binary = encoding != XEncoding::Text;
    Out o(binary, encoding == XEncoding::Binary64);
    o.s = std::string("xof 0302") + (binary ? "bin " : "txt ") +
          (encoding == XEncoding::Binary64 ? "0064" : "0032");
    if (!binary) o.s += "\n";
    if (spec.withTemplates && !binary) {
        o.s +=
            "template Mesh {\n <3D82AB44-62DA-11cf-AB39-0020AF71E433>\n DWORD nVertices;\n"
            " array Vector vertices[nVertices];\n [...]\n}\n";
    }
    for (const XMaterialSpec& m : spec.topMaterials) WriteMaterial(o, m);
    for (const XMeshSpec& m : spec.topMeshes) WriteMesh(o, m);
    for (const XFrameSpec& f : spec.frames) WriteFrame(o, f);
    return o.s;
}

std::string CompressX(const std::string& file, std::size_t blockBytes) {
    std::string out = file.substr(0, 16);
    std::memcpy(&out[8], file.compare(8, 3, "txt") == 0 ? "tzip" : "bzip", 4);
    const std::uint32_t total = static_cast<std::uint32_t>(file.size());
    out.append(reinterpret_cast<const char*>(&total), 4);
    std::size_t pos = 16;
    while (pos < file.size()) {
        const std::size_t n = std::min(blockBytes, file.size() - pos);
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
        // Each block may refer back into the previous block's output.
        const std::size_t dict = std::min<std::size_t>(pos - 16, 32768);
        if (dict) {
            deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(file.data() + pos - dict),
                                 static_cast<uInt>(dict));
        }
        std::vector<Bytef> buf(deflateBound(&z, n) + 16);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(file.data() + pos));
        z.avail_in = static_cast<uInt>(n);
        z.next_out = buf.data();
        z.avail_out = static_cast<uInt>(buf.size());
        if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
        const std::size_t compressed = buf.size() - z.avail_out;
        deflateEnd(&z);
        const std::uint16_t sizes[2] = {static_cast<std::uint16_t>(n),
                                        static_cast<std::uint16_t>(compressed + 2)};
        out.append(reinterpret_cast<const char*>(sizes), 4);
        out += "CK";
        out.append(reinterpret_cast<const char*>(buf.data()), compressed);
        pos += n;
    }
    return out;
}

XMeshSpec GridMesh(int n, float spacing) {
    XMeshSpec m;
    const int side = n + 1;
    for (int z = 0; z < side; ++z) {
        for (int x = 0; x < side; ++x) {
            m.positions.push_back(
                {x * spacing, 0.25f * static_cast<float>((x * 7 + z * 3) % 5), z * spacing});
            m.normals.push_back({0, 1, 0});
            m.texCoords.push_back({static_cast<float>(x) / n, static_cast<float>(z) / n});
        }
    }
    for (int z = 0; z < n; ++z) {
        for (int x = 0; x < n; ++x) {
            const auto i = static_cast<std::uint32_t>(z * side + x);
            m.faces.push_back({i, i + static_cast<std::uint32_t>(side),
                               i + static_cast<std::uint32_t>(side) + 1, i + 1});
            m.normalFaces.push_back(m.faces.back());
        }
    }
    m.materialList = true;
    m.faceMaterials.assign(m.faces.size(), 0);
    XMaterialSpec mat;
    mat.faceColor = {0.75f, 0.5f, 0.25f, 1.0f};
    mat.texture = "sand.bmp";
    m.materials.push_back(mat);
    return m;
}

XMeshSpec CubeMesh() {
    XMeshSpec m;
    m.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                   {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    m.faces = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {3, 7, 6, 2}, {0, 4, 7, 3}, {1, 2, 6, 5}};
    const Vec3 faceNormals[6] = {{0, 0, -1}, {0, 0, 1},  {0, -1, 0},
                                 {0, 1, 0},  {-1, 0, 0}, {1, 0, 0}};
    for (std::uint32_t f = 0; f < 6; ++f) {
        std::vector<std::uint32_t> nf;
        for (int j = 0; j < 4; ++j) {
            nf.push_back(static_cast<std::uint32_t>(m.normals.size()));
            m.normals.push_back(faceNormals[f]);
        }
        m.normalFaces.push_back(nf);
    }
    return m;
}

}  // namespace xfile
