// Feeds arbitrary bytes to the engine as a database file: opens them write-protected and
// walks everything a copy would read; when they open, walks a copy of them the way an import
// writes its target. Only engine::Error may come out; a crash, a sanitizer report, any other
// exception or a changed input file is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>

#include "WalkDatabase.h"
#include "WalkFault.h"
#include "WalkForWriting.h"
#include "engine/DbServer.h"
#include "engine/sqlite/SqliteEngine.h"

namespace {

namespace fs = std::filesystem;

// One scratch folder per process under $TMPDIR, reused by every input and removed at exit.
class Scratch {
public:
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "vdb-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        m_folder = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    // A path in the folder with nothing at it and no journal beside it.
    std::string freshPath(const std::string& name) const {
        const fs::path path = m_folder / name;
        std::error_code ignored;
        fs::remove(path, ignored);
        fs::remove(path.string() + "-journal", ignored);
        return path.string();
    }

private:
    fs::path m_folder;
};

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Scratch scratch;
    // A server of its own per input, so that nothing one input leaves in it (remembered
    // logins) changes what the next one does: every finding reproduces from its file alone.
    const std::shared_ptr<engine::DbServer> server = engine::sqlite::createServer();

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string source = scratch.freshPath("quelle.vdb");
    writeFile(source, bytes);
    const vdbfuzz::WalkReport report = vdbfuzz::walkDatabase(*server, source);
    if (readFile(source) != bytes) {
        throw vdbfuzz::WalkFault("a write-protected open changed the file");
    }
    if (!report.opened()) return 0;

    const std::string target = scratch.freshPath("ziel.vdb");
    writeFile(target, bytes);
    vdbfuzz::walkForWriting(*server, target, scratch.freshPath("neu.vdb"));
    return 0;
}
