// The program's side of #include, which the compile worker asks for each included file: opened
// through the caller's ID3DXInclude where there is one; else found beside the file that includes
// it, then in the current folder, with names read as Windows read them (file_names.h). A shader
// from memory without a handler has no folder: its #include is an error, as in D3DX. What is
// opened stays open (the handler's data valid as pParentData) until the compile is over, and is
// recorded, with a digest of its bytes, for the compile cache.
#pragma once

#include <list>
#include <map>
#include <string>
#include <vector>

#include "platform/d3dx/hlsl/compiler.h"

namespace d3dx {

// The handler D3DX uses where the caller gives none and the shader is a file; `searchDirs` are
// looked in after the including file's folder and before the current one (tessaline-compile's
// -I).
class FileIncludes final : public ID3DXInclude {
  public:
    explicit FileIncludes(std::string sourceFile, std::vector<std::string> searchDirs = {})
        : sourceFile_(std::move(sourceFile)), searchDirs_(std::move(searchDirs)) {}
    ~FileIncludes() override = default;
    HRESULT Open(D3DXINCLUDE_TYPE IncludeType, LPCSTR pFileName, LPCVOID pParentData,
                 LPCVOID* ppData, UINT* pBytes) override;
    HRESULT Close(LPCVOID pData) override;
    // The path a file that Open handed back was read from.
    std::string PathOf(LPCVOID data) const;
    // Why the last Open failed.
    const std::string& Why() const { return why_; }

  private:
    struct File {
        std::string path;
        std::string bytes;
    };
    std::string sourceFile_;
    std::vector<std::string> searchDirs_;
    std::list<File> open_;
    std::string why_;
};

class IncludeServer {
  public:
    // `sourceFile`: the shader's file, empty for a shader from memory.
    IncludeServer(ID3DXInclude* handler, const std::string& sourceFile);
    ~IncludeServer();
    IncludeServer(const IncludeServer&) = delete;
    IncludeServer& operator=(const IncludeServer&) = delete;

    IncludeAnswer Open(const IncludeAsk& ask);
    IncludeOpener Opener() {
        return [this](const IncludeAsk& ask) { return Open(ask); };
    }
    // The files opened since the last Reset, in order.
    const std::vector<IncludedFile>& Opened() const { return recorded_; }
    // Whether these files, opened again in their order, hold the same bytes now: the compile
    // cache's check of an entry. Closes them again.
    bool Unchanged(const std::vector<IncludedFile>& recorded);
    // Closes every open file (in the reverse order of opening) and forgets them.
    void Reset();

  private:
    ID3DXInclude* handler_;  // the caller's, or files_
    bool fromMemory_;
    FileIncludes files_;
    std::vector<LPCVOID> data_;  // by file number - 1
    std::vector<std::size_t> depth_;
    std::vector<IncludedFile> recorded_;
    std::size_t totalBytes_ = 0;
};

}  // namespace d3dx
