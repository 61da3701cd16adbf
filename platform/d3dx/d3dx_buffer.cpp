// ID3DXBuffer: a block of bytes handed out by the D3DX functions, and the lookup of a device's
// D3DX services.
#include <cstring>
#include <memory>

#include "platform/core/ref_counted.h"
#include "platform/d3dx/device_services.h"

namespace d3dx {
namespace {

class Buffer : public platform::RefCounted<ID3DXBuffer> {
  public:
    // Eight-byte aligned, so that the records inside can be read in place; zeroed when no data
    // is given.
    Buffer(const void* data, std::size_t size)
        : bytes_(new std::uint64_t[(size + 7) / 8]()), size_(size) {
        if (data && size) std::memcpy(bytes_.get(), data, size);
    }
    LPVOID GetBufferPointer() override { return bytes_.get(); }
    DWORD GetBufferSize() override { return static_cast<DWORD>(size_); }

  private:
    std::unique_ptr<std::uint64_t[]> bytes_;
    std::size_t size_;
};

}  // namespace

ID3DXBuffer* CreateBuffer(const void* data, std::size_t size) {
    return new Buffer(data, size);
}

DeviceServices* ServicesOf(IDirect3DDevice9* device) {
    return dynamic_cast<DeviceServices*>(device);
}

}  // namespace d3dx
