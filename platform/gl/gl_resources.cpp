// Textures and meshes in OpenGL objects, deleted through the cache so that it forgets them: one
// OpenGL texture per picture, shared by its texture objects, and meshes of any declaration.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/d3dx/attribute_locations.h"
#include "platform/d3dx/texture/texture_files.h"
#include "platform/gl/gl_device.h"
#include "platform/gl/gl_errors.h"
#include "platform/gl/gl_translate.h"

namespace gl {

// ---- Textures ----------------------------------------------------------------------------------

std::unique_ptr<d3d9::BackendObject> GlDevice::CreateTextureObject(
    const std::shared_ptr<const d3dx::TextureData>& picture) {
    const std::weak_ptr<const d3dx::TextureData> key = picture;
    auto& entry = storages_[key];
    std::shared_ptr<TextureStorage> storage = entry.lock();
    if (!storage) {
        const GLuint id = UploadTexture(*picture);
        if (!id) {
            storages_.erase(key);
            return nullptr;
        }
        storage = std::make_shared<TextureStorage>(*this, id, key);
        entry = storage;
    }
    return std::make_unique<GlTexture>(std::move(storage));
}

void GlDevice::ForgetStorage(const std::weak_ptr<const d3dx::TextureData>& picture) {
    storages_.erase(picture);
}

GLuint GlDevice::UploadTexture(const d3dx::TextureData& data) {
    if (data.width > MaxTextureSize() || data.height > MaxTextureSize()) {
        std::fprintf(stderr, "GL: a %u x %u texture is larger than the driver's largest, %u x %u\n",
                     data.width, data.height, MaxTextureSize(), MaxTextureSize());
        return 0;
    }
    TakeError();  // what an earlier call left is not this upload's
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
            glCompressedTexImage2D(GL_TEXTURE_2D, level, CompressedFormatOf(data.format), w, h, 0,
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
    // Read whatever the build: a texture the driver refused would draw black with no word.
    if (const GLenum error = TakeError(); error != GL_NO_ERROR) {
        std::fprintf(stderr, "GL: the driver refused a %u x %u texture (%s)\n", data.width,
                     data.height, ErrorName(error));
        cache_.DeleteTexture(id);
        return 0;
    }
    return id;
}

// ---- Meshes ------------------------------------------------------------------------------------

namespace {

// A UDEC3 or DEC3N element of every vertex as four floats: (x, y, z, 1), DEC3N's fields signed
// and divided by 511.
std::vector<float> ConvertTenBitElement(const d3dx::MeshData& d, const D3DVERTEXELEMENT9& e) {
    std::vector<float> out(std::size_t{d.vertexCount} * 4);
    for (UINT v = 0; v < d.vertexCount; ++v) {
        std::uint32_t packed = 0;
        const std::size_t at = std::size_t{v} * d.stride + e.Offset;
        if (at + 4 <= d.vertices.size()) std::memcpy(&packed, d.vertices.data() + at, 4);
        for (int c = 0; c < 3; ++c) {
            const std::uint32_t field = (packed >> (10 * c)) & 0x3FF;
            float value = static_cast<float>(field);
            if (e.Type == D3DDECLTYPE_DEC3N) {
                const int signedField =
                    field >= 512 ? static_cast<int>(field) - 1024 : static_cast<int>(field);
                value = static_cast<float>(signedField) / 511.0f;
            }
            out[std::size_t{v} * 4 + static_cast<std::size_t>(c)] = value;
        }
        out[std::size_t{v} * 4 + 3] = 1.0f;
    }
    return out;
}

}  // namespace

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
    BindElements();
    device->Cache().BindVertexArray(0);

    // A table whose ids are few and small is looked up directly; a sparse one (an id of
    // 4,000,000,000 is as valid as 3) by search, never sized by its largest id.
    DWORD highest = 0;
    for (const D3DXATTRIBUTERANGE& r : d.table) highest = std::max(highest, r.AttribId);
    dense_ = d.table.empty() || highest < 2 * d.table.size() + 64;
    if (dense_) {
        byAttribute_.assign(d.table.empty() ? 0 : std::size_t{highest} + 1, D3DXATTRIBUTERANGE{});
        for (const D3DXATTRIBUTERANGE& r : d.table) byAttribute_[r.AttribId] = r;
    } else {
        byAttribute_.assign(d.table.begin(), d.table.end());
        std::stable_sort(byAttribute_.begin(), byAttribute_.end(),
                         [](const auto& a, const auto& b) { return a.AttribId < b.AttribId; });
    }
}

// Each element of the declaration at the location of its usage and usage index, where the
// fixed-function stage and translated vertex shaders read it; an element with no location is
// left unbound. The layout the fixed-function key needs is read from the same elements.
void GlMesh::BindElements() {
    const d3dx::MeshData& d = Data();
    const auto stride = static_cast<GLsizei>(d.stride);
    for (const D3DVERTEXELEMENT9& e : d3dx::DeclarationOf(d)) {
        if (e.Stream == 0xFF) break;
        const GLint location = d3dx::AttributeLocationOf(e.Usage, e.UsageIndex);
        const AttribFormat f = AttribFormatOf(e.Type);
        if (location == d3dx::kNoAttribute || e.Stream != 0 || !f.known) continue;
        const auto at = static_cast<GLuint>(location);
        glEnableVertexAttribArray(at);
        if (f.converted) {
            const std::vector<float> floats = ConvertTenBitElement(d, e);
            GLuint buffer = 0;
            glGenBuffers(1, &buffer);
            convertedBuffers_.push_back(buffer);
            glBindBuffer(GL_ARRAY_BUFFER, buffer);
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(floats.size() * sizeof(float)),
                         floats.data(), GL_STATIC_DRAW);
            glVertexAttribPointer(at, 4, GL_FLOAT, GL_FALSE, 16, nullptr);
            glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
        } else {
            glVertexAttribPointer(at, f.size, f.type, f.normalized ? GL_TRUE : GL_FALSE, stride,
                                  reinterpret_cast<const void*>(std::size_t{e.Offset}));
        }
        if (e.Usage == D3DDECLUSAGE_NORMAL && e.UsageIndex == 0) layout_.hasNormal = 1;
        if (e.Usage == D3DDECLUSAGE_COLOR && e.UsageIndex == 0) layout_.hasColor0 = 1;
        if (e.Usage == D3DDECLUSAGE_COLOR && e.UsageIndex == 1) layout_.hasColor1 = 1;
        if (e.Usage == D3DDECLUSAGE_TEXCOORD && e.UsageIndex < 8)
            layout_.texCoordSets =
                static_cast<std::uint8_t>(layout_.texCoordSets | 1u << e.UsageIndex);
    }
}

ID3DXMesh* GlDevice::CreateMeshObject(d3dx::MeshData&& data) {
    return new GlMesh(this, std::move(data));
}

GlMesh::~GlMesh() {
    if (glDevice_) DetachFromDevice();
}

void GlMesh::DetachFromDevice() {
    GlCache& cache = glDevice_->Cache();
    cache.DeleteVertexArray(vao_);
    cache.DeleteBuffer(vertexBuffer_);
    cache.DeleteBuffer(indexBuffer_);
    for (GLuint buffer : convertedBuffers_) cache.DeleteBuffer(buffer);
    convertedBuffers_.clear();
    glDevice_ = nullptr;
}

const D3DXATTRIBUTERANGE& GlMesh::Range(DWORD id) const {
    static const D3DXATTRIBUTERANGE kNone{};
    if (dense_) return id < byAttribute_.size() ? byAttribute_[id] : kNone;
    const auto at = std::lower_bound(byAttribute_.begin(), byAttribute_.end(), id,
                                     [](const auto& r, DWORD v) { return r.AttribId < v; });
    return at != byAttribute_.end() && at->AttribId == id ? *at : kNone;
}

// A mesh whose device has been released draws nothing.
HRESULT GlMesh::DrawSubset(DWORD AttribId) {
    return glDevice_ ? glDevice_->DrawMeshSubset(*this, AttribId) : D3DERR_INVALIDCALL;
}

}  // namespace gl
