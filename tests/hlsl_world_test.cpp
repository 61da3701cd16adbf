// The real-world HLSL corpus (shared/hlsl-world): every entry point in its manifest, with the
// profile and defines its project compiles it with, through D3DXCompileShaderFromFileA and then
// created on the OpenGL device headless. This measures the compiler on code it was not written
// against; shared/hlsl-world/README.md says where the shaders come from.
//
// Failures are held to shared/hlsl-world/expected_failures.tsv both ways: an entry that fails
// and is not listed fails the test, and so does a listed entry that now passes, so that the list
// only shrinks and always says what fails today.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "tests/gl_fixture.h"

namespace {

const std::string kRoot = std::string(TESS_SOURCE_DIR) + "/shared/hlsl-world/";

struct Entry {
    std::string id, file, entry, profile, project;
    std::vector<std::pair<std::string, std::string>> defines;
};

struct Outcome {
    std::vector<DWORD> code;  // empty when the compile failed
    std::string error;        // the first error line, without the corpus's folder
};

// A tab-separated file's lines after its header, each split into its columns.
std::vector<std::vector<std::string>> ReadTable(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::vector<std::string> columns;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) columns.push_back(field);
        rows.push_back(columns);
    }
    return rows;
}

std::vector<Entry> ReadManifest() {
    std::vector<Entry> entries;
    for (const auto& row : ReadTable(kRoot + "manifest.tsv")) {
        if (row.size() < 7) {
            ADD_FAILURE() << "manifest line with " << row.size() << " columns";
            continue;
        }
        Entry e{row[0], row[1], row[2], row[3], row[5], {}};
        if (row[4] != "-") {
            std::istringstream list(row[4]);
            for (std::string define; std::getline(list, define, ';');) {
                const std::size_t equals = define.find('=');
                e.defines.emplace_back(define.substr(0, equals), equals == std::string::npos
                                                                     ? ""
                                                                     : define.substr(equals + 1));
            }
        }
        entries.push_back(e);
    }
    return entries;
}

std::string FirstError(const std::string& messages) {
    std::istringstream lines(messages);
    std::string first;
    for (std::string line; std::getline(lines, line);) {
        if (first.empty()) first = line;
        if (line.find(": error") != std::string::npos) {
            first = line;
            break;
        }
    }
    // Messages name files by their whole path; the corpus's folder differs between checkouts.
    for (std::size_t at; (at = first.find(kRoot)) != std::string::npos;)
        first.erase(at, kRoot.size());
    return first.empty() ? "(no message)" : first;
}

Outcome Compile(const Entry& e) {
    std::vector<D3DXMACRO> macros;
    for (const auto& [name, value] : e.defines) macros.push_back({name.c_str(), value.c_str()});
    macros.push_back({nullptr, nullptr});
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    // No constant table: the table's object naming is not for several threads at once.
    const HRESULT hr =
        D3DXCompileShaderFromFileA((kRoot + e.file).c_str(), macros.data(), nullptr,
                                   e.entry.c_str(), e.profile.c_str(), 0, &code, &errors, nullptr);
    Outcome out;
    if (SUCCEEDED(hr) && code) {
        const auto* words = static_cast<const DWORD*>(code->GetBufferPointer());
        out.code.assign(words, words + code->GetBufferSize() / sizeof(DWORD));
    } else {
        out.error = FirstError(errors ? static_cast<const char*>(errors->GetBufferPointer()) : "");
    }
    if (code) code->Release();
    if (errors) errors->Release();
    return out;
}

// Each compile runs in a child process; two at a time keep both cores of a small machine busy.
std::vector<Outcome> CompileAll(const std::vector<Entry>& entries) {
    std::vector<Outcome> outcomes(entries.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next++) < entries.size();) outcomes[i] = Compile(entries[i]);
    };
    testing::internal::CaptureStderr();  // the compiler's "HLSL:" lines; the failures print below
    std::thread other(work);
    work();
    other.join();
    testing::internal::GetCapturedStderr();
    return outcomes;
}

class HlslWorld : public test::Drawing {
  protected:
    // The device's word on compiled code: empty when it created the shader, else its first
    // error line (the OpenGL compiler's, which the device writes to stderr).
    std::string Create(const Entry& e, const std::vector<DWORD>& code) {
        testing::internal::CaptureStderr();
        HRESULT hr;
        bool made;
        if (e.profile[0] == 'v') {
            IDirect3DVertexShader9* shader = nullptr;
            hr = device->CreateVertexShader(code.data(), &shader);
            made = shader != nullptr;
            if (shader) shader->Release();
        } else {
            IDirect3DPixelShader9* shader = nullptr;
            hr = device->CreatePixelShader(code.data(), &shader);
            made = shader != nullptr;
            if (shader) shader->Release();
        }
        const std::string said = testing::internal::GetCapturedStderr();
        if (SUCCEEDED(hr) && made) return "";
        char text[64];
        std::snprintf(text, sizeof text,
                      "the device refused it (0x%08X): ", static_cast<unsigned>(hr));
        return text + FirstError(said);
    }
};

TEST_F(HlslWorld, EveryEntryPointIsCreatedOrAnExpectedFailure) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<Entry> entries = ReadManifest();
    ASSERT_FALSE(entries.empty());
    std::map<std::string, std::string> expected;  // id -> category
    for (const auto& row : ReadTable(kRoot + "expected_failures.tsv")) {
        ASSERT_GE(row.size(), 2u) << "expected_failures.tsv: " << (row.empty() ? "" : row[0]);
        expected[row[0]] = row[1];
    }
    std::set<std::string> ids;
    for (const Entry& e : entries) {
        EXPECT_TRUE(ids.insert(e.id).second) << "two manifest lines with the id " << e.id;
    }
    for (const auto& [id, category] : expected) {
        EXPECT_TRUE(ids.count(id))
            << "expected_failures.tsv names " << id << ", which the manifest does not have";
    }

    const std::vector<Outcome> outcomes = CompileAll(entries);
    std::map<std::string, std::pair<int, int>> byProject;  // created, all
    int created = 0;
    std::printf("\nFailures (id, first error line):\n");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        std::string error = outcomes[i].error;
        if (error.empty()) error = Create(e, outcomes[i].code);
        auto& [projectCreated, projectAll] = byProject[e.project];
        ++projectAll;
        if (error.empty()) {
            ++projectCreated;
            ++created;
            EXPECT_FALSE(expected.count(e.id))
                << e.id << " now compiles and is created: take it out of expected_failures.tsv";
            continue;
        }
        std::printf("  %s: %s\n", e.id.c_str(), error.c_str());
        EXPECT_TRUE(expected.count(e.id)) << e.id << " fails and is not expected to: " << error;
    }

    std::printf("\nEntry points that compile and are created, by project:\n");
    for (const auto& [project, counts] : byProject)
        std::printf("  %-18s %4d of %d\n", project.c_str(), counts.first, counts.second);
    std::map<std::string, int> byCategory;
    for (const auto& [id, category] : expected) ++byCategory[category];
    std::printf("Expected failures by category:");
    for (const auto& [category, count] : byCategory) std::printf(" %s %d", category.c_str(), count);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("\n%d of %zu entry points compile and are created (%.1f s)\n", created,
                entries.size(), seconds);
}

}  // namespace
