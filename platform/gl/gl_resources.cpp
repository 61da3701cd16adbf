// Textures and meshes in OpenGL objects.
#include <cstdio>

#include "platform/d3dx/texture_files.h"
#include "platform/gl/gl_device.h"

namespace gl {

// ---- Textures ----------------------------------------------------------------------------------

GlTexture::GlTexture(GLuint id, const d3dx::TextureData& data)
    : id_(id),
      format_(data.format),
      width_(data.width),
      height_(data.height),
      levels_(static_cast<DWORD>(data.levels.size())) {
    platform::RegisterObjectName(this, "tex");
}

GlTexture::~GlTexture() {
    glDeleteTextures(1, &id_);
}

HRESULT GlTexture::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) {
    if (!pDesc || Level >= levels_) return D3DERR_INVALIDCALL;
    *pDesc = {};
    pDesc->Format = format_;
    pDesc->Width = std::max(1u, width_ >> Level);
    pDesc->Height = std::max(1u, height_ >> Level);
    return D3D_OK;
}

HRESULT GlDevice::CreateTextureFromData(d3dx::TextureData&& data, IDirect3DTexture9** texture) {
    if (!texture || data.levels.empty()) return D3DERR_INVALIDCALL;
    GLuint id = 0;
    glGenTextures(1, &id);
    cache_.BindTexture(0, GL_TEXTURE_2D, id);
    const bool dxt =
        data.format == D3DFMT_DXT1 || data.format == D3DFMT_DXT3 || data.format == D3DFMT_DXT5;
    const GLsizei levels = static_cast<GLsizei>(data.levels.size());
    for (GLsizei level = 0; level < levels; ++level) {
        const GLsizei w = std::max(1, static_cast<int>(data.width) >> level);
        const GLsizei h = std::max(1, static_cast<int>(data.height) >> level);
        const std::vector<std::uint8_t>& bytes = data.levels[static_cast<std::size_t>(level)];
        if (dxt && s3tc_) {
            // DXT1 keeps its one-bit alpha, as Direct3D's DXT1 does.
            const GLenum format = data.format == D3DFMT_DXT1   ? GL_COMPRESSED_RGBA_S3TC_DXT1_EXT
                                  : data.format == D3DFMT_DXT3 ? GL_COMPRESSED_RGBA_S3TC_DXT3_EXT
                                                               : GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
            glCompressedTexImage2D(GL_TEXTURE_2D, level, format, w, h, 0,
                                   static_cast<GLsizei>(bytes.size()), bytes.data());
        } else if (dxt) {
            const std::vector<std::uint32_t> argb =
                d3dx::DecodeDxt(data.format, static_cast<UINT>(w), static_cast<UINT>(h), bytes);
            glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, w, h, 0, GL_BGRA,
                         GL_UNSIGNED_INT_8_8_8_8_REV, argb.data());
        } else {
            // ARGB words are B, G, R, A in memory.
            glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, w, h, 0, GL_BGRA,
                         GL_UNSIGNED_INT_8_8_8_8_REV, bytes.data());
        }
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, levels - 1);
    // X8R8G8B8 reads as opaque whatever its unused byte holds.
    if (data.format == D3DFMT_X8R8G8B8)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    *texture = new GlTexture(id, data);
    return D3D_OK;
}

// ---- Meshes ------------------------------------------------------------------------------------

GlMesh::GlMesh(GlDevice* device, d3dx::MeshData&& data)
    : MeshBase(device, std::move(data)), glDevice_(device) {
    platform::RegisterObjectName(this, "mesh");
    const d3dx::MeshData& d = Data();
    glGenVertexArrays(1, &vao_);
    device->Cache().BindVertexArray(vao_);
    glGenBuffers(1, &vertexBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(d.vertices.size()), d.vertices.data(),
                 GL_STATIC_DRAW);
    glGenBuffers(1, &indexBuffer_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    if (GetOptions() & D3DXMESH_32BIT) {
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(d.indices.size() * 4),
                     d.indices.data(), GL_STATIC_DRAW);
    } else {
        const std::vector<std::uint16_t> narrow(d.indices.begin(), d.indices.end());
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(narrow.size() * 2),
                     narrow.data(), GL_STATIC_DRAW);
    }
    const auto stride = static_cast<GLsizei>(d.stride);
    std::size_t offset = 0;
    const auto attribute = [&](GLuint index, GLint size, GLenum type, bool normalized,
                               std::size_t bytes) {
        glEnableVertexAttribArray(index);
        glVertexAttribPointer(index, size, type, normalized ? GL_TRUE : GL_FALSE, stride,
                              reinterpret_cast<const void*>(offset));
        offset += bytes;
    };
    attribute(kPositionAttrib, 3, GL_FLOAT, false, 12);
    if (d.fvf & D3DFVF_NORMAL) attribute(kNormalAttrib, 3, GL_FLOAT, false, 12);
    // A D3DCOLOR is B, G, R, A in memory: read with the BGRA size, normalised.
    if (d.fvf & D3DFVF_DIFFUSE) attribute(kColorAttrib, GL_BGRA, GL_UNSIGNED_BYTE, true, 4);
    if (d.fvf & D3DFVF_TEX1) attribute(kTexCoordAttrib, 2, GL_FLOAT, false, 8);
    device->Cache().BindVertexArray(0);

    DWORD highest = 0;
    for (const D3DXATTRIBUTERANGE& r : d.table) highest = std::max(highest, r.AttribId);
    byAttribute_.assign(d.table.empty() ? 0 : highest + 1, D3DXATTRIBUTERANGE{});
    for (const D3DXATTRIBUTERANGE& r : d.table) byAttribute_[r.AttribId] = r;
}

GlMesh::~GlMesh() {
    glDeleteVertexArrays(1, &vao_);
    glDeleteBuffers(1, &vertexBuffer_);
    glDeleteBuffers(1, &indexBuffer_);
}

const D3DXATTRIBUTERANGE& GlMesh::Range(DWORD id) const {
    static const D3DXATTRIBUTERANGE kNone{};
    return id < byAttribute_.size() ? byAttribute_[id] : kNone;
}

HRESULT GlMesh::DrawSubset(DWORD AttribId) {
    return glDevice_->DrawMeshSubset(*this, AttribId);
}

}  // namespace gl
