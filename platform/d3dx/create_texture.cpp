// D3DXCreateTextureFromFileA: reads and decodes the file, rounds the size up to powers of two,
// makes the full mip chain and hands the levels to the calling device.
#include <cstdio>

#include "platform/core/call_trace.h"
#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/texture_files.h"

namespace {

constexpr std::size_t kMaxTextureFileBytes = std::size_t{256} << 20;

HRESULT Create(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile, LPDIRECT3DTEXTURE9* ppTexture) {
    if (!pDevice || !pSrcFile || !ppTexture) return D3DERR_INVALIDCALL;
    d3dx::DeviceServices* services = d3dx::ServicesOf(pDevice);
    if (!services) return D3DERR_INVALIDCALL;
    std::vector<std::uint8_t> bytes;
    std::string error;
    d3dx::TextureData decoded;
    if (!d3dx::ReadFileBytes(pSrcFile, kMaxTextureFileBytes, bytes, error) ||
        !d3dx::DecodeTextureFile(bytes, decoded, error)) {
        std::fprintf(stderr, "TEXTURE: %s: %s\n", pSrcFile, error.c_str());
        return D3DXERR_INVALIDDATA;
    }
    bytes = {};
    return services->CreateTextureFromData(d3dx::PrepareTexture(std::move(decoded)), ppTexture);
}

}  // namespace

HRESULT D3DXCreateTextureFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                   LPDIRECT3DTEXTURE9* ppTexture) {
    if (ppTexture) *ppTexture = nullptr;
    const HRESULT hr = Create(pDevice, pSrcFile, ppTexture);
    platform::Trace(
        "D3DXCreateTextureFromFileA",
        platform::Args(pDevice, pSrcFile, platform::OutArg(ppTexture)),
        platform::Fmt(hr) + (SUCCEEDED(hr) ? " " + platform::ObjectName(*ppTexture) : ""));
    return hr;
}
