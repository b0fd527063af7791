// Replays fuzz targets over their corpora, without libFuzzer: every file of
// a target's corpus folder goes through the harness once, as the fuzzer
// would give it. A fault in a reader stops the program through the
// sanitizers (or the harness's own trap) with the input's name printed
// first; a corpus folder that is missing or holds no file is a failure too,
// since a target that replays nothing guards nothing.
//
//   replay --list          the targets, one a line
//   replay <target>...     runs the named targets (all of them without a name)
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "replay.h"

namespace fs = std::filesystem;
using zk::fuzz::Target;

namespace {

const Target *find(const char *name)
{
    for (size_t k = 0; k < zk::fuzz::targetCount; ++k)
        if (std::strcmp(zk::fuzz::targets[k].name, name) == 0) return &zk::fuzz::targets[k];
    return nullptr;
}

bool run(const Target &t, int argc, char **argv)
{
    std::error_code ec;
    std::vector<fs::path> inputs;
    for (fs::recursive_directory_iterator it(t.corpus, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) inputs.push_back(it->path());
    if (ec) {
        std::fprintf(stderr, "%s: corpus %s unreadable: %s\n", t.name, t.corpus, ec.message().c_str());
        return false;
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "%s: corpus %s holds no input\n", t.name, t.corpus);
        return false;
    }
    std::sort(inputs.begin(), inputs.end());
    if (t.init) t.init(&argc, &argv);
    for (const fs::path &p : inputs) {
        std::ifstream in(p, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "%s: cannot read %s\n", t.name, p.c_str());
            return false;
        }
        std::fprintf(stderr, "%s: %s (%zu bytes)\n", t.name, p.c_str(), bytes.size());
        // A copy of exactly the input's size, so that a read past its end
        // is seen, as libFuzzer gives it.
        auto *data = new uint8_t[bytes.size()];
        std::copy(bytes.begin(), bytes.end(), data);
        t.entry(data, bytes.size());
        delete[] data;
    }
    std::fprintf(stderr, "%s: %zu inputs replayed\n", t.name, inputs.size());
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (size_t k = 0; k < zk::fuzz::targetCount; ++k) std::printf("%s\n", zk::fuzz::targets[k].name);
        return 0;
    }
    bool ok = true;
    if (argc == 1) {
        for (size_t k = 0; k < zk::fuzz::targetCount; ++k) ok = run(zk::fuzz::targets[k], argc, argv) && ok;
        return ok ? 0 : 1;
    }
    for (int a = 1; a < argc; ++a) {
        const Target *t = find(argv[a]);
        if (!t) {
            std::fprintf(stderr, "no fuzz target %s\n", argv[a]);
            ok = false;
            continue;
        }
        ok = run(*t, argc, argv) && ok;
    }
    return ok ? 0 : 1;
}
