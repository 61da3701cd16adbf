// D3DXCreateTextureFromFileA: the entry point and its trace; the reading, decoding, sharing
// and counting are the texture cache's (texture_cache.h).
#include "platform/core/call_trace.h"
#include "platform/d3dx/texture/texture_cache.h"

HRESULT D3DXCreateTextureFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                   LPDIRECT3DTEXTURE9* ppTexture) {
    if (ppTexture) *ppTexture = nullptr;
    const HRESULT hr = d3dx::CreateTextureFromFile(pDevice, pSrcFile, ppTexture);
    platform::Trace(
        "D3DXCreateTextureFromFileA",
        platform::Args(pDevice, pSrcFile, platform::OutArg(ppTexture)),
        platform::Fmt(hr) + (SUCCEEDED(hr) ? " " + platform::ObjectName(*ppTexture) : ""));
    return hr;
}
