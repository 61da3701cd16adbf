// The compile cache: an entry answers only its own request by its own compiler, a damaged entry
// is a miss, the least recently used go first, and D3DXCompileShaderFromFileA takes a kept
// compile instead of running the compiler, but never a failed one.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/d3dx/hlsl/compile_cache.h"
#include "platform/d3dx/hlsl/compiler.h"
#include "platform/d3dx/hlsl/sha256.h"
#include "platform/record/record_platform.h"
#include "tests/test_files.h"

namespace {

constexpr char kPixelShader[] = R"(
sampler2D coat;
float4 ps_main(float2 uv : TEXCOORD0) : COLOR0 { return tex2D(coat, uv) * 0.5; }
)";

d3dx::CompileRequest Request() {
    d3dx::CompileRequest r;
    r.source = "float4 ps_main() : COLOR0 { return 1; }";
    r.fileName = "pixel.psh";
    r.entry = "ps_main";
    r.profile = "ps_2_0";
    r.defines = {{"TINT", "1"}};
    return r;
}

d3dx::CompileResult Result() {
    d3dx::CompileResult r;
    r.ok = true;
    r.code = {0xFFFF0200u, 0x12345678u, 0x0000FFFFu};
    r.errors = "pixel.psh(1,1): warning: a warning kept with the code\n";
    return r;
}

// The cache's files but its key.
std::vector<std::filesystem::path> Entries(const std::string& dir) {
    std::vector<std::filesystem::path> out;
    if (!std::filesystem::exists(dir)) return out;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        if (e.path().filename() != "key") out.push_back(e.path());
    }
    return out;
}

class CompileCache : public ::testing::Test {
  protected:
    void SetUp() override {
        d3dx::SetCompilerIdentityForTests("compiler A");
        d3dx::UseCompileCache(dir_.Path("cache"));
    }
    void TearDown() override {
        d3dx::UseCompileCache("");
        d3dx::ResetCompilerIdentityForTests();
        d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::None);
    }
    bool Hits(const d3dx::CompileRequest& request, d3dx::CompileResult* found = nullptr) {
        d3dx::CompileResult result;
        const bool hit = d3dx::LookUpCompile(request, result);
        if (found) *found = result;
        return hit;
    }
    std::string Cache() const { return dir_.Path("cache"); }

    test::TempDir dir_;
};

TEST_F(CompileCache, AnEntryAnswersOnlyItsOwnRequestByItsOwnCompiler) {
    d3dx::StoreCompile(Request(), Result());
    d3dx::CompileResult found;
    ASSERT_TRUE(Hits(Request(), &found));
    EXPECT_TRUE(found.ok);
    EXPECT_EQ(found.code, Result().code);
    EXPECT_EQ(found.errors, Result().errors);

    const std::vector<std::pair<const char*, std::function<void(d3dx::CompileRequest&)>>> changes =
        {
            {"one character of the source", [](auto& r) { r.source[10] = 'X'; }},
            {"a byte added to the source", [](auto& r) { r.source += ' '; }},
            {"the file name", [](auto& r) { r.fileName = "other.psh"; }},
            {"the entry point", [](auto& r) { r.entry = "main"; }},
            {"the profile", [](auto& r) { r.profile = "ps_3_0"; }},
            {"a define's value", [](auto& r) { r.defines[0].second = "2"; }},
            {"a define's name", [](auto& r) { r.defines[0].first = "TINTS"; }},
            {"one more define", [](auto& r) { r.defines.emplace_back("X", ""); }},
            {"no defines", [](auto& r) { r.defines.clear(); }},
            // Field boundaries are part of the key: "ps_main" + "ps_2_0" is not "ps_mainp" + ...
            {"bytes moved from one field to the next",
             [](auto& r) {
                 r.entry = "ps_mainp";
                 r.profile = "s_2_0";
             }},
        };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        d3dx::CompileRequest other = Request();
        change(other);
        EXPECT_FALSE(Hits(other));
    }
    d3dx::SetCompilerIdentityForTests("compiler B");
    EXPECT_FALSE(Hits(Request())) << "another compiler's entry was taken";
    d3dx::SetCompilerIdentityForTests("");
    EXPECT_FALSE(Hits(Request())) << "a compiler without an identity took an entry";
}

TEST_F(CompileCache, NothingIsKeptWithoutADirectoryAnIdentityOrASuccess) {
    d3dx::UseCompileCache("");
    d3dx::StoreCompile(Request(), Result());
    EXPECT_FALSE(Hits(Request()));
    d3dx::UseCompileCache(Cache());
    EXPECT_TRUE(Entries(Cache()).empty());

    d3dx::SetCompilerIdentityForTests("");
    d3dx::StoreCompile(Request(), Result());
    d3dx::SetCompilerIdentityForTests("compiler A");
    d3dx::CompileResult failed = Result();
    failed.ok = false;
    d3dx::StoreCompile(Request(), failed);
    EXPECT_TRUE(Entries(Cache()).empty());
    EXPECT_FALSE(Hits(Request()));
}

TEST_F(CompileCache, ARelativeDirectoryIsTheOneNamedWhenTheCacheWasTurnedOn) {
    char* before = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir_.path().c_str()), 0);
    d3dx::UseCompileCache("relative/cache");
    ASSERT_EQ(chdir("/"), 0);
    d3dx::StoreCompile(Request(), Result());
    EXPECT_EQ(Entries(dir_.Path("relative/cache")).size(), 1u);
    EXPECT_TRUE(Hits(Request()));
    ASSERT_EQ(chdir(before), 0);
    std::free(before);
    struct stat info {};
    ASSERT_EQ(stat(dir_.Path("relative/cache").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "the cache is the user's alone";
}

TEST_F(CompileCache, ADamagedOrForeignEntryIsAMiss) {
    d3dx::StoreCompile(Request(), Result());
    const std::vector<std::filesystem::path> entries = Entries(Cache());
    ASSERT_EQ(entries.size(), 1u);
    const std::string path = entries[0];
    const std::string whole = test::ReadFile(path);
    // The layout written down: magic, four length-prefixed fields, a 32-byte keyed tag.
    const std::string magic = "tessaline compile cache 3\n";
    ASSERT_EQ(whole.compare(0, magic.size(), magic), 0);
    ASSERT_GT(whole.size(), magic.size() + 4 * 4 + 32);

    const std::vector<std::pair<const char*, std::string>> damages = {
        {"empty", ""},
        {"the magic alone", magic},
        {"cut in half", whole.substr(0, whole.size() / 2)},
        {"without its last byte", whole.substr(0, whole.size() - 1)},
        {"a byte more", whole + "x"},
        {"a source byte flipped", whole.substr(0, whole.size() / 2) +
                                      static_cast<char>(whole[whole.size() / 2] ^ 1) +
                                      whole.substr(whole.size() / 2 + 1)},
        {"the tag changed",
         whole.substr(0, whole.size() - 1) + static_cast<char>(whole.back() ^ 0x80)},
        {"another version's magic", "tessaline compile cache 2\n" + whole.substr(magic.size())},
    };
    for (const auto& [what, bytes] : damages) {
        SCOPED_TRACE(what);
        test::WriteFile(path, bytes);
        EXPECT_FALSE(Hits(Request()));
    }
    // Something not a file in the entry's place: refused without blocking on it.
    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_FALSE(Hits(Request()));
    // A directory in its place: nothing is kept, and no part is left behind.
    std::filesystem::remove(path);
    std::filesystem::create_directories(path + "/inside");
    d3dx::StoreCompile(Request(), Result());
    EXPECT_FALSE(Hits(Request()));
    EXPECT_EQ(Entries(Cache()).size(), 1u) << "a part was left behind";
    // A new store replaces what is there.
    std::filesystem::remove_all(path);
    test::WriteFile(path, whole.substr(0, 40));
    d3dx::StoreCompile(Request(), Result());
    EXPECT_TRUE(Hits(Request()));
    EXPECT_EQ(Entries(Cache()).size(), 1u) << "a part was left behind";
}

TEST_F(CompileCache, TheLeastRecentlyUsedEntriesGoFirst) {
    const auto nth = [](int i) {
        d3dx::CompileRequest r = Request();
        r.source += "// entry " + std::to_string(i) + ".";
        return r;
    };
    for (int i = 0; i < d3dx::kCompileCacheEntries; ++i) d3dx::StoreCompile(nth(i), Result());
    ASSERT_EQ(Entries(Cache()).size(), static_cast<std::size_t>(d3dx::kCompileCacheEntries));
    // Times a second apart, the first entry the oldest; then the first is used.
    const auto setAge = [&](int i, int secondsAgo) {
        // The entry's name is not known here; find it as the one file that answers nth(i).
        for (const auto& path : Entries(Cache())) {
            const std::string bytes = test::ReadFile(path);
            if (bytes.find(nth(i).source) == std::string::npos) continue;
            const timespec times[2] = {{time(nullptr) - secondsAgo, 0},
                                       {time(nullptr) - secondsAgo, 0}};
            utimensat(AT_FDCWD, path.c_str(), times, 0);
            return true;
        }
        return false;
    };
    for (int i = 0; i < d3dx::kCompileCacheEntries; ++i) ASSERT_TRUE(setAge(i, 10000 - i)) << i;
    ASSERT_TRUE(Hits(nth(0)));
    d3dx::StoreCompile(nth(d3dx::kCompileCacheEntries), Result());
    EXPECT_EQ(Entries(Cache()).size(), static_cast<std::size_t>(d3dx::kCompileCacheEntries));
    EXPECT_TRUE(Hits(nth(0))) << "the entry just used was evicted";
    EXPECT_FALSE(Hits(nth(1))) << "the oldest entry was kept";
    EXPECT_TRUE(Hits(nth(2)));
    EXPECT_TRUE(Hits(nth(d3dx::kCompileCacheEntries)));
}

TEST_F(CompileCache, TheDirectoryFollowsTheEnvironment) {
    struct Case {
        const char* chosen;  // TESSALINE_COMPILE_CACHE, null: unset
        const char* xdg;
        const char* home;
        std::string expected;
    };
    const Case cases[] = {
        {"/somewhere/cache", "/xdg", "/home/u", "/somewhere/cache"},
        {"", "/xdg", "/home/u", ""},
        {"off", "/xdg", "/home/u", ""},
        {nullptr, "/xdg", "/home/u", "/xdg/tessaline/compiles"},
        {nullptr, "relative", "/home/u", "/home/u/.cache/tessaline/compiles"},
        {nullptr, nullptr, "/home/u", "/home/u/.cache/tessaline/compiles"},
        {nullptr, nullptr, nullptr, ""},
    };
    const auto saved = [](const char* name) -> std::optional<std::string> {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string>(v) : std::nullopt;
    };
    const char* names[] = {"TESSALINE_COMPILE_CACHE", "XDG_CACHE_HOME", "HOME"};
    std::optional<std::string> before[3];
    for (int i = 0; i < 3; ++i) before[i] = saved(names[i]);
    for (const Case& c : cases) {
        const char* values[] = {c.chosen, c.xdg, c.home};
        for (int i = 0; i < 3; ++i) {
            if (values[i])
                setenv(names[i], values[i], 1);
            else
                unsetenv(names[i]);
        }
        EXPECT_EQ(d3dx::DefaultCompileCacheDir(), c.expected)
            << (c.chosen ? c.chosen : "(unset)") << " " << (c.xdg ? c.xdg : "(unset)") << " "
            << (c.home ? c.home : "(unset)");
    }
    for (int i = 0; i < 3; ++i) {
        if (before[i])
            setenv(names[i], before[i]->c_str(), 1);
        else
            unsetenv(names[i]);
    }
}

// The identity is the build IDs that the ELF notes hold, as binutils reads them: the compile
// worker's (the compiler runs there) and SPIRV-Cross's.
TEST_F(CompileCache, TheCompilerIsIdentifiedByItsBuildIds) {
    d3dx::ResetCompilerIdentityForTests();
    const std::string identity = d3dx::CompilerIdentity();
    ASSERT_FALSE(identity.empty()) << "no build ID found: the cache would keep nothing";
    if (!std::filesystem::exists("/usr/bin/readelf")) GTEST_SKIP() << "readelf is not installed";
    const auto buildId = [](const std::string& object) {
        const test::ProcessRun run = test::RunProcess("/usr/bin/readelf", {"-n", object}, "/");
        const std::size_t at = run.out.find("Build ID: ");
        if (at == std::string::npos) return std::string();
        return run.out.substr(at + 10, run.out.find('\n', at) - at - 10);
    };
    std::string spirvCross;
    std::istringstream maps(test::ReadFile("/proc/self/maps"));
    for (std::string line; std::getline(maps, line) && spirvCross.empty();) {
        const std::size_t at = line.find('/');
        if (at != std::string::npos &&
            line.find("libspirv-cross-c-shared", at) != std::string::npos)
            spirvCross = line.substr(at);
    }
    ASSERT_FALSE(spirvCross.empty()) << "SPIRV-Cross is not loaded";
    ASSERT_FALSE(d3dx::CompileWorkerPath().empty());
    EXPECT_EQ(identity, "compiler " + buildId(d3dx::CompileWorkerPath()) + " spirv-cross " +
                            buildId(spirvCross));
}

TEST_F(CompileCache, ACompileIsTakenFromTheCacheButAFailureNever) {
    record::InstallRecordingPlatform();
    d3dx::ResetCompilerIdentityForTests();
    const std::string file = dir_.Path("pixel.psh");
    const auto compile = [&](std::string* errors = nullptr) {
        ID3DXBuffer* code = nullptr;
        ID3DXBuffer* messages = nullptr;
        const HRESULT hr = D3DXCompileShaderFromFileA(file.c_str(), nullptr, nullptr, "ps_main",
                                                      "ps_2_0", 0, &code, &messages, nullptr);
        std::string bytes;
        if (code) {
            bytes.assign(static_cast<const char*>(code->GetBufferPointer()), code->GetBufferSize());
            code->Release();
        }
        if (errors)
            *errors = messages ? static_cast<const char*>(messages->GetBufferPointer()) : "";
        if (messages) messages->Release();
        return std::pair{hr, bytes};
    };
    test::WriteFile(file, kPixelShader);
    const auto [hr, code] = compile();
    ASSERT_EQ(hr, D3D_OK);
    ASSERT_FALSE(code.empty());

    // With a compiler that crashes, the same request still compiles, to the same code...
    d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::Crash);
    const auto [again, kept] = compile();
    EXPECT_EQ(again, D3D_OK);
    EXPECT_EQ(kept, code);
    // ...and a changed source does not.
    test::WriteFile(file, std::string(kPixelShader) + "// changed\n");
    std::string errors;
    EXPECT_EQ(compile(&errors).first, E_FAIL);
    EXPECT_NE(errors.find("crashed"), std::string::npos) << errors;

    // A failed compile is compiled again each time, so that its messages are the compiler's.
    d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::None);
    test::WriteFile(file, "float4 ps_main() : COLOR0 { return undefined; }");
    EXPECT_EQ(compile(&errors).first, E_FAIL);
    EXPECT_NE(errors.find("undefined"), std::string::npos) << errors;
    d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::Crash);
    EXPECT_EQ(compile(&errors).first, E_FAIL);
    EXPECT_NE(errors.find("crashed"), std::string::npos) << errors;
}

}  // namespace

namespace {

// The cache as one test sees it after a store and a lookup: whether it kept and found the
// entry, and what it said on stderr.
struct Seen {
    bool kept = false, found = false;
    std::string said;
};

Seen StoreAndLookUp(const std::string& cache) {
    Seen seen;
    testing::internal::CaptureStderr();
    d3dx::UseCompileCache(cache);
    d3dx::StoreCompile(Request(), Result());
    d3dx::CompileResult result;
    seen.found = d3dx::LookUpCompile(Request(), result);
    d3dx::StoreCompile(Request(), Result());  // said once, not again
    seen.said = testing::internal::GetCapturedStderr();
    for (const auto& path : Entries(cache)) seen.kept |= path.extension() == ".entry";
    return seen;
}

void WriteKey(const std::string& cache, mode_t mode, std::size_t bytes) {
    std::filesystem::create_directories(cache);
    chmod(cache.c_str(), 0700);
    test::WriteFile(cache + "/key", std::string(bytes, 'k'));
    chmod((cache + "/key").c_str(), mode);
}

// The old layout's checksum, FNV-1a over all that precedes it.
std::uint64_t Fnv1a(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

void PutField(std::string& out, const std::string& field) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((field.size() >> (8 * i)) & 0xFF);
    out += field;
}

// An entry of the old layout for Request(), with a checksum that holds, answering with `code`.
std::string OldStyleEntry(const std::string& identity, const std::string& code) {
    const d3dx::CompileRequest r = Request();
    std::string key;
    for (const std::string& field :
         {identity, r.fileName, r.entry, r.profile, std::to_string(r.defines.size()),
          r.defines[0].first, r.defines[0].second, r.source})
        PutField(key, field);
    std::string entry = "tessaline compile cache 1\n";
    PutField(entry, key);
    PutField(entry, "");
    PutField(entry, code);
    const std::uint64_t sum = Fnv1a(entry);
    for (int i = 0; i < 8; ++i) entry += static_cast<char>((sum >> (8 * i)) & 0xFF);
    return entry;
}

}  // namespace

// The published test vectors: FIPS 180-2's examples and RFC 4231's test cases 1, 2 and 6.
TEST(CacheDigests, AreSha256AndHmacSha256) {
    const auto hex = [](const d3dx::Digest& d) {
        std::string out;
        for (const std::uint8_t b : d) {
            out += "0123456789abcdef"[b >> 4];
            out += "0123456789abcdef"[b & 0xF];
        }
        return out;
    };
    const std::pair<std::string, const char*> sha[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [message, digest] : sha) EXPECT_EQ(hex(d3dx::Sha256Of(message)), digest);
    struct Hmac {
        std::string key, message;
        const char* tag;
    };
    const Hmac hmac[] = {
        {std::string(20, '\x0b'), "Hi There",
         "b0344c61d8db38535ca8afceaf0bf12b881dc200c9833da726e9376c2e32cff7"},
        {"Jefe", "what do ya want for nothing?",
         "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843"},
        {std::string(131, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First",
         "60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54"},
    };
    for (const Hmac& h : hmac) EXPECT_EQ(hex(d3dx::HmacSha256(h.key, h.message)), h.tag);
}

TEST_F(CompileCache, AHostileCacheIsOffOrMisses) {
    struct Case {
        const char* what;
        std::function<void(const std::string& cache)> make;
        const char* said;  // the one line's reason; null: the cache works, the entry is a miss
    };
    const std::string elsewhere = dir_.Path("elsewhere");
    const Case cases[] = {
        {"writable by its group",
         [](const std::string& c) {
             std::filesystem::create_directories(c);
             chmod(c.c_str(), 0770);
         },
         "it is writable by its group"},
        {"writable by others",
         [](const std::string& c) {
             std::filesystem::create_directories(c);
             chmod(c.c_str(), 0703);
         },
         "it is writable by others"},
        {"a symbolic link to a directory of ours",
         [&](const std::string& c) {
             std::filesystem::create_directories(elsewhere);
             chmod(elsewhere.c_str(), 0700);
             std::filesystem::create_directory_symlink(elsewhere, c);
         },
         "it is a symbolic link"},
        {"a key others may read", [](const std::string& c) { WriteKey(c, 0644, 32); },
         "not mode 0600"},
        {"a key of the wrong size", [](const std::string& c) { WriteKey(c, 0600, 31); },
         "not 32 bytes"},
        {"a key that is a symbolic link",
         [&](const std::string& c) {
             WriteKey(elsewhere, 0600, 32);
             std::filesystem::create_directories(c);
             chmod(c.c_str(), 0700);
             std::filesystem::create_symlink(elsewhere + "/key", c + "/key");
         },
         "its key is a symbolic link"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string cache = dir_.Path("hostile");
        std::filesystem::remove_all(cache);
        std::filesystem::remove_all(elsewhere);
        c.make(cache);
        const Seen seen = StoreAndLookUp(cache);
        EXPECT_FALSE(seen.kept);
        EXPECT_FALSE(seen.found);
        EXPECT_TRUE(Entries(elsewhere).empty() ||
                    (Entries(elsewhere).size() == 1 && Entries(elsewhere)[0].filename() == "key"));
        EXPECT_EQ(std::count(seen.said.begin(), seen.said.end(), '\n'), 1) << seen.said;
        EXPECT_NE(seen.said.find("the compile cache " + cache + " is off: "), std::string::npos)
            << seen.said;
        EXPECT_NE(seen.said.find(c.said), std::string::npos) << seen.said;
    }
}

TEST_F(CompileCache, AForgedOrCopiedEntryIsAMiss) {
    // Two caches, two keys: the same request kept in each with different code.
    d3dx::CompileResult other = Result();
    other.code[1] = 0xBAD;
    d3dx::UseCompileCache(dir_.Path("theirs"));
    d3dx::StoreCompile(Request(), other);
    d3dx::UseCompileCache(Cache());
    d3dx::StoreCompile(Request(), Result());
    ASSERT_EQ(Entries(Cache()).size(), 1u);
    const std::string ours = Entries(Cache())[0];
    const std::string theirs = Entries(dir_.Path("theirs"))[0];
    EXPECT_NE(test::ReadFile(dir_.Path("theirs/key")), test::ReadFile(Cache() + "/key"));
    struct stat key {};
    ASSERT_EQ(stat((Cache() + "/key").c_str(), &key), 0);
    EXPECT_EQ(key.st_mode & 0777, 0600u);

    const std::vector<std::pair<const char*, std::string>> forgeries = {
        {"copied from a cache with another key", test::ReadFile(theirs)},
        {"the old layout with a checksum that holds",
         OldStyleEntry("compiler A", std::string("\x00\x02\xFF\xFF\xAD\x0B\x00\x00", 8))},
    };
    for (const auto& [what, bytes] : forgeries) {
        SCOPED_TRACE(what);
        test::WriteFile(ours, bytes);
        d3dx::CompileResult found;
        EXPECT_FALSE(Hits(Request(), &found));
        EXPECT_NE(found.code, other.code);
    }
    d3dx::StoreCompile(Request(), Result());
    EXPECT_TRUE(Hits(Request())) << "the cache works with its own entries";
}

TEST_F(CompileCache, ADirectoryOrKeyOfAnotherUserTurnsItOff) {
    if (geteuid() != 0) GTEST_SKIP() << "giving a directory to another user needs root";
    constexpr uid_t kNobody = 65534;
    const std::string cache = dir_.Path("theirs");
    std::filesystem::create_directories(cache);
    chmod(cache.c_str(), 0700);
    ASSERT_EQ(chown(cache.c_str(), kNobody, kNobody), 0);
    Seen seen = StoreAndLookUp(cache);
    EXPECT_FALSE(seen.kept || seen.found);
    EXPECT_NE(seen.said.find("it belongs to another user"), std::string::npos) << seen.said;

    const std::string keyed = dir_.Path("their-key");
    WriteKey(keyed, 0600, 32);
    ASSERT_EQ(chown((keyed + "/key").c_str(), kNobody, kNobody), 0);
    seen = StoreAndLookUp(keyed);
    EXPECT_FALSE(seen.kept || seen.found);
    EXPECT_NE(seen.said.find("it belongs to another user"), std::string::npos) << seen.said;
}

TEST_F(CompileCache, AChangedIncludedFileCompilesAgain) {
    record::InstallRecordingPlatform();
    d3dx::ResetCompilerIdentityForTests();
    const std::map<std::string, std::string> files = {
        {"pixel.psh", "#include \"colour.fxh\"\nfloat4 ps_main() : COLOR0 { return COLOUR; }\n"},
        {"colour.fxh", "#include \"inner.fxh\"\n#define COLOUR float4(0, GREEN, 0, 1)\n"},
        {"inner.fxh", "#define GREEN 1\n"},
    };
    const auto restore = [&] {
        for (const auto& [name, text] : files) test::WriteFile(dir_.Path(name), text);
    };
    const auto compile = [&] {
        ID3DXBuffer* code = nullptr;
        const HRESULT hr =
            D3DXCompileShaderFromFileA(dir_.Path("pixel.psh").c_str(), nullptr, nullptr, "ps_main",
                                       "ps_2_0", 0, &code, nullptr, nullptr);
        if (code) code->Release();
        return hr;
    };
    restore();
    ASSERT_EQ(compile(), D3D_OK);
    // From here a compile that runs the compiler crashes: D3D_OK is a hit.
    d3dx::SetCompilerFaultForTests(d3dx::CompilerFault::Crash);
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"nothing", [] {}},
        {"the included file",
         [&] { test::WriteFile(dir_.Path("colour.fxh"), "#define COLOUR 1\n"); }},
        {"the file it includes",
         [&] { test::WriteFile(dir_.Path("inner.fxh"), "#define GREEN 0\n"); }},
        {"the file it includes, removed", [&] { std::filesystem::remove(dir_.Path("inner.fxh")); }},
    };
    testing::internal::CaptureStderr();
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        change();
        EXPECT_EQ(compile(), std::string(what) == "nothing" ? D3D_OK : E_FAIL);
        restore();
        EXPECT_EQ(compile(), D3D_OK) << "the unchanged files hit again";
    }
    testing::internal::GetCapturedStderr();
}
