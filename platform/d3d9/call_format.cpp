// Text forms of Direct3D 9's structures in the call trace (see call_format.h), and the note
// beneath a refused call (trace.h).
#include "platform/d3d9/call_format.h"

#include "platform/d3d9/trace.h"

using platform::Fmt;

namespace {
std::string Join(std::initializer_list<std::string> parts) {
    std::string out;
    for (const std::string& p : parts) {
        if (!out.empty()) out += ' ';
        out += p;
    }
    return out;
}
}  // namespace

std::string FmtValue(const Vec3& v) {
    return "(" + Join({Fmt(v.x), Fmt(v.y), Fmt(v.z)}) + ")";
}

std::string FmtValue(const Matrix4& m) {
    std::string out = "[";
    for (int r = 0; r < 4; ++r) {
        if (r) out += "; ";
        out += Join({Fmt(m.m[r][0]), Fmt(m.m[r][1]), Fmt(m.m[r][2]), Fmt(m.m[r][3])});
    }
    return out + "]";
}

std::string FmtValue(const D3DCOLORVALUE& c) {
    return "(" + Join({Fmt(c.r), Fmt(c.g), Fmt(c.b), Fmt(c.a)}) + ")";
}

std::string FmtValue(const D3DMATERIAL9& m) {
    return "{diffuse " + FmtValue(m.Diffuse) + " ambient " + FmtValue(m.Ambient) + " specular " +
           FmtValue(m.Specular) + " emissive " + FmtValue(m.Emissive) + " power " + Fmt(m.Power) +
           "}";
}

std::string FmtValue(const D3DLIGHT9& l) {
    return "{type " + Fmt(l.Type) + " diffuse " + FmtValue(l.Diffuse) + " specular " +
           FmtValue(l.Specular) + " ambient " + FmtValue(l.Ambient) + " position " +
           FmtValue(l.Position) + " direction " + FmtValue(l.Direction) + " range " + Fmt(l.Range) +
           " falloff " + Fmt(l.Falloff) + " attenuation " +
           Join({Fmt(l.Attenuation0), Fmt(l.Attenuation1), Fmt(l.Attenuation2)}) + " theta " +
           Fmt(l.Theta) + " phi " + Fmt(l.Phi) + "}";
}

std::string FmtValue(const RECT& r) {
    return "(" + Join({Fmt(r.left), Fmt(r.top), Fmt(r.right), Fmt(r.bottom)}) + ")";
}

std::string FmtValue(const D3DPRESENT_PARAMETERS& p) {
    return "{" +
           Join({Fmt(p.BackBufferWidth), Fmt(p.BackBufferHeight), Fmt(p.BackBufferFormat),
                 Fmt(p.BackBufferCount), Fmt(p.MultiSampleType), Fmt(p.MultiSampleQuality),
                 Fmt(p.SwapEffect), Fmt(p.hDeviceWindow), Fmt(p.Windowed),
                 Fmt(p.EnableAutoDepthStencil), Fmt(p.AutoDepthStencilFormat), Fmt(p.Flags),
                 Fmt(p.FullScreen_RefreshRateInHz), Fmt(p.PresentationInterval)}) +
           "}";
}

std::string FmtValue(const D3DVERTEXELEMENT9& e) {
    return "(" +
           Join({Fmt(e.Stream), Fmt(e.Offset), Fmt(e.Type), Fmt(e.Method), Fmt(e.Usage),
                 Fmt(e.UsageIndex)}) +
           ")";
}

std::string FmtDeclaration(const D3DVERTEXELEMENT9* elements) {
    if (!elements) return "NULL";
    std::string out = "[";
    // A declaration without its end marker is cut off at the platform's maximum length.
    for (UINT i = 0; i < MAX_FVF_DECL_SIZE; ++i) {
        if (i) out += ' ';
        out += FmtValue(elements[i]);
        if (elements[i].Stream == 0xFF) break;
    }
    return out + "]";
}

namespace d3d9 {

void NoteRefusal(HRESULT hr, const std::string& why) {
    if (!platform::Tracing()) return;
    const char* name = hr == D3DERR_INVALIDCALL    ? "D3DERR_INVALIDCALL"
                       : hr == D3DERR_NOTAVAILABLE ? "D3DERR_NOTAVAILABLE"
                                                   : "refused";
    platform::Note(std::string(name) + ": " + (why.empty() ? "no reason given" : why));
}

}  // namespace d3d9
