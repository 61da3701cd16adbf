// Build IDs from the ELF notes of loaded objects and of files (see build_id.h).
#include "platform/d3dx/hlsl/build_id.h"

#include <elf.h>
#include <link.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/d3dx/file_bytes.h"

namespace d3dx {
namespace {

std::string Hex(const unsigned char* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0xF];
    }
    return out;
}

// The GNU build ID among the notes of one PT_NOTE segment, in hex; empty when there is none.
std::string BuildIdNote(const char* at, const char* end, std::size_t align) {
    const auto round = [align](std::size_t n) { return (n + align - 1) / align * align; };
    while (static_cast<std::size_t>(end - at) >= sizeof(ElfW(Nhdr))) {
        ElfW(Nhdr) note;
        std::memcpy(&note, at, sizeof note);
        const char* name = at + sizeof note;
        const std::size_t left = static_cast<std::size_t>(end - name);
        if (round(note.n_namesz) > left || round(note.n_descsz) > left - round(note.n_namesz))
            return {};
        const char* desc = name + round(note.n_namesz);
        if (note.n_type == NT_GNU_BUILD_ID && note.n_namesz == 4 &&
            std::memcmp(name, "GNU", 4) == 0)
            return Hex(reinterpret_cast<const unsigned char*>(desc), note.n_descsz);
        at = desc + round(note.n_descsz);
    }
    return {};
}

bool HoldsAddress(const dl_phdr_info& info, std::uintptr_t address) {
    for (int i = 0; i < info.dlpi_phnum; ++i) {
        const ElfW(Phdr)& p = info.dlpi_phdr[i];
        const std::uintptr_t start = info.dlpi_addr + p.p_vaddr;
        if (p.p_type == PT_LOAD && address >= start && address < start + p.p_memsz) return true;
    }
    return false;
}

}  // namespace

std::string LoadedBuildId(const void* address) {
    struct Search {
        std::uintptr_t address;
        std::string id;
    } search{reinterpret_cast<std::uintptr_t>(address), {}};
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) {
            auto* s = static_cast<Search*>(data);
            if (!HoldsAddress(*info, s->address)) return 0;
            for (int i = 0; i < info->dlpi_phnum && s->id.empty(); ++i) {
                const ElfW(Phdr)& p = info->dlpi_phdr[i];
                if (p.p_type != PT_NOTE) continue;
                const char* at = reinterpret_cast<const char*>(info->dlpi_addr + p.p_vaddr);
                s->id = BuildIdNote(at, at + p.p_memsz, p.p_align == 8 ? 8 : 4);
            }
            return 1;
        },
        &search);
    return search.id;
}

std::string FileBuildId(const std::string& path) {
    RegularFile file;
    std::string error;
    if (!file.Open(path.c_str(), error)) return {};
    ElfW(Ehdr) header{};
    std::size_t got = 0;
    if (!file.ReadAt(0, reinterpret_cast<std::uint8_t*>(&header), sizeof header, got, error) ||
        got != sizeof header || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32) ||
        header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum > 256)
        return {};
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) p{};
        if (!file.ReadAt(header.e_phoff + i * sizeof p, reinterpret_cast<std::uint8_t*>(&p),
                         sizeof p, got, error) ||
            got != sizeof p)
            return {};
        if (p.p_type != PT_NOTE || p.p_filesz > 65536) continue;
        std::vector<char> notes(p.p_filesz);
        if (!file.ReadAt(p.p_offset, reinterpret_cast<std::uint8_t*>(notes.data()), notes.size(),
                         got, error) ||
            got != notes.size())
            return {};
        std::string id =
            BuildIdNote(notes.data(), notes.data() + notes.size(), p.p_align == 8 ? 8 : 4);
        if (!id.empty()) return id;
    }
    return {};
}

}  // namespace d3dx
