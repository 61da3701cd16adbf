// D3DXCreateTextureFromFileA: the entry point and its trace; the reading, decoding, sharing
// and counting are the texture cache's (texture_cache.h). D3DXPrepareTextureFromFileA
// (prepare_ahead.h) is its decoding done ahead, untraced.
#include "platform/core/call_trace.h"
#include "platform/d3dx/prepare_ahead.h"
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

HRESULT D3DXPrepareTextureFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                    D3DXPREPARE_PROGRESS* pProgress) {
    return d3dx::PrepareTextureFromFile(pDevice, pSrcFile, pProgress ? &pProgress->cancel : nullptr,
                                        pProgress ? &pProgress->bytes : nullptr);
}
