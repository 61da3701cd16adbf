// The text form of an X file description, laid out as exporters write it: one member per line,
// a template's fields each closed by ';', array elements separated by ',' and the array closed by
// ';', a structure member closed by one more ';'. The other encodings are converted from this
// text (tools/x_convert.cpp), so that every encoding holds the same values.
#include <charconv>
#include <cstring>

#include "tools/x_writer.h"

namespace xfile {
namespace {

class TextOut {
  public:
    void Line(const std::string& text) {
        s.append(static_cast<std::size_t>(depth_), ' ');
        s += text;
        s += '\n';
    }
    void Open(const std::string& type, const std::string& name = {}) {
        Line(type + (name.empty() ? "" : " " + name) + " {");
        ++depth_;
    }
    void Close() {
        --depth_;
        Line("}");
    }
    void Blank() { s += '\n'; }
    // Text given whole (extra objects), each line indented to the current depth.
    void Verbatim(const std::string& text) {
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t nl = text.find('\n', at);
            const std::string line = text.substr(at, nl == std::string::npos ? nl : nl - at);
            if (!line.empty()) Line(line);
            at = nl == std::string::npos ? text.size() : nl + 1;
        }
    }

    std::string s;

  private:
    int depth_ = 0;
};

std::string Fields(std::initializer_list<float> values) {
    std::string out;
    for (float v : values) out += FormatFloat(v) + ";";
    return out;
}

// An array's element separator: ',' between elements, ';' after the last.
const char* After(std::size_t i, std::size_t n) {
    return i + 1 < n ? "," : ";";
}

void WriteFaces(TextOut& o, const std::vector<std::vector<std::uint32_t>>& faces) {
    o.Line(std::to_string(faces.size()) + ";");
    for (std::size_t i = 0; i < faces.size(); ++i) {
        std::string line = std::to_string(faces[i].size()) + ";";
        for (std::size_t j = 0; j < faces[i].size(); ++j) {
            line += std::to_string(faces[i][j]) + After(j, faces[i].size());
        }
        o.Line(line + After(i, faces.size()));
    }
}

void WriteVectors(TextOut& o, const std::vector<Vec3>& vectors) {
    o.Line(std::to_string(vectors.size()) + ";");
    for (std::size_t i = 0; i < vectors.size(); ++i) {
        const Vec3& v = vectors[i];
        o.Line(Fields({v.x, v.y, v.z}) + After(i, vectors.size()));
    }
}

void WriteMaterial(TextOut& o, const XMaterialDesc& m) {
    o.Open("Material", m.name);
    o.Line(Fields({m.faceColor[0], m.faceColor[1], m.faceColor[2], m.faceColor[3]}) + ";");
    o.Line(Fields({m.power}));
    o.Line(Fields({m.specular[0], m.specular[1], m.specular[2]}) + ";");
    o.Line(Fields({m.emissive[0], m.emissive[1], m.emissive[2]}) + ";");
    if (m.texture) {
        o.Blank();
        o.Open("TextureFilename");
        o.Line("\"" + *m.texture + "\";");
        o.Close();
    }
    o.Close();
}

void WriteMesh(TextOut& o, const XMeshDesc& m) {
    o.Open("Mesh", m.name);
    WriteVectors(o, m.positions);
    WriteFaces(o, m.faces);
    if (!m.normals.empty()) {
        o.Blank();
        o.Open("MeshNormals");
        WriteVectors(o, m.normals);
        WriteFaces(o, m.normalFaces);
        o.Close();
    }
    if (!m.texCoords.empty()) {
        o.Blank();
        o.Open("MeshTextureCoords");
        o.Line(std::to_string(m.texCoords.size()) + ";");
        for (std::size_t i = 0; i < m.texCoords.size(); ++i) {
            o.Line(Fields({m.texCoords[i][0], m.texCoords[i][1]}) + After(i, m.texCoords.size()));
        }
        o.Close();
    }
    if (!m.colors.empty()) {
        o.Blank();
        o.Open("MeshVertexColors");
        o.Line(std::to_string(m.colors.size()) + ";");
        for (std::size_t i = 0; i < m.colors.size(); ++i) {
            const auto& [index, c] = m.colors[i];
            o.Line(std::to_string(index) + ";" + Fields({c[0], c[1], c[2], c[3]}) + ";" +
                   After(i, m.colors.size()));
        }
        o.Close();
    }
    if (m.materialList) {
        o.Blank();
        o.Open("MeshMaterialList");
        o.Line(std::to_string(m.materials.size() + m.materialRefs.size()) + ";");
        o.Line(std::to_string(m.faceMaterials.size()) + ";");
        for (std::size_t i = 0; i < m.faceMaterials.size(); ++i) {
            o.Line(std::to_string(m.faceMaterials[i]) + After(i, m.faceMaterials.size()));
        }
        for (const XMaterialDesc& mat : m.materials) {
            o.Blank();
            WriteMaterial(o, mat);
        }
        for (const std::string& ref : m.materialRefs) o.Line("{ " + ref + " }");
        o.Close();
    }
    if (!m.declElements.empty()) {
        o.Blank();
        o.Open("DeclData");
        o.Line(std::to_string(m.declElements.size()) + ";");
        for (std::size_t i = 0; i < m.declElements.size(); ++i) {
            const XDeclElement& e = m.declElements[i];
            o.Line(std::to_string(e.type) + ";" + std::to_string(e.method) + ";" +
                   std::to_string(e.usage) + ";" + std::to_string(e.usageIndex) + ";" +
                   After(i, m.declElements.size()));
        }
        o.Line(std::to_string(m.declData.size()) + ";");
        for (std::size_t i = 0; i < m.declData.size(); ++i) {
            o.Line(std::to_string(m.declData[i]) + After(i, m.declData.size()));
        }
        o.Close();
    }
    if (!m.extraObjects.empty()) {
        o.Blank();
        o.Verbatim(m.extraObjects);
    }
    o.Close();
}

void WriteFrame(TextOut& o, const XFrameDesc& f) {
    o.Open("Frame", f.name);
    if (f.meshesBeforeTransform) {
        for (const XMeshDesc& m : f.meshes) WriteMesh(o, m);
    }
    for (const Matrix4& t : f.transforms) {
        o.Blank();
        o.Open("FrameTransformMatrix");
        std::string line;
        for (int i = 0; i < 16; ++i) {
            line += FormatFloat(t.m[i / 4][i % 4]) + (i < 15 ? "," : ";;");
        }
        o.Line(line);
        o.Close();
    }
    if (!f.meshesBeforeTransform) {
        for (const XMeshDesc& m : f.meshes) {
            o.Blank();
            WriteMesh(o, m);
        }
    }
    for (const XFrameDesc& c : f.children) {
        o.Blank();
        WriteFrame(o, c);
    }
    o.Close();
}

constexpr char kTemplates[] = R"(template Header {
 <3D82AB43-62DA-11cf-AB39-0020AF71E433>
 WORD major;
 WORD minor;
 DWORD flags;
}

template Vector {
 <3D82AB5E-62DA-11cf-AB39-0020AF71E433>
 FLOAT x;
 FLOAT y;
 FLOAT z;
}

template Coords2d {
 <F6F23F44-7686-11cf-8F52-0040333594A3>
 FLOAT u;
 FLOAT v;
}

template Matrix4x4 {
 <F6F23F45-7686-11cf-8F52-0040333594A3>
 array FLOAT matrix[16];
}

template ColorRGBA {
 <35FF44E0-6C7C-11cf-8F52-0040333594A3>
 FLOAT red;
 FLOAT green;
 FLOAT blue;
 FLOAT alpha;
}

template ColorRGB {
 <D3E16E81-7835-11cf-8F52-0040333594A3>
 FLOAT red;
 FLOAT green;
 FLOAT blue;
}

template IndexedColor {
 <1630B820-7842-11cf-8F52-0040333594A3>
 DWORD index;
 ColorRGBA indexColor;
}

template Material {
 <3D82AB4D-62DA-11cf-AB39-0020AF71E433>
 ColorRGBA faceColor;
 FLOAT power;
 ColorRGB specularColor;
 ColorRGB emissiveColor;
 [...]
}

template TextureFilename {
 <A42790E1-7810-11cf-8F52-0040333594A3>
 STRING filename;
}

template MeshFace {
 <3D82AB5F-62DA-11cf-AB39-0020AF71E433>
 DWORD nFaceVertexIndices;
 array DWORD faceVertexIndices[nFaceVertexIndices];
}

template MeshTextureCoords {
 <F6F23F40-7686-11cf-8F52-0040333594A3>
 DWORD nTextureCoords;
 array Coords2d textureCoords[nTextureCoords];
}

template MeshMaterialList {
 <F6F23F42-7686-11cf-8F52-0040333594A3>
 DWORD nMaterials;
 DWORD nFaceIndexes;
 array DWORD faceIndexes[nFaceIndexes];
 [Material <3D82AB4D-62DA-11cf-AB39-0020AF71E433>]
}

template MeshNormals {
 <F6F23F43-7686-11cf-8F52-0040333594A3>
 DWORD nNormals;
 array Vector normals[nNormals];
 DWORD nFaceNormals;
 array MeshFace faceNormals[nFaceNormals];
}

template MeshVertexColors {
 <1630B821-7842-11cf-8F52-0040333594A3>
 DWORD nVertexColors;
 array IndexedColor vertexColors[nVertexColors];
}

template VertexElement {
 <F752461C-1E23-48f6-B9F8-8350850F336F>
 DWORD Type;
 DWORD Method;
 DWORD Usage;
 DWORD UsageIndex;
}

template DeclData {
 <BF22E553-292C-4781-9FEA-62BD554BDD93>
 DWORD nElements;
 array VertexElement Elements[nElements];
 DWORD nDWords;
 array DWORD data[nDWords];
}

template Mesh {
 <3D82AB44-62DA-11cf-AB39-0020AF71E433>
 DWORD nVertices;
 array Vector vertices[nVertices];
 DWORD nFaces;
 array MeshFace faces[nFaces];
 [...]
}

template FrameTransformMatrix {
 <F6F23F41-7686-11cf-8F52-0040333594A3>
 Matrix4x4 frameMatrix;
}

template Frame {
 <3D82AB46-62DA-11cf-AB39-0020AF71E433>
 [...]
}
)";

}  // namespace

std::string FormatFloat(float value) {
    // The shortest fixed form that reads back as the same float, padded to six decimals.
    char buf[128];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    std::string s(buf, ec == std::errc() ? end : buf);
    const std::size_t dot = s.find('.');
    if (dot == std::string::npos) {
        s += ".000000";
    } else if (s.size() - dot - 1 < 6) {
        s.append(6 - (s.size() - dot - 1), '0');
    }
    return s;
}

std::string WriteX(const XFileDesc& desc, XEncoding encoding) {
    if (encoding != XEncoding::Text) return ConvertX(WriteX(desc, XEncoding::Text), encoding);
    TextOut o;
    o.s = "xof 0302txt 0032\n";
    if (desc.withTemplates) o.s += kTemplates;
    if (desc.withHeader) {
        o.Blank();
        o.Open("Header");
        o.Line("1;");
        o.Line("0;");
        o.Line("1;");
        o.Close();
    }
    for (const XMaterialDesc& m : desc.topMaterials) {
        o.Blank();
        WriteMaterial(o, m);
    }
    for (const XMeshDesc& m : desc.topMeshes) {
        o.Blank();
        WriteMesh(o, m);
    }
    for (const XFrameDesc& f : desc.frames) {
        o.Blank();
        WriteFrame(o, f);
    }
    if (!desc.extraObjects.empty()) {
        o.Blank();
        o.Verbatim(desc.extraObjects);
    }
    return o.s;
}

XMeshDesc GridMesh(int n, float spacing) {
    XMeshDesc m;
    const int side = n + 1;
    for (int z = 0; z < side; ++z) {
        for (int x = 0; x < side; ++x) {
            m.positions.push_back({static_cast<float>(x) * spacing,
                                   0.25f * static_cast<float>((x * 7 + z * 3) % 5),
                                   static_cast<float>(z) * spacing});
            m.normals.push_back({0, 1, 0});
            m.texCoords.push_back({static_cast<float>(x) / static_cast<float>(n),
                                   static_cast<float>(z) / static_cast<float>(n)});
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
    XMaterialDesc mat;
    mat.faceColor = {0.75f, 0.5f, 0.25f, 1.0f};
    mat.texture = "sand.bmp";
    m.materials.push_back(mat);
    return m;
}

XMeshDesc CubeMesh() {
    XMeshDesc m;
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
