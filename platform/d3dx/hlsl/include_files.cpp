// Opening the files a shader includes (see include_files.h).
#include "platform/d3dx/hlsl/include_files.h"

#include <cstdio>

#include "platform/d3dx/file_bytes.h"
#include "platform/d3dx/file_names.h"
#include "platform/d3dx/hlsl/sha256.h"

namespace d3dx {
namespace {

constexpr std::size_t kMaxIncludeBytes = std::size_t{4} << 20;
constexpr std::size_t kMaxIncludedBytes = std::size_t{32} << 20;  // all of a compile's files

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string Quoted(const std::string& name) {
    return "'" + NameForMessage(name) + "'";
}

std::string HexOf(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

}  // namespace

HRESULT FileIncludes::Open(D3DXINCLUDE_TYPE, LPCSTR pFileName, LPCVOID pParentData, LPCVOID* ppData,
                           UINT* pBytes) {
    why_.clear();
    if (!pFileName || !ppData || !pBytes) return D3DERR_INVALIDCALL;
    const std::string name = pFileName;
    // Beside the file that includes it, in the search folders, then in the current folder.
    const std::string includer = pParentData ? PathOf(pParentData) : sourceFile_;
    std::vector<std::string> candidates;
    const bool absolute = !name.empty() && (name[0] == '/' || name[0] == '\\');
    if (!absolute && !FolderOf(includer).empty()) candidates.push_back(FolderOf(includer) + name);
    for (const std::string& dir : searchDirs_) {
        if (!absolute && !dir.empty())
            candidates.push_back(dir + (dir.back() == '/' ? "" : "/") + name);
    }
    candidates.push_back(name);
    for (const std::string& candidate : candidates) {
        const std::string path = ResolveWindowsName(candidate);
        if (path.empty()) continue;
        std::vector<std::uint8_t> bytes;
        std::string error;
        if (!ReadFileBytes(path.c_str(), kMaxIncludeBytes, bytes, error)) {
            why_ = NameForMessage(path) + ": " + error;
            return E_FAIL;
        }
        open_.push_back({path, std::string(bytes.begin(), bytes.end())});
        *ppData = open_.back().bytes.data();
        *pBytes = static_cast<UINT>(open_.back().bytes.size());
        return S_OK;
    }
    why_ = absolute ? std::string("no such file")
                    : "not found beside " + NameForMessage(includer.empty() ? "." : includer) +
                          (searchDirs_.empty() ? "" : ", in the -I folders") +
                          " or in the current folder";
    return E_FAIL;
}

HRESULT FileIncludes::Close(LPCVOID pData) {
    for (auto f = open_.begin(); f != open_.end(); ++f) {
        if (f->bytes.data() == pData) {
            open_.erase(f);
            return S_OK;
        }
    }
    return D3DERR_INVALIDCALL;
}

std::string FileIncludes::PathOf(LPCVOID data) const {
    for (const File& f : open_) {
        if (f.bytes.data() == data) return f.path;
    }
    return {};
}

IncludeServer::IncludeServer(ID3DXInclude* handler, const std::string& sourceFile)
    : handler_(handler ? handler : &files_),
      fromMemory_(!handler && sourceFile.empty()),
      files_(sourceFile) {}

IncludeServer::~IncludeServer() {
    Reset();
}

IncludeAnswer IncludeServer::Open(const IncludeAsk& ask) {
    IncludeAnswer answer;
    const std::string cannot = "cannot open include file " + Quoted(ask.name) + ": ";
    if (fromMemory_) {
        answer.bytes = cannot +
                       "a shader compiled from memory opens its includes only through "
                       "an ID3DXInclude";
        return answer;
    }
    if (ask.parent > data_.size() || ask.type > kIncludeSystem) {
        answer.bytes = cannot + "the compiler asked for it from a file it never opened";
        return answer;
    }
    const std::size_t depth = ask.parent == 0 ? 1 : depth_[ask.parent - 1] + 1;
    if (depth > kMaxIncludeDepth || data_.size() >= kMaxIncludes) {
        answer.bytes = cannot + "more than " + std::to_string(kMaxIncludeDepth) +
                       " files deep or " + std::to_string(kMaxIncludes) +
                       " files in all (does a file include itself?)";
        return answer;
    }
    LPCVOID data = nullptr;
    UINT bytes = 0;
    const HRESULT hr =
        handler_->Open(static_cast<D3DXINCLUDE_TYPE>(ask.type), ask.name.c_str(),
                       ask.parent == 0 ? nullptr : data_[ask.parent - 1], &data, &bytes);
    if (FAILED(hr)) {
        answer.bytes =
            cannot + (handler_ == &files_ ? files_.Why()
                                          : "the ID3DXInclude handler failed (" + HexOf(hr) + ")");
        return answer;
    }
    const char* why = !data && bytes             ? "the ID3DXInclude handler gave no bytes"
                      : bytes > kMaxIncludeBytes ? "it is over 4 MiB"
                      : totalBytes_ + bytes > kMaxIncludedBytes
                          ? "the shader's included files are over 32 MiB together"
                          : nullptr;
    if (why) {
        handler_->Close(data);
        answer.bytes = cannot + why;
        return answer;
    }
    totalBytes_ += bytes;
    data_.push_back(data);
    depth_.push_back(depth);
    answer.ok = true;
    answer.id = static_cast<std::uint32_t>(data_.size());
    if (bytes) answer.bytes.assign(static_cast<const char*>(data), bytes);
    // Messages name a file by the path it was read from, or by its #include's name.
    answer.shownName = NameForMessage(handler_ == &files_ ? files_.PathOf(data) : ask.name);
    const Digest digest = Sha256Of(answer.bytes);
    recorded_.push_back({ask.type, ask.parent, ask.name,
                         std::string(reinterpret_cast<const char*>(digest.data()), digest.size())});
    return answer;
}

bool IncludeServer::Unchanged(const std::vector<IncludedFile>& recorded) {
    Reset();
    bool same = true;
    for (const IncludedFile& file : recorded) {
        const IncludeAnswer answer = Open({file.type, file.parent, file.name});
        if (!answer.ok || recorded_.back() != file) {
            same = false;
            break;
        }
    }
    Reset();
    return same;
}

void IncludeServer::Reset() {
    for (auto d = data_.rbegin(); d != data_.rend(); ++d) handler_->Close(*d);
    data_.clear();
    depth_.clear();
    recorded_.clear();
    totalBytes_ = 0;
}

}  // namespace d3dx
